#include "editor/editor_look.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

#include "services/language.h"
#include "widgets/zor_button.h"

namespace kestrel::editor::look {

QFont systemFont(int pointSize) {
    QFont f;
    f.setPointSize(pointSize);
    return f;
}

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

void setBackground(QWidget* view, const QColor& colour) {
    QPalette p = view->palette();
    p.setColor(QPalette::Window, colour);
    view->setPalette(p);
    view->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, int pointSize, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setFont(systemFont(pointSize));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

kestrel::widgets::ZorButton* makeStateButton(QWidget* parent, const QString& stem) {
    auto* b = new kestrel::widgets::ZorButton(parent);
    b->setNormalImage(picture(stem + QStringLiteral("_Normal@2x.png")));
    b->setOnImage(picture(stem + QStringLiteral("_On@2x.png")));
    b->setDownImage(picture(stem + QStringLiteral("_Down@2x.png")));
    b->setDisAbleImage(picture(stem + QStringLiteral("_Disable@2x.png")));
    b->setImagePosition(kestrel::widgets::ImagePosition::ImageOnly);
    b->setBordered(false);
    return b;
}

kestrel::widgets::ZorButton* makeCheckButton(QWidget* parent, const QString& folder) {
    auto* b = new kestrel::widgets::ZorButton(parent);
    const QString base = QStringLiteral("ZantImage/%1/chk_").arg(folder);
    b->setNormalImage(picture(base + QStringLiteral("NoChecked_Normal@2x.png")));
    b->setOnImage(picture(base + QStringLiteral("NoChecked_On@2x.png")));
    b->setDownImage(picture(base + QStringLiteral("NoChecked_Down@2x.png")));
    b->setSelectedImage(picture(base + QStringLiteral("Checked_Normal@2x.png")));
    b->setDisAbleImage(picture(base + QStringLiteral("NoChecked_Disable@2x.png")));
    b->setContentColor(kControlText);
    b->setImagePosition(kestrel::widgets::ImagePosition::ImageLeading);
    b->setFont(systemFont(13));
    b->setBordered(false);
    return b;
}

void styleSpinButton(kestrel::widgets::ZorButton* b, bool up, std::function<void(kestrel::widgets::ZorButton*)> action) {
    const QString base = up ? QStringLiteral("ZantImage/Reverse/btnSpinUp_") : QStringLiteral("ZantImage/Reverse/btnSpinDown_");
    b->setNormalBackgroundImage(picture(base + QStringLiteral("Normal@2x.png")));
    b->setOnBackgroundImage(picture(base + QStringLiteral("On@2x.png")));
    b->setDownBackgroundImage(picture(base + QStringLiteral("Down@2x.png")));
    b->setDisAbleBackgroundImage(picture(base + QStringLiteral("Disable@2x.png")));
    b->setBordered(false);
    b->setEnabled(false);
    b->setMouseDownAction(std::move(action));
}

void setPlayPictures(kestrel::widgets::ZorButton* b, bool pause) {
    const QString stem = pause ? QStringLiteral("ZantImage/GifMaker/btnPause_") : QStringLiteral("ZantImage/GifMaker/btnPlay_");
    b->setDisAbleImage(picture(stem + QStringLiteral("Disable@2x.png")));
    b->setOnImage(picture(stem + QStringLiteral("On@2x.png")));
    b->setDownImage(picture(stem + QStringLiteral("Down@2x.png")));
    b->setNormalImage(picture(stem + QStringLiteral("Normal@2x.png")));
    b->update();
}

}  // namespace kestrel::editor::look
