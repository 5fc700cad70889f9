#include "session/edit/text_watermark_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "services/help_class.h"
#include "session/edit/watermark_records.h"

namespace kestrel::session {

QFont waterMarkFontOf(const kestrel::model::WaterParam& mark) {
    QFont font(mark.waterFontName);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(mark.waterFontSize))));
    return font;
}

double textAscentPixels(const QString& family, int pixelSize) {
    QFont font(family);
    font.setPixelSize(std::max(1, pixelSize));
    return QFontMetricsF(font).ascent();
}

double textBaselineRaisePixels(const kestrel::model::WaterParam& mark, double frameWidth, double frameHeight) {
    const int pixelSize = static_cast<int>(std::trunc(mark.waterFontSize * fontScaleForFrame(mark, frameWidth)));
    return mark.waterPercentClipRect.height() * frameHeight - textAscentPixels(mark.waterFontName, pixelSize);
}

QSizeF textBoxSize(const QString& text, const QFont& font, const QSizeF& view) {
    const QRectF measured = services::HelpClass::getHeightOfText(text.isEmpty() ? QStringLiteral(" ") : text,
                                                                  view.width(), view.height(), font);
    const double textWidth = QFontMetricsF(font).horizontalAdvance(text.isEmpty() ? QStringLiteral(" ") : text) + 4;
    return QSizeF(std::min(view.width(), std::max(measured.width(), textWidth)), std::min(view.height(), measured.height()));
}

}  // namespace kestrel::session
