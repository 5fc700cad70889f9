#pragma once
// The level of an audio stream per 100 ms window, so a test can say where sound must be and
// where silence must be, and which tone plays.
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrel::test {

struct SoundSpan {
    double start_s = 0, end_s = 0;
};

struct SoundLevels {
    static constexpr double kWindowS = 0.1;
    static constexpr double kFloorDbfs = -120;  // the level of digital silence

    std::string path;
    int audio_stream = 0;
    // One figure per window [i * 0.1 s, (i + 1) * 0.1 s) of the stream's time line (gaps and a
    // late start count as silence): RMS level in dBFS over the samples of every channel (a
    // full-scale square wave is 0 dBFS, a full-scale sine -3 dBFS), at least kFloorDbfs.
    std::vector<double> level_dbfs;
    // The strongest frequency in each window, of the channels mixed to one (Hann-windowed DFT,
    // about 1 Hz exact for a pure tone); 0 where the window is quieter than -60 dBFS.
    std::vector<double> dominant_hz;
    std::string error;  // the stream could not be decoded

    double durationS() const { return double(level_dbfs.size()) * kWindowS; }
    // Where the level is at least threshold_dbfs, as spans of whole windows.
    std::vector<SoundSpan> spansAbove(double threshold_dbfs) const;
    // "sound.mka audio 0, 3.0 s: above -40 dBFS 0.0-1.0 s, 2.0-3.0 s".
    std::string describe(double threshold_dbfs = -40) const;
};

// Decodes the audio stream (numbered among the file's audio streams) with the ffmpeg command
// line at 48 kHz and measures each 100 ms window.
SoundLevels soundLevels(const std::string& path, int audio_stream = 0);

// Every window inside [from_s, to_s) is at least min_dbfs loud; the failure names the first
// window that is not (a window past the stream's end fails too).
::testing::AssertionResult soundThroughout(const SoundLevels& levels, double from_s, double to_s,
                                           double min_dbfs = -40);
// Every window inside [from_s, to_s) is at most max_dbfs loud.
::testing::AssertionResult silenceThroughout(const SoundLevels& levels, double from_s, double to_s,
                                             double max_dbfs = -60);
// Every window inside [from_s, to_s) has its strongest frequency within tolerance_hz of hz.
::testing::AssertionResult toneThroughout(const SoundLevels& levels, double from_s, double to_s, double hz,
                                          double tolerance_hz = 10);

}  // namespace kestrel::test
