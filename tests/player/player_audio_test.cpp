// The sound path without a sound device: the audio decode thread fills the ring with the mix,
// timed on the source time line, and starts over where it is told.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "engine/player/audio_worker.h"
#include "tests/player/player_test_helpers.h"

namespace kestrel::test {
namespace {

// Reads up to frames sample frames from the ring, waiting for the decode thread as needed.
std::vector<float> drain(player::AudioRing& ring, size_t frames) {
    std::vector<float> out(frames * player::AudioRing::kChannels);
    size_t got = 0;
    for (int tries = 0; tries < 500 && got < frames; ++tries) {
        got += ring.read(out.data() + got * player::AudioRing::kChannels, frames - got);
        if (got < frames) QTest::qWait(10);
    }
    out.resize(got * player::AudioRing::kChannels);
    return out;
}

double rms(const std::vector<float>& s) {
    double sum = 0;
    for (float v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

TEST(PlayerAudio, MixIsTimedOnTheSourceAndRestartsWhereAsked) {
    auto ring = std::make_shared<player::AudioRing>();
    auto worker = player::AudioWorker::create(standardClip(), ring);
    ASSERT_NE(worker, nullptr);
    engine::AudioSettings mix;
    worker->restart(0, mix, -1);
    std::vector<float> first = drain(*ring, player::AudioRing::kSampleRate / 4);
    EXPECT_EQ(first.size(), size_t(player::AudioRing::kSampleRate / 4 * 2));
    EXPECT_GT(rms(first), 0.05);  // the sine tone is there
    EXPECT_NEAR(double(ring->readPositionUs()), 250000.0, 30000.0);

    mix.main_enabled = false;  // silenced, nothing else to hear: the sound ends
    worker->restart(1000000, mix, -1);
    QTRY_VERIFY_WITH_TIMEOUT(worker->reachedEnd(), 5000);

    mix.main_enabled = true;
    mix.main_volume = 0.0;
    worker->restart(1000000, mix, 7);  // an index that names no stream takes the default one
    std::vector<float> muted = drain(*ring, 4800);
    EXPECT_EQ(muted.size(), size_t(4800 * 2));
    EXPECT_LT(rms(muted), 1e-4);
    EXPECT_NEAR(double(ring->readPositionUs()), 1100000.0, 30000.0);
}

TEST(PlayerAudio, MusicMovesWithThePlaybackStart) {
    engine::AudioSettings mix;
    engine::MusicTrack track;
    track.path = "music.m4a";
    track.source_start_us = 0;
    track.source_end_us = 4000000;
    track.timeline_start_us = 2000000;
    track.timeline_end_us = 6000000;
    mix.music = {track};
    // From 3 s on, the track already plays for 1 s: it starts at once, 1 s into the music.
    engine::AudioSettings from = player::mixFrom(mix, 3000000, 10000000);
    ASSERT_EQ(from.music.size(), 1u);
    EXPECT_EQ(from.music[0].timeline_start_us, 0);
    EXPECT_EQ(from.music[0].timeline_end_us, 3000000);
    EXPECT_EQ(from.music[0].source_start_us, 1000000);
    EXPECT_EQ(from.cut_start_us, 3000000);
    EXPECT_EQ(from.output_duration_us, 7000000);
    // Past its end the track is left out.
    EXPECT_TRUE(player::mixFrom(mix, 6500000, 10000000).music.empty());
}

}  // namespace
}  // namespace kestrel::test
