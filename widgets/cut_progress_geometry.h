#pragma once
// The trim range bar's arithmetic, apart from any widget: where handles, span and tick go for a
// value, and which values a pointer position gives. Frames have a bottom-left origin; the track
// frame T carries x, width, y and height; tw, wL, wR are the tick and handle widths.
#include <QRectF>

namespace kestrel::widgets::cutbar {

// Frames of the parts the span update touches.
struct SpanFrames {
    QRectF tint;
    QRectF strip;
    QRectF band;
};

// The tint between the handles (normal: inside them; keep-outside: across them); the strip
// takes the tint's frame; the band starts at the tint and is never wider.
SpanFrames spanUpdate(const QRectF& left, const QRectF& right, const SpanFrames& current, bool keepOutside);

// Tick x for a play position: centred on the value position, never past the bar's right edge.
double tickXForProgress(float progress, const QRectF& track, double barWidth, double tw);
// Left handle x for a range start (both setters): the offset stays in [0, right handle x]. The
// span then starts on the value position, which is where a drag reads the start back from.
float lowerHandleX(float value, const QRectF& track, double rightHandleX, double wL, bool keepOutside);
// Right handle x for a range end: the value position stays in [tw/2, W - tw/2].
float upperHandleX(float value, const QRectF& track, double barWidth, double tw, double wR, bool keepOutside);

// A press off the handles: tick centre at the pointer, limited to [0, T.x + T.w].
double pressTickX(double pointerX, const QRectF& track, double tw);
// A tick drag: its left edge follows the pointer, its centre stays on the track.
double dragTickX(double pointerX, const QRectF& track, double tw);
// The seek value of a tick position: its left edge over the track width less one tick width.
float seekFraction(double tickX, const QRectF& track, double tw);
// The press and release value: the tick centre's fraction of the track.
float tickCentreFraction(double tickX, const QRectF& track, double tw);

// Left handle drag: its centre follows the pointer within [T.x - wL/2, right x - wL/2].
double dragLeftHandleX(double pointerX, const QRectF& track, double wL, double rightHandleX);
// Right handle drag: its centre at most T.w + 1.5 wR; it never passes the left handle.
double dragRightHandleX(double pointerX, const QRectF& track, double wR, double leftHandleX, double wL);
// Where the tick's left edge goes when a handle is dragged.
double tickXAfterLeftDrag(double leftHandleX, double wL, double tw, bool keepOutside);
double tickXAfterRightDrag(double rightHandleX, double wR, double tw, bool keepOutside);

// A span edge as a fraction of the track, in single precision, limited to [0, 1].
float edgeFraction(double edgeX, const QRectF& track);

// A press grabs a handle strictly inside its width and below the track's middle line.
bool handleHit(const QPointF& pointer, const QRectF& handle, const QRectF& track, bool handleHidden);

// Music band width for music of relative length d from the range start, in single precision.
float musicBandWidth(float duration, float lowerValue, float upperValue, const QRectF& track);

}  // namespace kestrel::widgets::cutbar
