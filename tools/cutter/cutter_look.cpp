#include "tools/cutter/cutter_look.h"

#include <QFontMetrics>
#include <cmath>
#include <QLabel>

#include "services/language.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::cutter {

using kestrel::widgets::ZorButton;

void setButtonPictures(ZorButton* button, const QString& stem, const QString& suffix) {
    const auto picture = [&](const char* state) {
        return services::Language::pixmapWithfileName(stem + QLatin1Char('_') + QLatin1String(state) + suffix);
    };
    button->setNormalImage(picture("Normal"));
    button->setOnImage(picture("On"));
    const QPixmap down = picture("Down");
    button->setDownImage(down.isNull() ? picture("Normal") : down);
    button->setDisAbleImage(picture("Disable"));
    button->update();
}

ZorButton* pictureButton(const QString& stem, const QString& suffix, QWidget* parent) {
    auto* button = new ZorButton(parent);
    setButtonPictures(button, stem, suffix);
    const QPixmap normal = button->normalImage();
    const QSizeF size = normal.isNull() ? QSizeF(28, 28) : normal.deviceIndependentSize();
    button->setFixedSize(std::max(20, int(size.width())), std::max(20, int(size.height())));
    return button;
}

ZorButton* textButton(QWidget* parent) {
    auto* button = new ZorButton(parent);
    const QColor grey(47, 54, 62);
    button->setBackGroundColor(grey);
    button->setDisAblebackGroundColor(grey.darker(130));
    button->setBordColor(grey);
    button->setContentColor(QColor(255, 255, 255, 178));
    button->setDisableColor(QColor(255, 255, 255, 80));
    button->setCornerRadius(5);
    button->setBorderWidth(1);
    QFont font = button->font();
    font.setPixelSize(13);
    button->setFont(font);
    button->setFixedHeight(26);
    return button;
}

void setButtonText(ZorButton* button, const QString& text) {
    button->setContentTitle(text);
    button->setToolTip(QString());
    const bool leading = button->imagePosition() == kestrel::widgets::ImagePosition::ImageLeading;
    const int picture = leading ? int(std::ceil(button->normalImage().deviceIndependentSize().width())) : 0;
    button->setMinimumWidth(picture + int(std::ceil(QFontMetricsF(button->font()).horizontalAdvance(text))) + 24);
    button->updateGeometry();
}

ZorButton* checkButton(QWidget* parent) {
    auto* button = new ZorButton(parent);
    setButtonPictures(button, QStringLiteral("ZantImage/Join/chk_NoChecked"), QStringLiteral("@2x.png"));
    button->setSelectedImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Join/chk_Checked_Normal@2x.png")));
    button->setContentColor(QColor(204, 204, 204, 200));
    button->setImagePosition(kestrel::widgets::ImagePosition::ImageLeading);
    QFont font = button->font();
    font.setPixelSize(12);
    button->setFont(font);
    button->setFixedHeight(22);
    return button;
}

QLabel* dimLabel(QWidget* parent, int pixelSize, const QString& text) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: rgba(204,204,204,170);"));
    return label;
}

}  // namespace kestrel::tools::cutter
