#pragma once
// A convert job: its settings, the probe of its input, and the blocking run.
#include "engine/core/job.h"
#include "engine/core/media_input.h"
#include "engine/mediacore/convert_settings.h"

#include <memory>
#include <mutex>
#include <string>

namespace kestrel::mediacore {

class ConvertJob : public engine::Job {
public:
    // Opens the input for the stream queries; false when it holds no usable media.
    bool setInput(const std::string& path);
    const engine::MediaInput* input() const { return input_.get(); }

    // Setters lock this while they change the settings; Start copies them.
    std::mutex& settingsMutex() { return settings_mutex_; }
    ConvertSettings& settings() { return settings_; }

protected:
    engine::ResultCode run() override;

private:
    std::string input_path_;
    std::unique_ptr<engine::MediaInput> input_;
    std::mutex settings_mutex_;
    ConvertSettings settings_;
};

}  // namespace kestrel::mediacore
