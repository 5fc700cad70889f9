#pragma once
// Clips shared by the join tests, generated once per test program, and a small driver for the
// join calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/mediacore/media_join.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

namespace kestrel::test {

// One second clips unless named otherwise; all 320x240 at 25 fps with 44.1 kHz stereo sound.
struct JoinClips {
    std::string a, b;          // same parameters, different pictures, key frame every 5 frames
    std::string two_seconds;   // 2 s, same parameters as a
    std::string portrait;      // 240x320
    std::string silent;        // no sound
    std::string other_rates;   // 30 fps, 48 kHz mono
    std::string b_frames;      // 2 s with B-frames, key frame every 10 frames
    std::string b_frames_mkv;  // the same in Matroska, whose first pictures carry no decode time
    std::string turned;        // stored 320x240, tagged to be shown turned by 90 degrees
    std::string corrupt;       // random bytes with a video extension
};

inline const JoinClips& joinClips() {
    static TempDir* folder = new TempDir();  // lives for the whole program
    static const JoinClips clips = [] {
        JoinClips c;
        FixtureSpec base;
        base.duration_s = 1.0;
        base.gop = 5;
        // The base clip with a few fields changed.
        auto make = [&](const char* name, auto&& change) {
            FixtureSpec spec = base;
            change(spec);
            const std::string path = folder->file(name);
            makeMedia(path, spec);
            return path;
        };
        c.a = make("a.mp4", [](FixtureSpec&) {});
        c.b = make("b.mp4", [](FixtureSpec& s) { s.video_source = "smptebars"; });
        c.two_seconds = make("two.mp4", [](FixtureSpec& s) { s.duration_s = 2.0; });
        c.portrait = make("portrait.mp4", [](FixtureSpec& s) {
            s.width = 240;
            s.height = 320;
            s.extra_args = {"-vf", "drawbox=c=white:t=fill"};
        });
        c.silent = make("silent.mp4", [](FixtureSpec& s) { s.audio_streams = 0; });
        c.other_rates = make("other.mp4", [](FixtureSpec& s) {
            s.frame_rate = "30";
            s.sample_rate = 48000;
            s.channels = 1;
        });
        c.b_frames = make("bframes.mp4", [](FixtureSpec& s) {
            s.duration_s = 2.0;
            s.gop = 10;
            s.extra_args = {"-bf", "3"};
        });
        c.b_frames_mkv = make("bframes.mkv", [](FixtureSpec& s) {
            s.duration_s = 2.0;
            s.extra_args = {"-bf", "3"};
        });
        c.turned = make("turned.mp4", [](FixtureSpec& s) { s.rotation_deg = 90; });
        c.corrupt = folder->file("corrupt.mp4");
        std::string noise(20000, '\0');
        uint32_t x = 12345;
        for (char& ch : noise) ch = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
        writeBytes(c.corrupt, noise);
        return c;
    }();
    return clips;
}

struct ClipRequest {
    std::string path;
    int64_t start_us = 0;
    int64_t end_us = 0;
    double volume = 1.0;
    int transition = 0;
    int64_t transition_us = 0;
};

// Adds the clips to a new job and sets the output; the caller starts and closes it.
inline void* prepareJoin(const std::vector<ClipRequest>& clips, const std::string& output,
                                 const char* video_codec = nullptr, const char* audio_codec = nullptr) {
    void* job = apiMediaJoinCreate();
    EXPECT_NE(job, nullptr);
    EXPECT_GE(apiMediaJoinSetOutputPath(job, output.c_str()), 1);
    if (video_codec) {
        EXPECT_GE(apiMediaJoinSetVideoCodec(job, video_codec), 1);
    }
    if (audio_codec) {
        EXPECT_GE(apiMediaJoinSetAudioCodec(job, audio_codec), 1);
    }
    for (const ClipRequest& c : clips) {
        const int64_t id = apiMediaJoinAddMediaClip(job, c.path.c_str(), c.start_us, c.end_us);
        EXPECT_GE(id, 1) << c.path;
        if (c.volume != 1.0) {
            EXPECT_GE(apiMediaJoinSetAudioVolumn(job, id, c.volume), 1);
        }
        if (c.transition) {
            EXPECT_GE(apiMediaJoinSetTransition(job, id, c.transition, c.transition_us), 1);
        }
    }
    return job;
}

// Joins and returns Start's result.
inline int32_t runJoin(const std::vector<ClipRequest>& clips, const std::string& output,
                       const char* video_codec = nullptr, const char* audio_codec = nullptr) {
    void* job = prepareJoin(clips, output, video_codec, audio_codec);
    const int32_t result = apiMediaJoinStart(job);
    apiMediaJoinClose(job);
    return result;
}

// What ffmpeg reports while decoding the whole file; empty when it decodes cleanly.
inline std::string decodeErrors(const std::string& path) {
    std::string out;
    runCommand("ffmpeg -hide_banner -nostdin -v error -i '" + path + "' -f null - 2>&1", &out);
    return out;
}

// Loudest sample of the sound between from_s and to_s, in dB, from ffmpeg's volumedetect.
inline double maxVolumeDb(const std::string& path, double from_s, double to_s) {
    std::string out;
    runCommand("ffmpeg -hide_banner -nostdin -ss " + std::to_string(from_s) + " -to " + std::to_string(to_s) +
                   " -i '" + path + "' -vn -af volumedetect -f null - 2>&1",
               &out);
    const auto at = out.find("max_volume:");
    if (at == std::string::npos) return std::nan("");  // no sound at all: fails every comparison
    return std::stod(out.substr(at + 11));
}

}  // namespace kestrel::test
