#include "export/ui/dialog_style.h"

#include "services/language.h"
#include "widgets/zor_button.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>
#include <cmath>

namespace exportkit::style {
namespace {

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

}  // namespace

void styleWindow(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kWindowColor);
    palette.setColor(QPalette::WindowText, kTitleColor);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void styleCaption(QLabel* label, const QColor& color, int pointSize) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    QFont font = label->font();
    font.setPointSize(pointSize);
    label->setFont(font);
}

kestrel::widgets::ZorButton* makePictureButton(QWidget* parent, const QString& stem, const QString& suffix) {
    auto* button = new kestrel::widgets::ZorButton(parent);
    button->setNormalBackgroundImage(picture(stem + QStringLiteral("_Normal") + suffix));
    button->setOnBackgroundImage(picture(stem + QStringLiteral("_On") + suffix));
    button->setDownBackgroundImage(picture(stem + QStringLiteral("_Down") + suffix));
    button->setDisAbleBackgroundImage(picture(stem + QStringLiteral("_Disable") + suffix));
    if (button->normalBackgroundImage().isNull()) {
        button->setBackGroundColor(QColor(96, 222, 208));
        button->setDisAblebackGroundColor(QColor(60, 66, 76));
    }
    button->setCornerRadius(3);
    button->setBorderWidth(0);
    button->setBordered(false);
    button->setContentColor(Qt::black);
    QFont font = button->font();
    font.setPointSize(15);
    button->setFont(font);
    return button;
}

kestrel::widgets::ZorButton* makeCheckButton(QWidget* parent, bool withDown) {
    auto* box = new kestrel::widgets::ZorButton(parent);
    box->setNormalImage(picture(QStringLiteral("ZantImage/Cut/chk_NoChecked_Normal@2x.png")));
    box->setOnImage(picture(QStringLiteral("ZantImage/Cut/chk_NoChecked_On@2x.png")));
    if (withDown) box->setDownImage(picture(QStringLiteral("ZantImage/Cut/chk_NoChecked_Down@2x.png")));
    box->setSelectedImage(picture(QStringLiteral("ZantImage/Cut/chk_Checked_Normal@2x.png")));
    box->setContentColor(kCaptionColor);
    box->setSelectColor(kCaptionColor);
    box->setImagePosition(kestrel::widgets::ImagePosition::ImageLeading);
    box->setBordered(false);
    QFont font = box->font();
    font.setPointSize(13);
    box->setFont(font);
    return box;
}

void styleBorderedBox(QWidget* box, int radius) {
    box->setObjectName(QStringLiteral("borderedBox"));
    box->setAttribute(Qt::WA_StyledBackground, true);
    box->setStyleSheet(QStringLiteral("#borderedBox { border: 1px solid rgb(49, 60, 72); border-radius: %1px; }").arg(radius));
}

int textWidth(const QWidget* widget, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(widget->font()).horizontalAdvance(text)));
}

int fitCheckBox(kestrel::widgets::ZorButton* box, const QString& title, int maxWidth) {
    // The title starts right after the picture; a little air keeps the last glyph off the edge.
    const int picture = static_cast<int>(std::ceil(box->layoutInput().picture.width()));
    const int wanted = picture + textWidth(box, title) + 2;
    if (wanted <= maxWidth) {
        box->setContentTitle(title);
        box->setToolTip(QString());
        box->resize(wanted, box->height());
        return wanted;
    }
    const QString cut = QFontMetricsF(box->font()).elidedText(title, Qt::ElideRight, maxWidth - picture - 2);
    box->setContentTitle(cut);
    box->setToolTip(title);
    box->resize(maxWidth, box->height());
    return maxWidth;
}

void setElidedText(QLabel* label, const QString& text) {
    const int room = label->contentsRect().width() - 2 * label->margin();
    const QString shown = QFontMetricsF(label->font()).elidedText(text, Qt::ElideMiddle, room);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

void applyTextDirection(QWidget* root, const QList<QWidget*>& leftToRight) {
    const Qt::LayoutDirection direction = services::Language::isalaboLanguage() ? Qt::RightToLeft : Qt::LeftToRight;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        const bool textControl = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                                 qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget);
        if (!textControl) continue;
        widget->setLayoutDirection(leftToRight.contains(widget) ? Qt::LeftToRight : direction);
    }
}

}  // namespace exportkit::style
