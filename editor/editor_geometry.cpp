#include "editor/editor_geometry.h"

#include <algorithm>
#include <cmath>

namespace kestrel::editor {

TimeParts splitSeconds(float t) {
    if (!std::isfinite(t) || t < 0) return {};
    TimeParts p;
    const float whole = std::floor(t);
    p.hours = int(whole) / 3600;
    const float rest = t - float(p.hours) * 3600.0f;
    p.minutes = int(std::floor(rest)) / 60;
    p.seconds = int(std::floor(rest - float(p.minutes) * 60.0f));
    p.millis = int((t - whole) * 1000.0f);
    return p;
}

double secondsFromParts(const TimeParts& p, int fractionDivisor) {
    return double(p.hours) * 3600.0 + double(p.minutes) * 60.0 + double(p.seconds) +
           double(p.millis) / double(fractionDivisor);
}

bool isQuarterTurn(int32_t d) { return d == 90 || d == 270 || d == -90 || d == -270; }

QSizeF rotatedSize(const QSizeF& s, int32_t degrees) {
    return isQuarterTurn(degrees) ? QSizeF(s.height(), s.width()) : s;
}

int32_t rotateLeft(int32_t d) {
    switch (d) {
    case 0: return 270;
    case 90: return 0;
    case 180: return 90;
    case 270: return 180;
    case 360: return 270;
    default: return d;
    }
}

int32_t rotateRight(int32_t d) {
    switch (d) {
    case 0: return 90;
    case 90: return 180;
    case 180: return 270;
    case 270: return 0;
    case 360: return 90;
    default: return d;
    }
}

QRectF aspectFitRect(const QSizeF& content, const QRectF& bounds) {
    if (content.width() <= 0 || content.height() <= 0 || bounds.width() <= 0 || bounds.height() <= 0) return {};
    const double scale = std::min(bounds.width() / content.width(), bounds.height() / content.height());
    const double w = content.width() * scale;
    const double h = content.height() * scale;
    return {bounds.x() + (bounds.width() - w) / 2, bounds.y() + (bounds.height() - h) / 2, w, h};
}

std::optional<QRectF> overlayToVideo(const QRectF& box, const QSizeF& overlay, const QSizeF& video) {
    if (overlay.width() <= 0 || overlay.height() <= 0) return std::nullopt;
    const float fx = float(box.x() / overlay.width());
    const float fy = float(box.y() / overlay.height());
    const float fw = float(box.width() / overlay.width());
    const float fh = float(box.height() / overlay.height());
    return QRectF(float(fx * video.width()), float(fy * video.height()), float(fw * video.width()),
                  float(fh * video.height()));
}

std::optional<QRectF> videoToOverlay(const QRectF& rect, const QSizeF& video, const QSizeF& overlay) {
    if (video.width() <= 0 || video.height() <= 0) return std::nullopt;
    const float fx = float(rect.x() / video.width());
    const float fy = float(rect.y() / video.height());
    const float fw = float(rect.width() / video.width());
    const float fh = float(rect.height() / video.height());
    return QRectF(fx * overlay.width(), fy * overlay.height(), fw * overlay.width(), fh * overlay.height());
}

int32_t evenMargin(double margin) {
    const float m = float(margin);
    if (!std::isfinite(m)) return 0;
    return int32_t(m - std::fmod(m, 2.0f));
}

kestrel::model::RECT cropMargins(const QRectF& c, const QSizeF& v) {
    kestrel::model::RECT r;
    r.left = evenMargin(c.x());
    r.top = evenMargin(v.height() - (c.y() + c.height()));
    r.right = evenMargin(v.width() - (c.x() + c.width()));
    r.bottom = evenMargin(c.y());
    return r;
}

int32_t writtenLength(int32_t length, bool evenSizes) {
    return evenSizes ? std::max(2, length - length % 2) : length;
}

QRectF writtenCropRect(const kestrel::model::RECT& m, const QSizeF& frame, bool evenSizes) {
    const int32_t W = int32_t(std::lround(frame.width())), H = int32_t(std::lround(frame.height()));
    const int32_t w = writtenLength(W - m.left - m.right, evenSizes);
    const int32_t h = writtenLength(H - m.top - m.bottom, evenSizes);
    return QRectF(m.left, H - m.top - h, w, h);
}

namespace {

int32_t evenFloor(double v) { return 2 * int32_t(std::floor(v / 2)); }

// The far margin that leaves the largest written length not above `wanted` after `near`.
int32_t farMargin(int32_t length, int32_t near, double wanted, bool evenSizes) {
    const int32_t most = std::max(0, evenFloor(length - near - 2));  // at least 2 pixels stay
    const int32_t want = std::max<int32_t>(1, int32_t(std::lround(wanted)));
    int32_t margin = std::clamp(evenFloor(length - near - want), 0, most);
    while (margin + 2 <= most && writtenLength(length - near - margin, evenSizes) > want) margin += 2;
    return margin;
}

}  // namespace

kestrel::model::RECT marginsForTypedRect(const QRectF& r, const QSizeF& frame, bool evenSizes, bool topTyped) {
    const int32_t W = int32_t(std::lround(frame.width())), H = int32_t(std::lround(frame.height()));
    kestrel::model::RECT m;
    if (W < 2 || H < 2 || !std::isfinite(r.x() + r.y() + r.width() + r.height())) return m;
    m.left = std::clamp(evenFloor(r.x()), 0, std::max(0, evenFloor(W - 2)));
    m.right = farMargin(W, m.left, r.width(), evenSizes);
    if (topTyped) {
        m.top = std::clamp(evenFloor(H - (r.y() + r.height())), 0, std::max(0, evenFloor(H - 2)));
        m.bottom = farMargin(H, m.top, r.height(), evenSizes);
    } else {
        m.bottom = std::clamp(evenFloor(r.y()), 0, std::max(0, evenFloor(H - 2)));
        m.top = farMargin(H, m.bottom, r.height(), evenSizes);
    }
    return m;
}

QRectF cropTypeRect(int32_t type, const QSizeF& frame, const QRectF& current) {
    const double W = frame.width();
    const double H = frame.height();
    double w = 0, h = 0;
    // Width over height of the wanted box.
    auto fitRatio = [&](double ratio) {
        if (H > 0 && W / H > ratio) {
            h = H;
            w = H * ratio;
        } else {
            w = W;
            h = W / ratio;
        }
    };
    switch (type) {
    case 1:
    case 2: w = W; h = H; break;
    case 3: w = h = std::min(W, H); break;
    case 4: fitRatio(16.0 / 9.0); break;
    case 5: fitRatio(9.0 / 16.0); break;
    case 6: fitRatio(4.0 / 3.0); break;
    case 7: fitRatio(3.0 / 4.0); break;
    default: return current;
    }
    w = float(w);
    h = float(h);
    return {float((W - w) * 0.5), float((H - h) * 0.5), w, h};
}

int64_t stepCropValue(int64_t value, int delta, int64_t bound) {
    return std::clamp<int64_t>(value + delta, 0, std::max<int64_t>(bound, 0));
}

int64_t stepTimeValue(int64_t value, bool up, bool millisField) {
    if (up) return std::min<int64_t>(std::max<int64_t>(value, -1) + 1, millisField ? 999 : 59);
    return std::max<int64_t>(value, 1) - 1;
}

std::optional<QRectF> applyCropField(CropField field, int64_t value, const QRectF& clip, const QSizeF& video,
                                     bool keepAspect) {
    const double W = video.width();
    const double H = video.height();
    if (W <= 0 || H <= 0) return std::nullopt;
    const double ratio = H / W;
    QRectF r = clip;
    switch (field) {
    // A size larger than the picture is refused; one larger than the margins leave is pulled in.
    case CropField::Width: {
        if (value > W || value < 1) return std::nullopt;
        double most = W - r.x();
        if (keepAspect) most = std::min(most, (H - r.y()) / ratio);
        r.setWidth(std::min(double(value), most));
        if (keepAspect) r.setHeight(ratio * r.width());
        break;
    }
    case CropField::Height: {
        if (value > H || value < 1) return std::nullopt;
        double most = H - r.y();
        if (keepAspect) most = std::min(most, (W - r.x()) * ratio);
        r.setHeight(std::min(double(value), most));
        if (keepAspect) r.setWidth(r.height() / ratio);
        break;
    }
    case CropField::Top: {
        if (value > H || value < 0) return std::nullopt;
        const double h = std::min(r.height(), H);
        r.moveTop(std::clamp(H - h - double(value), 0.0, H - h));
        r.setHeight(std::min(h, H - r.y()));
        if (keepAspect) r.setWidth(r.height() / ratio);
        break;
    }
    case CropField::Left:
        if (value >= W || value < 0) return std::nullopt;
        r.moveLeft(std::clamp(double(value), 0.0, W));
        r.setWidth(std::min(r.width(), W - r.x()));
        if (keepAspect) r.setHeight(ratio * r.width());
        break;
    }
    return r;
}

QRectF cropBoxForFields(const QRectF& clip, const QSizeF& video, const QSizeF& overlay) {
    double x = clip.x();
    double y = clip.y();
    const double w = std::round(clip.width());
    const double h = std::round(clip.height());
    if (x + w > video.width()) x = video.width() - clip.width();
    if (y + h > video.height()) y = video.height() - clip.height();
    if (video.width() <= 0 || video.height() <= 0) return {};
    return {x / video.width() * overlay.width(), y / video.height() * overlay.height(),
            w / video.width() * overlay.width(), h / video.height() * overlay.height()};
}

}  // namespace kestrel::editor
