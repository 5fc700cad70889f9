#include "tests/support/oracle/sound_levels.h"

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>

namespace kestrel::test {
namespace {

constexpr int kSampleRate = 48000;
constexpr size_t kWindowSamples = kSampleRate / 10;
constexpr size_t kTransformSize = 8192;  // the window zero-padded to a power of two
constexpr double kToneFloorDbfs = -60;

void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2 * M_PI / double(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

double dominantFrequency(const float* samples, size_t count) {
    std::vector<std::complex<double>> spectrum(kTransformSize);
    for (size_t i = 0; i < count && i < kTransformSize; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(count - 1));
        spectrum[i] = samples[i] * hann;
    }
    fft(spectrum);
    size_t peak = 1;
    for (size_t k = 2; k < kTransformSize / 2 - 1; ++k)
        if (std::abs(spectrum[k]) > std::abs(spectrum[peak])) peak = k;
    // The peak between bins, from the log magnitudes of its neighbours (Gaussian fit).
    const double a = std::log(std::abs(spectrum[peak - 1]) + 1e-12);
    const double b = std::log(std::abs(spectrum[peak]) + 1e-12);
    const double c = std::log(std::abs(spectrum[peak + 1]) + 1e-12);
    const double curve = a - 2 * b + c;
    const double offset = curve < 0 ? 0.5 * (a - c) / curve : 0;
    return (double(peak) + offset) * kSampleRate / double(kTransformSize);
}

struct WavSamples {
    int channels = 0;
    std::vector<float> samples;  // interleaved
};

uint32_t littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | uint8_t(bytes[at + i]);
    return value;
}

// The channel count and the float samples of a WAV stream written to a pipe (its sizes unknown,
// so the data runs to the end).
WavSamples parseWav(const QByteArray& bytes) {
    WavSamples wav;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return wav;
    qsizetype at = 12;
    int channels = 0;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const uint32_t size = littleEndian(bytes, at + 4, 4);
        at += 8;
        if (id == "fmt " && at + 4 <= bytes.size()) channels = int(littleEndian(bytes, at + 2, 2));
        if (id == "data") {
            wav.samples.resize(size_t(bytes.size() - at) / sizeof(float));
            std::memcpy(wav.samples.data(), bytes.constData() + at, wav.samples.size() * sizeof(float));
            wav.channels = channels;
            return wav;
        }
        at += qsizetype(size) + qsizetype(size & 1);
    }
    return wav;
}

std::string number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string windowText(size_t i) {
    return "window " + number(double(i) * SoundLevels::kWindowS, 1) + "-" +
           number(double(i + 1) * SoundLevels::kWindowS, 1) + " s";
}

// The windows wholly inside [from_s, to_s).
std::pair<size_t, size_t> windowsWithin(double from_s, double to_s) {
    const double first = std::ceil(from_s / SoundLevels::kWindowS - 1e-6);
    const double end = std::floor(to_s / SoundLevels::kWindowS + 1e-6);
    return {size_t(std::max(0.0, first)), size_t(std::max(0.0, end))};
}

