#include "session/edit/edit_state_checks.h"

namespace kestrel::session {
namespace {

bool inRange(int32_t value, int32_t limit) { return value >= -limit && value <= limit; }

}  // namespace

QString editStateRefusal(const EditState& state, const kestrel::model::SimpleData& source) {
    // A range is either unset (both 0) or a start before its stop inside the file. Half a frame
    // of slack on the stop: the fields hold milliseconds, the duration is rounded too.
    const bool rangeSet = state.trimStart_us != 0 || state.trimStop_us != 0;
    if (rangeSet) {
        if (state.trimStart_us < 0 || state.trimStop_us <= state.trimStart_us)
            return QStringLiteral("EditRefusedTrimOrderMessage");
        const double duration_us = double(source.sourceData.duration) * 1000000.0;
        if (duration_us > 0 && double(state.trimStop_us) > duration_us + 20000.0)
            return QStringLiteral("EditRefusedTrimLengthMessage");
    }
    if (state.quarterTurns < 0 || state.quarterTurns > 3) return QStringLiteral("EditRefusedValueMessage");
    const kestrel::model::RECT& m = state.cropMargins;
    if (m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0) return QStringLiteral("EditRefusedCropMessage");
    int32_t width = 0, height = 0;
    turnedFrameSize(state, source.sourceData.width, source.sourceData.height, &width, &height);
    if (width > 0 && height > 0 && (m.left + m.right >= width || m.top + m.bottom >= height))
        return QStringLiteral("EditRefusedCropMessage");
    // The effect panel's slider ranges: brightness -255..255, contrast and saturation -100..100.
    if (!inRange(state.brightness, 255) || !inRange(state.contrast, 100) || !inRange(state.saturation, 100))
        return QStringLiteral("EditRefusedValueMessage");
    if (!(state.speed > 0.0) || state.speed > 16.0) return QStringLiteral("EditRefusedValueMessage");
    if (state.originalVolume < 0.0 || state.originalVolume > 2.0) return QStringLiteral("EditRefusedValueMessage");
    return QString();
}

}  // namespace kestrel::session
