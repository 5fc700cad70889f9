#pragma once
// One sound track of a virtual video: a stretch of a file placed on the video's time line, at a
// volume factor. Its engine track is made when a virtual video adds it and released with that
// video or by removing it; a copy holds no engine track.
#include <QString>

#include <cstdint>
#include <memory>

namespace kestrel::session {

class VEVirualVideo;

class VEAudio {
public:
    VEAudio() = default;
    // The file's remembered access is taken up; no engine track yet.
    explicit VEAudio(const QString& path);
    ~VEAudio();
    VEAudio& operator=(const VEAudio&) = delete;

    void* hAudio() const { return audio_; }
    // The settings without an engine track.
    std::unique_ptr<VEAudio> copy() const;

    QString filePath;
    // The stretch of the file (end 0: to its end) and where it plays on the video's time line.
    int64_t sourceStart_us = 0, sourceEnd_us = 0;
    int64_t timelineStart_us = 0, timelineEnd_us = 0;
    double audioSpeed = 1.0;
    float audioFactor = 1.0f;
    int64_t audioFadeIn = 0, audioFadeOut = 0;
    int32_t audioEffect = 0, audioNsLevel = 0;

private:
    friend class VEVirualVideo;
    VEAudio(const VEAudio& other) = default;
    // The engine released the track with its video.
    void forget() { audio_ = nullptr, video_ = nullptr; }

    void* audio_ = nullptr;
    VEVirualVideo* video_ = nullptr;
};

}  // namespace kestrel::session
