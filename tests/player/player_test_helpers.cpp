#include "tests/player/player_test_helpers.h"

#include <QDir>
#include <QStandardPaths>

#include "tests/support/media_fixtures.h"

namespace kestrel::test {

const std::string& standardClip() {
    static const std::string path = [] {
        const std::string p = QDir::tempPath().toStdString() + "/player_standard.mp4";
        FixtureSpec spec;
        spec.duration_s = 2.0;
        spec.gop = 12;
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

std::unique_ptr<player::DIVuverIzizud> openPlayer(const std::string& path) {
    return player::DIVuverIzizud::initWithString(path, QRectF(0, 0, 320, 240));
}

std::vector<unsigned char> snapshotRGB(player::DIVuverIzizud& p, int* width, int* height) {
    int32_t w = p.frameWidth(), h = p.frameHeight();
    std::vector<uint8_t> bgra(size_t(w) * size_t(h) * 4);
    if (w <= 0 || h <= 0 || p.Snapshot(&w, &h, bgra.data()) != 1) return {};
    std::vector<unsigned char> rgb(size_t(w) * size_t(h) * 3);
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
        rgb[i * 3] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4];
    }
    *width = w;
    *height = h;
    return rgb;
}

}  // namespace kestrel::test
