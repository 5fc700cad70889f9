#include "session/export/hardware_encoding.h"

#include "engine/core/hardware_encoder.h"

#include <QDebug>

namespace kestrel::session {

bool hardwareEncodingAvailable() {
    static const bool available = [] {
        const std::string encoder = engine::firstWorkingHardwareEncoder();
        qDebug().noquote() << "hardware encoder:" << (encoder.empty() ? QStringLiteral("none") : QString::fromStdString(encoder));
        return !encoder.empty();
    }();
    return available;
}

}  // namespace kestrel::session
