#include "tools/joiner/joiner_text_fit.h"

#include <QFontMetrics>
#include <QLabel>

#include "widgets/zor_button.h"

namespace kestrel::tools::joiner {
namespace {

QFont sized(const QWidget* widget, int pt) {
    QFont font = widget->font();
    font.setPointSize(pt);
    return font;
}

int textWidth(const QFont& font, const QString& text) { return QFontMetrics(font).horizontalAdvance(text); }

}  // namespace

int fittingPointSize(const QWidget* widget, const QString& text, int width, int basePt, int floorPt) {
    for (int pt = basePt; pt > floorPt; --pt)
        if (textWidth(sized(widget, pt), text) <= width) return pt;
    return floorPt;
}

void fitLabel(QLabel* label, const QString& text, int basePt, int floorPt) {
    const int room = label->width() - 2;
    const int pt = fittingPointSize(label, text, room, basePt, floorPt);
    const QFont font = sized(label, pt);
    label->setFont(font);
    const bool cut = textWidth(font, text) > room;
    label->setText(cut ? QFontMetrics(font).elidedText(text, Qt::ElideRight, room) : text);
    label->setToolTip(cut ? text : QString());
    label->setProperty("fullText", text);
}

void fitButton(kestrel::widgets::ZorButton* button, const QString& text, int basePt, int padding, int floorPt) {
    const int room = button->width() - padding;
    const int pt = fittingPointSize(button, text, room, basePt, floorPt);
    const QFont font = sized(button, pt);
    button->setFont(font);
    const bool cut = textWidth(font, text) > room;
    button->setContentTitle(cut ? QFontMetrics(font).elidedText(text, Qt::ElideRight, room) : text);
    button->setToolTip(cut ? text : QString());
    button->setProperty("fullText", text);
}

bool textFits(const QWidget* control) {
    const QString full = control->property("fullText").toString();
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text() == full;
    if (const auto* button = qobject_cast<const kestrel::widgets::ZorButton*>(control)) return button->contentTitle() == full;
    return true;
}

}  // namespace kestrel::tools::joiner
