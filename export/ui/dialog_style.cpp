#include "export/ui/dialog_style.h"

#include "services/language.h"
#include "widgets/zor_button.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

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

widgets::ZorButton* makePictureButton(QWidget* parent, const QString& stem, const QString& suffix) {
    auto* button = new widgets::ZorButton(parent);
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

widgets::ZorButton* makeCheckButton(QWidget* parent, bool withDown) {
    auto* box = new widgets::ZorButton(parent);
    box->setNormalImage(picture(QStringLiteral("ZantImage/Cut/chk_NoChecked_Normal@2x.png")));
    box->setOnImage(picture(QStringLiteral("ZantImage/Cut/chk_NoChecked_On@2x.png")));
    if (withDown) box->setDownImage(picture(QStringLiteral("ZantImage/Cut/chk_NoChecked_Down@2x.png")));
    box->setSelectedImage(picture(QStringLiteral("ZantImage/Cut/chk_Checked_Normal@2x.png")));
    box->setContentColor(kCaptionColor);
    box->setSelectColor(kCaptionColor);
    box->setImagePosition(widgets::ImagePosition::ImageLeading);
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

}  // namespace exportkit::style
