#include "tools/gif/gif_size_rules.h"

#include "session/export/gif/gif_limits.h"

#include <algorithm>
#include <cmath>

namespace kestrel::tools::gif {

namespace {

constexpr int64_t kMax = session::kGifMaxSide;

int64_t side(double value) { return std::clamp<int64_t>(int64_t(value), 2, kMax); }
// Truncated, then down to even; within 2..kMax.
int64_t even(double value) { return std::clamp<int64_t>(int64_t(value) / 2 * 2, 2, kMax); }
int64_t nearest(double value) { return int64_t(std::llround(value)); }
bool known(const OutputSize& s) { return s.sourceWidth > 0 && s.sourceHeight > 0; }
// The largest percentage of a source side that stays within kMax pixels.
int64_t maxPercent(int64_t source) { return source > 0 ? std::max<int64_t>(1, kMax * 100 / source) : 100; }

}  // namespace

OutputSize initialGifSize(int64_t w, int64_t h) {
    OutputSize s{w, h, 300, 300, 100, 100};
    if (w <= 0 || h <= 0) return s;
    if (w <= h) s.width = even(double(w) / double(h) * 300);
    else s.height = even(double(h) / double(w) * 300);
    s.widthPercent = std::max<int64_t>(1, nearest(double(s.width) / double(w) * 100));
    s.heightPercent = std::max<int64_t>(1, nearest(double(s.height) / double(h) * 100));
    return s;
}

OutputSize initialPictureSize(int64_t w, int64_t h) {
    OutputSize s{w, h, 300, 300, 100, 100};
    if (w <= 0 || h <= 0) return s;
    // A source larger than the cap is scaled down as a whole, keeping its shape.
    const int64_t longSide = std::max(w, h);
    const int64_t target = std::min(longSide, kMax);
    s.width = even(double(w * target / longSide));
    s.height = even(double(h * target / longSide));
    s.widthPercent = std::max<int64_t>(1, nearest(100.0 * double(s.width) / double(w)));
    s.heightPercent = std::max<int64_t>(1, nearest(100.0 * double(s.height) / double(h)));
    return s;
}

void initialPhotoSize(int64_t w, int64_t h, int64_t* width, int64_t* height) {
    *width = *height = 300;
    if (w <= 0 || h <= 0) return;
    if (w > h) *height = even(double(h) / double(w) * 300);
    else *width = even(double(w) / double(h) * 300);
}

namespace {

int64_t atLeastOne(double value, int64_t max) { return std::clamp<int64_t>(int64_t(value), 1, max); }

// The height from the width, and the height's percentage (link on, while typing).
void heightFollows(OutputSize& s) {
    const double S = double(s.sourceWidth), T = double(s.sourceHeight);
    s.height = atLeastOne(T / S * double(s.width), kMax);
    s.heightPercent = std::max<int64_t>(1, nearest(100.0 * double(s.height) / T));
}

void widthFollows(OutputSize& s) {
    const double S = double(s.sourceWidth), T = double(s.sourceHeight);
    s.width = atLeastOne(S / T * double(s.height), kMax);
    s.widthPercent = std::max<int64_t>(1, nearest(100.0 * double(s.width) / S));
}

}  // namespace

void typedWidth(OutputSize& s, SizeUnit unit, bool linked, int64_t typed) {
    if (!known(s)) {
        if (unit == SizeUnit::Pixel) s.width = atLeastOne(double(typed), kMax);
        return;
    }
    const double S = double(s.sourceWidth);
    if (unit == SizeUnit::Pixel) {
        s.width = atLeastOne(double(typed), kMax);
        s.widthPercent = std::max<int64_t>(1, nearest(100.0 * double(s.width) / S));
    } else {
        s.widthPercent = atLeastOne(double(typed), maxPercent(s.sourceWidth));
        s.width = atLeastOne(S * double(s.widthPercent) / 100, kMax);
    }
    if (linked) heightFollows(s);
}

void typedHeight(OutputSize& s, SizeUnit unit, bool linked, int64_t typed) {
    if (!known(s)) {
        if (unit == SizeUnit::Pixel) s.height = atLeastOne(double(typed), kMax);
        return;
    }
    const double T = double(s.sourceHeight);
    if (unit == SizeUnit::Pixel) {
        s.height = atLeastOne(double(typed), kMax);
        s.heightPercent = std::max<int64_t>(1, nearest(100.0 * double(s.height) / T));
    } else {
        s.heightPercent = atLeastOne(double(typed), maxPercent(s.sourceHeight));
        s.height = atLeastOne(T * double(s.heightPercent) / 100, kMax);
    }
    if (linked) widthFollows(s);
}

void commitWidth(OutputSize& s, SizeUnit unit, bool linked, int64_t typed) {
    const double S = double(s.sourceWidth), T = double(s.sourceHeight);
    if (unit == SizeUnit::Pixel) {
        s.width = even(double(typed));
        if (!known(s)) return;
        if (linked) {
            s.height = even(T / S * double(s.width));
            s.heightPercent = std::max<int64_t>(1, nearest(100.0 * double(s.height) / T));
            s.widthPercent = std::max<int64_t>(1, nearest(100.0 * double(s.width) / S));
        } else {
            s.widthPercent = std::max<int64_t>(1, int64_t(100.0 * double(s.width) / S));
        }
        return;
    }
    if (!known(s)) return;
    s.widthPercent = std::clamp<int64_t>(typed, 1, maxPercent(s.sourceWidth));
    if (linked) {
        double h = std::floor(T * double(s.widthPercent) / 100 / 2) * 2;
        s.heightPercent = std::clamp<int64_t>(nearest(100.0 * h / T), 1, maxPercent(s.sourceHeight));
        s.width = even(S * double(s.widthPercent) / 100);
        s.height = even(T * double(s.heightPercent) / 100);
    } else {
        s.width = side(S * double(s.widthPercent) / 100);
    }
}

void commitHeight(OutputSize& s, SizeUnit unit, bool linked, int64_t typed) {
    const double S = double(s.sourceWidth), T = double(s.sourceHeight);
    if (unit == SizeUnit::Pixel) {
        s.height = even(double(typed));
        if (!known(s)) return;
        s.heightPercent = std::max<int64_t>(1, int64_t(100.0 * double(s.height) / T));
        if (linked) {
            s.width = even(S / T * double(s.height));
            s.widthPercent = std::max<int64_t>(1, int64_t(100.0 * double(s.width) / S));
        }
        return;
    }
    if (!known(s)) return;
    s.heightPercent = std::clamp<int64_t>(typed, 1, 100);
    if (linked) {
        double w = std::floor(S * double(s.heightPercent) / 100 / 2) * 2;
        s.widthPercent = std::max<int64_t>(1, nearest(100.0 * w / S));
        s.width = side(S * double(s.widthPercent) / 100);
    }
    s.height = side(T * double(s.heightPercent) / 100);
}

void linkTurnedOn(OutputSize& s) {
    s.heightPercent = s.widthPercent;
    if (known(s)) s.height = side(double(s.sourceHeight) / double(s.sourceWidth) * double(s.width));
}

int64_t commitPhotoSide(int64_t typed) { return even(double(typed)); }

double commitFps(double typed) {
    if (!std::isfinite(typed)) return session::kGifMinFps;
    return session::clampGifFps(std::trunc(typed));
}

}  // namespace kestrel::tools::gif
