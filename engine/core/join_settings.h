#pragma once
// What a join job is asked to do: the clips in order and the output settings.
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::engine {

enum class JoinTransitionKind : int {
    None = 0,
    Left = 1,     // the next clip slides in from the right, pushing this one out to the left
    Top = 2,      // the next clip slides in from below
    FadeOut = 3,  // this clip fades to black, the next fades in
};

struct JoinClip {
    int64_t id = 0;
    std::string path;
    int64_t start_us = 0;  // (0, 0) takes the whole file
    int64_t end_us = 0;
    double volume = 1.0;   // factor on the clip's sound; 0 silences it
    JoinTransitionKind transition = JoinTransitionKind::None;  // into the next clip
    int64_t transition_us = 0;
};

struct JoinSettings {
    std::string output_path;
    std::string video_codec;   // empty: keep the clips' codec; "copy": copy packets
    std::string audio_codec;
    int video_kbps = 0;        // 0: the encoder's default
    int audio_kbps = 0;
    double fps = 0;            // 0: the first clip's frame rate
    int width = 0, height = 0; // 0: the first clip's picture size
    int channels = 0, sample_rate = 0;
    bool force_encode = false; // every picture and sound coded again, nothing copied
    std::vector<JoinClip> clips;
};

}  // namespace kestrel::engine