// Checks every window inside [from_s, to_s) with `fits`; the failure names the first that does not.
template <typename Fits>
::testing::AssertionResult everyWindow(const SoundLevels& levels, double from_s, double to_s, const std::string& want,
                                       Fits fits) {
    if (!levels.error.empty()) return ::testing::AssertionFailure() << levels.error;
    const auto [first, end] = windowsWithin(from_s, to_s);
    if (first >= end)
        return ::testing::AssertionFailure() << "no whole 100 ms window lies within " << number(from_s, 2) << "-"
                                             << number(to_s, 2) << " s";
    for (size_t i = first; i < end; ++i) {
        if (i >= levels.level_dbfs.size())
            return ::testing::AssertionFailure() << levels.path << " audio " << levels.audio_stream << ": "
                                                 << windowText(i) << " lies past the end of the sound ("
                                                 << number(levels.durationS(), 1) << " s); want " << want
                                                 << "\n" << levels.describe();
        std::string why;
        if (!fits(i, why))
            return ::testing::AssertionFailure() << levels.path << " audio " << levels.audio_stream << ": "
                                                 << windowText(i) << ": " << why << " (want " << want << " from "
                                                 << number(from_s, 2) << " to " << number(to_s, 2) << " s)\n"
                                                 << levels.describe();
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

std::vector<SoundSpan> SoundLevels::spansAbove(double threshold_dbfs) const {
    std::vector<SoundSpan> spans;
    for (size_t i = 0; i < level_dbfs.size(); ++i) {
        if (level_dbfs[i] < threshold_dbfs) continue;
        const double start = double(i) * kWindowS, end = double(i + 1) * kWindowS;
        if (!spans.empty() && std::abs(spans.back().end_s - start) < 1e-9) spans.back().end_s = end;
        else spans.push_back({start, end});
    }
    return spans;
}

std::string SoundLevels::describe(double threshold_dbfs) const {
    std::string text = path + " audio " + std::to_string(audio_stream) + ", " + number(durationS(), 1) + " s: ";
    if (!error.empty()) return text + error;
    const auto spans = spansAbove(threshold_dbfs);
    text += "at or above " + number(threshold_dbfs, 0) + " dBFS ";
    if (spans.empty()) return text + "nowhere";
    for (size_t i = 0; i < spans.size(); ++i)
        text += (i ? ", " : "") + number(spans[i].start_s, 1) + "-" + number(spans[i].end_s, 1) + " s";
    return text;
}

SoundLevels soundLevels(const std::string& path, int audio_stream) {
    SoundLevels levels;
    levels.path = path;
    levels.audio_stream = audio_stream;
    QProcess ffmpeg;
    // aresample pads a late start and fills gaps with silence, so windows follow the time line.
    // WAV keeps every channel as it is and says how many there are.
    ffmpeg.start("ffmpeg", {"-hide_banner", "-nostdin", "-v", "error", "-filter_threads", "1", "-threads", "1", "-i",
                            QString::fromStdString(path), "-map", QString("0:a:%1").arg(audio_stream), "-af",
                            QString("aresample=%1:async=1:first_pts=0").arg(kSampleRate), "-map_metadata", "-1",
                            "-bitexact", "-c:a", "pcm_f32le", "-f", "wav", "-"});
    if (!ffmpeg.waitForStarted(120000) || !ffmpeg.waitForFinished(600000) || ffmpeg.exitCode() != 0) {
        levels.error = "ffmpeg could not decode audio stream " + std::to_string(audio_stream) + " of " + path + ": " +
                       ffmpeg.readAllStandardError().toStdString();
        return levels;
    }
    const WavSamples wav = parseWav(ffmpeg.readAllStandardOutput());
    if (wav.channels <= 0) {
        levels.error = "ffmpeg's decoded sound of " + path + " is no WAV stream";
        return levels;
    }
    const size_t channels = size_t(wav.channels);
    const size_t frames = wav.samples.size() / channels;
    // A last window shorter than half a window is left out: too short to say sound or silence.
    for (size_t start = 0; start + kWindowSamples / 2 <= frames; start += kWindowSamples) {
        const size_t count = std::min(kWindowSamples, frames - start);
        double squares = 0;
        std::vector<float> mixed(count);
        for (size_t i = 0; i < count; ++i)
            for (size_t c = 0; c < channels; ++c) {
                const float v = wav.samples[(start + i) * channels + c];
                squares += double(v) * double(v);
                mixed[i] += v / float(channels);
            }
        const double rms = std::sqrt(squares / double(count * channels));
        const double dbfs = std::max(SoundLevels::kFloorDbfs, rms > 0 ? 20 * std::log10(rms) : SoundLevels::kFloorDbfs);
        levels.level_dbfs.push_back(dbfs);
        levels.dominant_hz.push_back(dbfs < kToneFloorDbfs ? 0 : dominantFrequency(mixed.data(), count));
    }
    return levels;
}

::testing::AssertionResult soundThroughout(const SoundLevels& levels, double from_s, double to_s, double min_dbfs) {
    return everyWindow(levels, from_s, to_s, "sound at or above " + number(min_dbfs, 0) + " dBFS",
                       [&](size_t i, std::string& why) {
                           why = "level " + number(levels.level_dbfs[i], 1) + " dBFS";
                           return levels.level_dbfs[i] >= min_dbfs;
                       });
}

::testing::AssertionResult silenceThroughout(const SoundLevels& levels, double from_s, double to_s, double max_dbfs) {
    return everyWindow(levels, from_s, to_s, "silence at or below " + number(max_dbfs, 0) + " dBFS",
                       [&](size_t i, std::string& why) {
                           why = "level " + number(levels.level_dbfs[i], 1) + " dBFS";
                           return levels.level_dbfs[i] <= max_dbfs;
                       });
}

::testing::AssertionResult toneThroughout(const SoundLevels& levels, double from_s, double to_s, double hz,
                                          double tolerance_hz) {
    return everyWindow(levels, from_s, to_s, "a tone of " + number(hz, 0) + " Hz",
                       [&](size_t i, std::string& why) {
                           const double hz_here = levels.dominant_hz[i];
                           why = hz_here > 0 ? "strongest frequency " + number(hz_here, 0) + " Hz"
                                             : "silence (" + number(levels.level_dbfs[i], 1) + " dBFS)";
                           return levels.dominant_hz[i] > 0 && std::abs(levels.dominant_hz[i] - hz) <= tolerance_hz;
                       });
}

}  // namespace kestrel::test
