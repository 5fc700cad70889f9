// Writes the snapshot click, "Capture.wav": two short bursts of filtered noise (the shutter
// opening and closing), 16-bit mono PCM at 44.1 kHz. Synthesised here so the bundle carries
// no sound of unknown origin. Usage: kestrel_shutter_wav OUTPUT.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kLengthS = 0.16;

struct Burst {
    double start_s;
    double decay_s;
    double level;
};

void put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {char(v & 0xff), char(v >> 8)};
    out.write(b, 2);
}
void put32(std::ofstream& out, uint32_t v) {
    const char b[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char(v >> 24)};
    out.write(b, 4);
}

std::vector<int16_t> synthesise() {
    const Burst bursts[] = {{0.0, 0.012, 0.9}, {0.055, 0.02, 0.7}};
    const int count = int(kLengthS * kRate);
    std::vector<int16_t> samples(count);
    uint32_t seed = 0x2545f491u;  // fixed: the same file on every build
    double low = 0;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = double(int32_t(seed >> 8) - (1 << 23)) / double(1 << 23);
        low += 0.35 * (noise - low);  // takes the hiss off the top
        const double t = double(i) / kRate;
        double envelope = 0;
        for (const Burst& b : bursts)
            if (t >= b.start_s) envelope += b.level * std::exp(-(t - b.start_s) / b.decay_s);
        const double v = std::fmax(-1.0, std::fmin(1.0, low * envelope * 1.6));
        samples[i] = int16_t(std::lround(v * 32767));
    }
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    const std::vector<int16_t> samples = synthesise();
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (int16_t s : samples) put16(out, uint16_t(s));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
