#include "editor/shutter_sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "services/language.h"

namespace kestrel::editor {
namespace {

class DeviceShutterSound : public ShutterSound {
public:
    void play() override {
        // No output device (a server, a test run): nothing to play on, and nothing to load.
        if (QMediaDevices::audioOutputs().isEmpty()) return;
        if (!effect_) {
            effect_ = std::make_unique<QSoundEffect>();
            effect_->setSource(
                QUrl::fromLocalFile(services::Language::resourceBundlePath() + QStringLiteral("/Capture.wav")));
        }
        effect_->play();
    }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace

std::unique_ptr<ShutterSound> makeDeviceShutterSound() { return std::make_unique<DeviceShutterSound>(); }

}  // namespace kestrel::editor
