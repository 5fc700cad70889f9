// Split screens against the same layout made by ffmpeg's own filters: every output frame must
// be the reference frame of the same number (cells scaled in place, black where nothing is).
#include "engine/editing/rdve.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrel::test;

namespace {

struct SplitCase {
    const char* name;
    int width, height;
    std::vector<SLIDE_RECT> cells;
    int display_mode;            // 3: fill the cell; 0: fit inside it, aspect kept
    std::string reference_graph;  // ffmpeg's filter graph for the same layout, inputs 0.., output [v]
};

std::string clipOf(const TempDir& dir, const std::string& name, const std::string& source) {
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.frame_rate = "30";
    spec.width = 320, spec.height = 240;
    spec.video_source = source;
    spec.audio_streams = 0;
    const std::string path = dir.file(name + ".mp4");
    makeMedia(path, spec);
    return path;
}

}  // namespace

TEST(EditingSplitScreen, EveryFrameIsTheFilterGraphsLayout) {
    const std::vector<SplitCase> cases = {
        {"quad",
         640,
         360,
         {{0, 0, 0.5f, 0.5f}, {0.5f, 0, 1, 0.5f}, {0, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 1, 1}},
         3,
         "[0:v]scale=320:180[a];[1:v]scale=320:180[b];[2:v]scale=320:180[c];[3:v]scale=320:180[d];"
         "[a][b][c][d]xstack=inputs=4:layout=0_0|w0_0|0_h0|w0_h0[v]"},
        // Fitted: each 4:3 picture keeps its shape in a tall half, black above and below.
        {"halves fitted",
         640,
         360,
         {{0, 0, 0.5f, 1}, {0.5f, 0, 1, 1}},
         0,
         "[0:v]scale=320:240,pad=320:360:0:60:black[a];[1:v]scale=320:240,pad=320:360:0:60:black[b];"
         "[a][b]hstack=inputs=2[v]"},
    };
    const std::vector<std::string> sources = {"testsrc2", "smptebars", "rgbtestsrc", "testsrc"};
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> clips;
        for (size_t i = 0; i < c.cells.size(); ++i) clips.push_back(clipOf(dir, "clip" + std::to_string(i), sources[i]));
        void* video = rdVEVirtualVideoCreate();
        ASSERT_EQ(rdVESetFrameSize(video, c.width, c.height), 1);
        ASSERT_EQ(rdVESetFPS(video, 30), 1);
        for (size_t i = 0; i < c.cells.size(); ++i) {
            void* scene = rdVECreateScene(0, 1000000);
            void* media = rdVESceneAddMedia(scene, clips[i].c_str());
            ASSERT_NE(media, nullptr);
            ASSERT_EQ(rdVESetMediaDisplayMode(media, c.display_mode), 1);
            ASSERT_EQ(rdVESetMediaShowRect(media, c.cells[i]), 1);
            ASSERT_EQ(rdVEAddScene(video, scene), 1);
        }
        const std::string out = dir.file("split.mp4");
        ASSERT_EQ(rdVESetOutPath(video, out.c_str()), 1);
        rdVESetVideoCodec(video, "mp4");
        rdVESetVideoBitrate(video, 4000);
        rdVEEditMediaInit(video);
        ASSERT_EQ(rdVEEditMedia(video), 1);
        rdVEVirtualVideoDestory(video);

        std::vector<std::string> args;
        for (const std::string& clip : clips) args.insert(args.end(), {"-i", clip});
        args.insert(args.end(), {"-filter_complex", c.reference_graph, "-map", "[v]"});
        const std::string reference = makeReference(dir, "reference", args);
        EXPECT_TRUE(decodesCleanly(out));
        EXPECT_TRUE(framesMatch(out, reference, CompareOptions{35, 0.95}));
    }
}
