#pragma once
// The objects behind the editing engine's handles. All composition data is guarded by one
// process-wide mutex; the preview and the export copy what they need into a plan under it.
#include "engine/editing/beauty_effects.h"
#include "engine/editing/rdve.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kestrel::editing {

class PreviewPlayer;
class EditJob;
class PreviewSurface;
struct StereoConfig;

std::mutex& compositionMutex();

struct VirtualVideo;
struct Scene;

struct Media {
    uint64_t id = 0;
    std::string path;
    Scene* scene = nullptr;
    int64_t cut_start_us = 0, cut_end_us = 0;     // (0, 0): the whole file
    bool timeline_set = false;                    // unset: the media fills its scene
    int64_t timeline_start_us = 0, timeline_end_us = 0;
    SLIDE_RECT clip{0, 0, 0, 0};                  // empty: the whole picture
    SLIDE_RECT show{0, 0, 0, 0};                  // empty: the whole frame
    int display_mode = 0;
    float factor = 1.0f;
    int flip = 0;                                 // 1 left-right, 2 top-bottom, 3 both
    int rotate_deg = 0;
    std::string lookup_path;                      // .cube colour table; empty: none
    BeautySettings beauty;
};

struct Scene {
    int64_t start_us = 0, end_us = 0;
    VirtualVideo* video = nullptr;
    std::vector<std::unique_ptr<Media>> media;
    // Set for a filter scene (rdVEAddFilter): it holds no media and packs the composed picture.
    std::shared_ptr<const StereoConfig> filter;
};

struct AudioTrack {
    uint64_t id = 0;
    std::string path;
    VirtualVideo* video = nullptr;
    int64_t source_start_us = 0, source_end_us = 0;
    int64_t timeline_start_us = 0, timeline_end_us = 0;
    double factor = 1.0;
};

struct OutputSettings {
    std::string path;
    std::string codec = "mp4";
    int video_kbps = 4000;
    int audio_kbps = 128;
    int channels = 2;
    int sample_rate = 44100;
};

struct VirtualVideo {
    VirtualVideo();
    ~VirtualVideo();

    int width = 0, height = 0;
    float display_ratio = 0;
    float fps = 30.0f;
    float volume = 1.0f;
    std::vector<std::unique_ptr<Scene>> scenes;   // adding order is the stacking order
    std::vector<std::unique_ptr<AudioTrack>> audio;
    OutputSettings output;

    std::shared_ptr<PreviewPlayer> preview;
    std::shared_ptr<PreviewSurface> surface;
    std::shared_ptr<EditJob> job;
    bool stop_before_job = false;                 // a stop that came before the job was made
};

uint64_t nextObjectId();

}  // namespace kestrel::editing
