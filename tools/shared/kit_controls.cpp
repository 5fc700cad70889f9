#include "tools/shared/kit_controls.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "services/language.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/image_view.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::shared {

using widgets::ZorButton;

namespace {

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

QPixmap statePicture(const QString& stem, const char* state, const QString& suffix) {
    return picture(stem + QLatin1Char('_') + QLatin1String(state) + suffix);
}

QFont systemFont(QWidget* widget, int pixelSize) {
    QFont font = widget->font();
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

void setStatePictures(ZorButton* button, const QString& stem, const QString& suffix) {
    button->setNormalImage(statePicture(stem, "Normal", suffix));
    button->setOnImage(statePicture(stem, "On", suffix));
    const QPixmap down = statePicture(stem, "Down", suffix);
    button->setDownImage(down.isNull() ? button->normalImage() : down);
    button->setDisAbleImage(statePicture(stem, "Disable", suffix));
    button->update();
}

void setBackgroundPictures(ZorButton* button, const QString& stem, const QString& suffix) {
    button->setNormalBackgroundImage(statePicture(stem, "Normal", suffix));
    button->setOnBackgroundImage(statePicture(stem, "On", suffix));
    button->setDownBackgroundImage(statePicture(stem, "Down", suffix));
    button->setDisAbleBackgroundImage(statePicture(stem, "Disable", suffix));
    button->update();
}

ZorButton* pictureButton(QWidget* parent, const QString& stem, const QString& suffix, const QString& name) {
    auto* button = new ZorButton(parent);
    button->setObjectName(name);
    setStatePictures(button, stem, suffix);
    button->setImagePosition(widgets::ImagePosition::ImageOnly);
    const QSizeF size = widgets::pointSize(button->normalImage());
    button->setFixedSize(std::max(16, int(std::ceil(size.width()))), std::max(16, int(std::ceil(size.height()))));
    return button;
}

ZorButton* titledButton(QWidget* parent, const QString& stem, const QString& suffix, const QColor& text,
                        const QString& name) {
    auto* button = new ZorButton(parent);
    button->setObjectName(name);
    setBackgroundPictures(button, stem, suffix);
    button->setCornerRadius(5);
    button->setContentColor(text);
    button->setOnColor(text);
    button->setDownColor(text);
    QColor faded = text;
    faded.setAlphaF(0.4f);
    button->setDisableColor(faded);
    button->setFont(systemFont(button, 13));
    button->setFixedHeight(28);
    return button;
}

ZorButton* radioButton(QWidget* parent, const QString& folder, const QString& name) {
    auto* button = new ZorButton(parent);
    button->setObjectName(name);
    setStatePictures(button, folder + QStringLiteral("/rb_NoChecked"), QStringLiteral("@2x.png"));
    button->setSelectedImage(picture(folder + QStringLiteral("/rb_Checked_Normal@2x.png")));
    button->setImagePosition(widgets::ImagePosition::ImageLeading);
    button->setContentColor(kToolText);
    button->setOnColor(kToolText);
    button->setDownColor(kToolText);
    button->setSelectColor(kToolText);
    QColor faded = kToolText;
    faded.setAlphaF(0.45f);
    button->setDisableColor(faded);
    button->setFont(systemFont(button, 13));
    button->setFixedHeight(24);
    return button;
}

void setButtonTitle(ZorButton* button, const QString& title) {
    button->setContentTitle(title);
    const bool leading = button->imagePosition() == widgets::ImagePosition::ImageLeading;
    const int pictureWidth = leading ? int(std::ceil(widgets::pointSize(button->normalImage()).width())) + 6 : 0;
    button->setMinimumWidth(pictureWidth + int(std::ceil(QFontMetricsF(button->font()).horizontalAdvance(title))) + 20);
    button->updateGeometry();
}

widgets::XJGraphicButton* graphicButton(QWidget* parent, const QString& stem, const QString& suffix, const QString& name) {
    auto* button = new widgets::XJGraphicButton(parent);
    button->setObjectName(name);
    button->image[1] = statePicture(stem, "On", suffix);
    button->image[2] = statePicture(stem, "Down", suffix);
    button->setNormalImage(statePicture(stem, "Normal", suffix));
    button->cornerRadius[0] = 5;
    button->cornerRadius[2] = 5;
    button->setViewEnable(true);
    button->setCanTransmitEvents(true);
    button->setCursor(Qt::PointingHandCursor);
    const QSizeF size = widgets::pointSize(button->image[0]);
    button->setFixedSize(std::max(16, int(std::ceil(size.width()))), std::max(16, int(std::ceil(size.height()))));
    return button;
}

void setGraphicEnabled(widgets::XJGraphicButton* button, bool enabled) {
    button->setEnabled(enabled);
    button->setViewEnable(enabled);
}

QLabel* toolLabel(QWidget* parent, int pixelSize, const QColor& colour, const QString& name) {
    auto* label = new QLabel(parent);
    if (!name.isEmpty()) label->setObjectName(name);
    label->setFont(systemFont(label, pixelSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    QColor disabled = colour;
    disabled.setAlphaF(colour.alphaF() * 0.5f);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    label->setPalette(palette);
    return label;
}

QWidget* toolPanel(QWidget* parent, const QColor& colour, int radius, const QString& name, int frameWidth) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAttribute(Qt::WA_StyledBackground, true);
    QString style = QStringLiteral("#%1 { background: rgba(%2,%3,%4,%5); border-radius: %6px;")
                        .arg(name)
                        .arg(colour.red())
                        .arg(colour.green())
                        .arg(colour.blue())
                        .arg(colour.alpha())
                        .arg(radius);
    if (frameWidth > 0)
        style += QStringLiteral(" border: %1px solid rgb(%2,%3,%4);")
                     .arg(frameWidth)
                     .arg(kToolFrameLine.red())
                     .arg(kToolFrameLine.green())
                     .arg(kToolFrameLine.blue());
    panel->setStyleSheet(style + QStringLiteral(" }"));
    return panel;
}

void disconnectChildren(QWidget* owner) {
    for (QObject* child : owner->findChildren<QObject*>()) QObject::disconnect(child, nullptr, owner, nullptr);
}

void keepLeftToRight(QWidget* control) {
    control->setProperty("keepsLeftToRight", true);
    control->setLayoutDirection(Qt::LeftToRight);
}

void applyToolTextDirection(QWidget* root) {
    widgets::applyTextDirection(root);
    for (QWidget* widget : root->findChildren<QWidget*>())
        if (widget->property("keepsLeftToRight").toBool()) widget->setLayoutDirection(Qt::LeftToRight);
}

}  // namespace kestrel::tools::shared
