#include "editor/watermark/water_box_geometry.h"

#include <algorithm>
#include <cmath>

namespace kestrel::editor {

WaterZone waterZoneAt(const QRectF& box, const QPointF& p, bool isPicture) {
    if (!isPicture) return kZoneBody;
    const double x = static_cast<float>(p.x()), y = static_cast<float>(p.y());
    const double L = box.left(), R = box.left() + box.width(), B = box.top(), T = box.top() + box.height();
    const double midY = box.top() + box.height() / 2, midX = box.left() + box.width() / 2;
    const bool nearMidY = midY - 10 < y && y < midY + 10;
    const bool nearMidX = midX - 10 < x && x < midX + 10;
    if (std::abs(x - L) < 20) {
        if (std::abs(y - T) < 10) return kZoneTopLeft;
        if (std::abs(y - B) < 10) return kZoneBottomLeft;
        return nearMidY ? kZoneLeft : kZoneNone;
    }
    if (std::abs(x - R) < 20) {
        if (std::abs(y - T) < 10) return kZoneTopRight;
        if (std::abs(y - B) < 10) return kZoneBottomRight;
        return nearMidY ? kZoneRight : kZoneNone;
    }
    if (std::abs(y - B) < 10) return nearMidX ? kZoneBottom : kZoneNone;
    if (std::abs(y - T) < 10) return nearMidX ? kZoneTop : kZoneNone;
    if (L < x && x < R && B < y && y < T) return kZoneBody;
    return kZoneNone;
}

namespace {

QRectF fromEdges(double L, double B, double R, double T) { return QRectF(L, B, R - L, T - B); }

std::optional<QRectF> freeResize(WaterZone zone, const QRectF& box, const QPointF& p) {
    double L = box.left(), R = box.left() + box.width(), B = box.top(), T = box.top() + box.height();
    switch (zone) {
    case kZoneTopLeft: L = std::min(p.x(), R - 10); T = std::max(p.y(), B + 10); break;
    case kZoneTopRight: R = std::max(p.x(), L + 10); T = std::max(p.y(), B + 10); break;
    case kZoneBottomLeft: L = std::min(p.x(), R - 10); B = std::min(p.y(), T - 10); break;
    case kZoneBottomRight: R = std::max(p.x(), L + 10); B = std::min(p.y(), T - 10); break;
    case kZoneLeft: L = std::min(p.x(), R - 40); break;
    case kZoneRight: R = std::max(p.x(), L + 10); break;
    case kZoneTop: T = std::max(p.y(), B + 10); break;
    case kZoneBottom: B = std::min(p.y(), T - 10); break;
    default: return box;
    }
    return fromEdges(L, B, R, T);
}

std::optional<QRectF> aspectResize(WaterZone zone, const QRectF& box, const QPointF& p, const QSizeF& view,
                                   const QSizeF& picture) {
    const double pw = picture.width(), ph = picture.height();
    double L = box.left(), R = box.left() + box.width(), B = box.top(), T = box.top() + box.height();
    const double Vh = view.height();
    switch (zone) {
    case kZoneTopLeft: {
        L = std::min(p.x(), R - 10);
        const double height = static_cast<float>((R - L) * ph / pw);
        T = std::min(B + height, Vh);
        break;
    }
    case kZoneTopRight: {
        const double r = std::max(p.x(), L + 10);
        const double height = std::min(Vh - B, static_cast<double>(static_cast<float>((r - L) * ph / pw)));
        const double width = static_cast<float>(height * pw / ph);
        R = std::min(r, L + width);
        T = B + height;
        break;
    }
    case kZoneBottomLeft: {
        L = std::min(p.x(), R - 10);
        const double height = static_cast<float>((R - L) * ph / pw);
        // The bottom edge stops at the view's bottom, as the other corners stop at its edges.
        B = std::max(0.0, T - height);
        break;
    }
    case kZoneBottomRight: {
        const double r = std::max(p.x(), L + 10);
        const double height = std::min(T, static_cast<double>(static_cast<float>((r - L) * ph / pw)));
        const double width = static_cast<float>(height * pw / ph);
        R = std::min(r, L + width);
        B = T - height;
        break;
    }
    case kZoneLeft:
    case kZoneRight:
    case kZoneTop:
    case kZoneBottom: return std::nullopt;
    default: return box;
    }
    return fromEdges(L, B, R, T);
}

}  // namespace

std::optional<QRectF> dragWaterBox(WaterZone zone, const QRectF& box, const QPointF& p, const QSizeF& view,
                                   bool keepAspect, const QSizeF& pictureSize, const QPointF& bodyOffset) {
    if (zone == kZoneBody) {
        double X = p.x() - bodyOffset.x(), Y = p.y() - bodyOffset.y();
        X = std::clamp(X, 0.0, std::max(0.0, view.width() - box.width()));
        Y = std::clamp(Y, 0.0, std::max(0.0, view.height() - box.height()));
        return QRectF(X, Y, box.width(), box.height());
    }
    if (keepAspect && pictureSize.width() > 0 && pictureSize.height() > 0)
        return aspectResize(zone, box, p, view, pictureSize);
    return freeResize(zone, box, p);
}

QRectF limitedWaterBox(const QRectF& box, const QSizeF& view) {
    QRectF r = box;
    r.setHeight(std::max(10.0, std::min(box.height(), view.height())));
    r.setWidth(std::max(10.0, std::min(box.width(), view.width())));
    // Moved back over the picture where it sticks out.
    r.moveLeft(std::clamp(r.x(), 0.0, std::max(0.0, view.width() - r.width())));
    r.moveTop(std::clamp(r.y(), 0.0, std::max(0.0, view.height() - r.height())));
    return r;
}

QRectF fractionsOfView(const QRectF& box, const QSizeF& view) {
    if (view.width() <= 0 || view.height() <= 0) return {};
    return QRectF(box.x() / view.width(), box.y() / view.height(), box.width() / view.width(),
                  box.height() / view.height());
}

}  // namespace kestrel::editor
