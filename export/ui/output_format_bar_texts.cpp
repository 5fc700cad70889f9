#include "export/ui/output_format_bar_texts.h"

#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace exportkit {
namespace {

int advance(const QFont& font, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

}  // namespace

FittedText fitText(const QFont& font, const QString& text, int width, Qt::TextElideMode mode) {
    if (advance(font, text) <= width) return {text, false};
    // elidedText can still overshoot by a fraction of a pixel; the measured width decides.
    QString shown = QFontMetricsF(font).elidedText(text, mode, width);
    for (qreal room = width; !shown.isEmpty() && advance(font, shown) > width && room > 1; room -= 1)
        shown = QFontMetricsF(font).elidedText(text, mode, room - 1);
    return {shown, true};
}

QString headerTitle(const QString& profileName) { return QStringLiteral("Target Format: %1").arg(profileName); }

FittedText fitHeaderTitle(const QFont& font, const QString& profileName, int width) {
    const QString prefix = headerTitle(QString());
    const FittedText name = fitText(font, profileName, std::max(0, width - advance(font, prefix)), Qt::ElideRight);
    return {prefix + name.shown, name.cut};
}

ProfileFaceLayout profileFaceLayout(const QFont& nameFont, int buttonHeight, int settingsButtonSize) {
    ProfileFaceLayout layout;
    layout.nameHeight = static_cast<int>(std::ceil(QFontMetricsF(nameFont).height()));
    layout.nameTop = buttonHeight - settingsButtonSize - layout.nameHeight - 1;
    layout.pictureMaxHeight = layout.nameTop - 1;
    return layout;
}

QPixmap fitPictureHeight(const QPixmap& picture, int maxHeight) {
    if (picture.isNull() || maxHeight < 1) return picture;
    const qreal ratio = picture.devicePixelRatio();
    if (picture.height() / ratio <= maxHeight) return picture;
    QPixmap scaled = picture.scaledToHeight(static_cast<int>(maxHeight * ratio), Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

void setFittedText(QLabel* label, const QString& text, QWidget* tipOwner) {
    const QMargins margins = label->contentsMargins();
    const FittedText fitted = fitText(label->font(), text, label->width() - margins.left() - margins.right());
    label->setText(fitted.shown);
    tipOwner->setToolTip(fitted.cut ? text : QString());
}

}  // namespace exportkit
