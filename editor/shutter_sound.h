#pragma once
// The click a snapshot makes. The window asks for it after a picture was written; where the
// machine has no sound output it stays silent.
#include <memory>

class QObject;

namespace kestrel::editor {

class ShutterSound {
public:
    virtual ~ShutterSound() = default;
    virtual void play() = 0;
};

// Plays "Capture.wav" of the resource bundle on the default sound output, when there is one.
std::unique_ptr<ShutterSound> makeDeviceShutterSound();

}  // namespace kestrel::editor
