#pragma once
// Where a text watermark's baseline lies. The overlay draws the text from the top of its box and
// the engines draw it from a baseline given in pixels; both take the ascent from here, so the
// text sits in the same place in the preview and in the export.
#include <QFont>
#include <QSizeF>
#include <QString>

#include "model/water_param.h"

namespace kestrel::session {

// The watermark's font at its size, one overlay point per pixel.
QFont waterMarkFontOf(const kestrel::model::WaterParam& mark);

double textAscentPixels(const QString& family, int pixelSize);

// How far above the box's bottom edge the baseline lies, in pixels of a frame of that size.
double textBaselineRaisePixels(const kestrel::model::WaterParam& mark, double frameWidth, double frameHeight);

// The size of a box that holds the text in the font, no larger than the view.
QSizeF textBoxSize(const QString& text, const QFont& font, const QSizeF& view);

}  // namespace kestrel::session
