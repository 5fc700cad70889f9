#pragma once
// The editor's pure arithmetic: time fields, quarter turns, the picture rectangle inside the
// preview, overlay points <-> video pixels, crop margins, crop-type boxes and the clamping of
// typed and stepped values. Rectangles have their origin at the bottom-left corner.
#include <QRectF>
#include <QSizeF>
#include <cstdint>
#include <optional>

#include "model/crop_rect.h"

namespace kestrel::editor {

struct TimeParts {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int millis = 0;  // or hundredths, for the watermark fields
    bool operator==(const TimeParts&) const = default;
};

// Seconds split into the four time fields (single precision, as the fields show it).
TimeParts splitSeconds(float seconds);
// The four fields back to seconds; fractionDivisor 1000 for milliseconds, 100 for hundredths.
double secondsFromParts(const TimeParts& parts, int fractionDivisor = 1000);

// 90, 270, -90 and -270 exchange width and height.
bool isQuarterTurn(int32_t degrees);
QSizeF rotatedSize(const QSizeF& source, int32_t degrees);
int32_t rotateLeft(int32_t degrees);
int32_t rotateRight(int32_t degrees);

// The largest rectangle of the content's aspect ratio centred in bounds; empty content or
// bounds give a zero rectangle.
QRectF aspectFitRect(const QSizeF& content, const QRectF& bounds);

// Overlay box (points in an overlay of overlaySize) -> video pixels, fractions in single
// precision; a zero overlay gives nullopt.
std::optional<QRectF> overlayToVideo(const QRectF& box, const QSizeF& overlaySize, const QSizeF& videoSize);
// Video pixels -> overlay points; a zero video size gives nullopt.
std::optional<QRectF> videoToOverlay(const QRectF& rect, const QSizeF& videoSize, const QSizeF& overlaySize);

// m - fmod(m, 2) truncated: the even margin the engines take.
int32_t evenMargin(double margin);
// Pixels cut from each side of the frame for a crop rectangle (bottom-left origin).
kestrel::model::RECT cropMargins(const QRectF& clip, const QSizeF& videoSize);

// A length as the export writes it: odd lengths rounded down to even (never below 2) where the
// encoder needs even sizes.
int32_t writtenLength(int32_t length, bool evenSizes);
// The part of a frame an export writes for even crop margins: the margins' rectangle, its size
// as writtenLength gives it (the engine drops the odd column and row at the right and bottom).
QRectF writtenCropRect(const kestrel::model::RECT& margins, const QSizeF& frame, bool evenSizes);
// Even margins for a typed crop rectangle: its left edge, and its bottom edge (its top edge when
// the top was typed), rounded down to even; the opposite edges give the largest written size
// that is not above the rectangle's (at least 2 pixels).
kestrel::model::RECT marginsForTypedRect(const QRectF& rect, const QSizeF& frame, bool evenSizes, bool topTyped);

// Crop-overlay box for a crop type in a frame (types 1..7); other types keep current.
QRectF cropTypeRect(int32_t type, const QSizeF& frame, const QRectF& current);

// A spin step on a crop field: +-1 clamped to 0..bound.
int64_t stepCropValue(int64_t value, int delta, int64_t bound);
// A spin step on a time field: up to 59 (999 for the milliseconds field), down not below 0.
int64_t stepTimeValue(int64_t value, bool up, bool millisField);

// The four crop fields.
enum class CropField { Left, Top, Width, Height };
// A typed crop value applied to the crop rectangle of a frame of videoSize (the rotated
// picture). Values outside 0..size (1..size for width and height) are refused (nullopt).
std::optional<QRectF> applyCropField(CropField field, int64_t value, const QRectF& clip, const QSizeF& videoSize,
                                     bool keepAspect);
// The overlay box that shows a crop rectangle whose width and height the fields give,
// pushed back inside the frame.
QRectF cropBoxForFields(const QRectF& clip, const QSizeF& videoSize, const QSizeF& overlaySize);

}  // namespace kestrel::editor
