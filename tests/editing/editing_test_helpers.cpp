#include "tests/editing/editing_test_helpers.h"

#include "engine/editing/rdve.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <regex>

namespace kestrel::test {

std::string solidClip(const TempDir& dir, const std::string& name, const std::string& colour, double duration_s) {
    FixtureSpec spec;
    spec.duration_s = duration_s;
    spec.video_source = "color";
    spec.extra_args = {"-vf", "drawbox=x=0:y=0:w=iw:h=ih:t=fill:c=" + colour};
    spec.width = 160, spec.height = 120;
    std::string path = dir.file(name + ".mp4");
    makeMedia(path, spec);
    return path;
}

void* quadVideo(const std::vector<std::string>& files) {
    void* video = rdVEVirtualVideoCreate();
    EXPECT_EQ(rdVESetFrameSize(video, 320, 240), 1);
    const SLIDE_RECT cells[4] = {{0, 0, 0.5f, 0.5f}, {0.5f, 0, 1, 0.5f}, {0, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        void* scene = rdVECreateScene(0, 1000000);
        void* media = rdVESceneAddMedia(scene, files[i].c_str());
        EXPECT_NE(media, nullptr);
        EXPECT_EQ(rdVESetMediaDisplayMode(media, 3), 1);
        EXPECT_EQ(rdVESetMediaShowRect(media, cells[i]), 1);
        EXPECT_EQ(rdVEAddScene(video, scene), 1);
    }
    return video;
}

void expectColour(const std::vector<unsigned char>& rgb, int w, int x, int y, int r, int g, int b) {
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
    EXPECT_NEAR(p[0], r, 40) << x << "," << y;
    EXPECT_NEAR(p[1], g, 40) << x << "," << y;
    EXPECT_NEAR(p[2], b, 40) << x << "," << y;
}

double meanVolumeDb(const std::string& path) {
    std::string output;
    if (runCommand("ffmpeg -hide_banner -nostdin -i '" + path + "' -vn -af volumedetect -f null - 2>&1", &output) != 0)
        return 1;
    std::smatch match;
    static const std::regex mean("mean_volume: (-?[0-9.]+) dB");
    if (!std::regex_search(output, match, mean)) return 1;
    return std::stod(match[1].str());
}

}  // namespace kestrel::test
