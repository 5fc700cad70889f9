#include "widgets/cut_progress_geometry.h"

#include <algorithm>

#include "widgets/value_math.h"

namespace kestrel::widgets::cutbar {

SpanFrames spanUpdate(const QRectF& left, const QRectF& right, const SpanFrames& current, bool keepOutside) {
    SpanFrames next = current;
    const double tintX = left.x() + (keepOutside ? 0.0 : left.width());
    const double rightEdge = right.x() + (keepOutside ? right.width() : 0.0);
    next.tint = QRectF(tintX, current.tint.y(), rightEdge - tintX, current.tint.height());
    next.strip = next.tint;
    next.band = QRectF(tintX, current.band.y(), std::min(current.band.width(), next.tint.width()),
                       current.band.height());
    return next;
}

double tickXForProgress(float progress, const QRectF& track, double barWidth, double tw) {
    return std::min(track.x() + placeable(progress) * track.width() - tw / 2, barWidth - tw);
}

float lowerHandleX(float value, const QRectF& track, double rightHandleX, double wL, bool keepOutside) {
    double offset = std::max(placeable(value) * track.width(), 0.0);
    offset = std::min(offset, rightHandleX);
    return float(track.x() + offset - (keepOutside ? 0.0 : wL));
}

float upperHandleX(float value, const QRectF& track, double barWidth, double tw, double wR, bool keepOutside) {
    const double position = limited(track.x() + placeable(value) * track.width(), tw / 2, barWidth - tw / 2);
    return float(position - (keepOutside ? wR : 0.0));
}

double pressTickX(double pointerX, const QRectF& track, double tw) {
    return limited(pointerX, 0.0, track.x() + track.width()) - tw / 2;
}

double dragTickX(double pointerX, const QRectF& track, double tw) {
    return limited(pointerX, track.x() - tw / 2, track.x() + track.width() - tw / 2);
}

float seekFraction(double tickX, const QRectF& track, double tw) {
    return float(safeRatio(std::max(tickX - track.x(), 0.0), track.width() - tw));
}

float tickCentreFraction(double tickX, const QRectF& track, double tw) {
    return float(safeRatio(tickX + tw / 2 - track.x(), track.width()));
}

double dragLeftHandleX(double pointerX, const QRectF& track, double wL, double rightHandleX) {
    const double centre = limited(pointerX, track.x() - wL / 2, rightHandleX - wL / 2);
    return centre - wL / 2;
}

double dragRightHandleX(double pointerX, const QRectF& track, double wR, double leftHandleX, double wL) {
    const double centre = std::min(pointerX, track.width() + 1.5 * wR);
    return std::max(centre - wR / 2, leftHandleX + wL);
}

double tickXAfterLeftDrag(double leftHandleX, double wL, double tw, bool keepOutside) {
    return leftHandleX + (keepOutside ? 0.0 : wL) - tw / 2;
}

double tickXAfterRightDrag(double rightHandleX, double wR, double tw, bool keepOutside) {
    return rightHandleX + (keepOutside ? wR : 0.0) - tw / 2;
}

float edgeFraction(double edgeX, const QRectF& track) {
    return limitedUnit(float(safeRatio(edgeX - track.x(), track.width())));
}

bool handleHit(const QPointF& pointer, const QRectF& handle, const QRectF& track, bool handleHidden) {
    if (handleHidden) return false;
    const bool insideWidth = handle.x() < pointer.x() && pointer.x() < handle.x() + handle.width();
    return insideWidth && pointer.y() < track.y() + track.height() / 2;
}

float musicBandWidth(float duration, float lowerValue, float upperValue, const QRectF& track) {
    return float(std::min(placeable(duration), placeable(double(upperValue) - lowerValue)) * track.width());
}

}  // namespace kestrel::widgets::cutbar
