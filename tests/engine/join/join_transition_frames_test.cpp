// Joins with transitions judged frame by frame against the ffmpeg command line doing the same
// join: each clip fitted into the first clip's frame (turned upright, bars where the shapes
// differ), the transitions made by xfade of the same kind and length. Outside the transitions
// every frame is its clip's own picture; inside, the blend is xfade's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/join/join_test_media.h"
#include "tests/support/media_oracle.h"

namespace kestrel::test {
namespace {

constexpr int kFps = 25;

const char* xfadeName(int kind) {
    switch (kind) {
    case 1: return "slideleft";
    case 2: return "slideup";
    case 3: return "fadeblack";
    }
    return "fade";
}

struct TransitionCase {
    const char* name;
    std::vector<ClipRequest> clips;    // whole clips; transition_us as asked
    std::vector<double> lengths_s;     // each clip's length
    int width = 320, height = 240;     // the first clip's upright size, which the output takes
};

// The command line's join of the case: every clip at the output size (fitted and padded), 25 fps, then
// xfade between neighbours and concat where there is no transition. This FFmpeg's xfade ends
// its transition early when its first input ends, and stamps the pictures after it a frame
// late: the first input is held on its last picture through the transition, and the pictures
// are counted again from the first, so every transition frame is a blend and the next
// transition starts where the clips say. Returns the reference and, per output frame, whether
// it lies inside a transition.
std::string referenceJoin(const TempDir& dir, const std::string& name, const TransitionCase& c,
                          std::vector<bool>* in_transition) {
    std::vector<std::string> args;
    std::string graph;
    for (size_t i = 0; i < c.clips.size(); ++i) {
        args.insert(args.end(), {"-i", c.clips[i].path});
        const std::string size = std::to_string(c.width) + ":" + std::to_string(c.height);
        graph += "[" + std::to_string(i) + ":v]scale=" + size + ":force_original_aspect_ratio=decrease,pad=" + size +
                 ":(ow-iw)/2:(oh-ih)/2:black,setsar=1,fps=25,format=yuv420p[c" + std::to_string(i) + "];";
    }
    std::string joined = "c0";
    double length_s = c.lengths_s[0];
    in_transition->assign(size_t(length_s * kFps + 0.5), false);
    for (size_t i = 1; i < c.clips.size(); ++i) {
        const double overlap_s = double(c.clips[i - 1].transition_us) / 1e6;
        const std::string out = "j" + std::to_string(i);
        if (overlap_s > 0) {
            const double offset_s = length_s - overlap_s;
            graph += "[" + joined + "]tpad=stop_mode=clone:stop_duration=" + std::to_string(overlap_s) + "[held" +
                     std::to_string(i) + "];[held" + std::to_string(i) + "][c" + std::to_string(i) + "]xfade=transition=" +
                     xfadeName(c.clips[i - 1].transition) + ":duration=" + std::to_string(overlap_s) +
                     ":offset=" + std::to_string(offset_s) + ",setpts=round(N/25/TB)[" + out + "];";
            for (int f = int(offset_s * kFps + 0.5); f < int(length_s * kFps + 0.5); ++f) (*in_transition)[size_t(f)] = true;
        } else {
            graph += "[" + joined + "][c" + std::to_string(i) + "]concat=n=2:v=1:a=0[" + out + "];";
        }
        joined = out;
        length_s += c.lengths_s[i] - overlap_s;
        in_transition->resize(size_t(length_s * kFps + 0.5), false);
    }
    graph.pop_back();
    args.insert(args.end(), {"-filter_complex", graph, "-map", "[" + joined + "]"});
    return makeReference(dir, name, args);
}

}  // namespace

// Fade and slides, between clips of one size, into a clip of another shape and from a clip
// shown turned: every frame against the command line's join of the same clips.
TEST(JoinTransitionFrames, EveryFrameIsTheClipsOwnOutsideAndXfadesInsideTheTransitions) {
    const JoinClips& c = joinClips();
    const TransitionCase cases[] = {
        {"a slide between clips of one size", {{c.a, 0, 0, 1.0, 1, 400'000}, {c.b}}, {1.0, 1.0}},
        {"a slide up into a portrait clip", {{c.a, 0, 0, 1.0, 2, 400'000}, {c.portrait}}, {1.0, 1.0}},
        {"a fade into a turned clip, then a slide out of it",
         {{c.two_seconds, 0, 0, 1.0, 3, 400'000}, {c.turned, 0, 0, 1.0, 1, 400'000}, {c.b}},
         {2.0, 1.0, 1.0}},
        {"a fade out of a turned clip, whose upright size the output takes",
         {{c.turned, 0, 0, 1.0, 3, 400'000}, {c.a}},
         {1.0, 1.0},
         240,
         320},
    };
    TempDir dir;
    int n = 0;
    for (const TransitionCase& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string out = dir.file("joined" + std::to_string(n) + ".mp4");
        ASSERT_GE(runJoin(k.clips, out, "libx264"), 0);
        std::vector<bool> in_transition;
        const std::string reference = referenceJoin(dir, "reference" + std::to_string(n++), k, &in_transition);

        EXPECT_TRUE(decodesCleanly(out));
        CompareOptions loose;
        loose.min_psnr_db = 0;
        loose.min_ssim = 0.90;
        const FrameComparison joined = compareFrames(out, reference, loose);
        ASSERT_TRUE(joined.error.empty()) << joined.error;
        EXPECT_EQ(joined.output_frames, int(in_transition.size())) << joined.describe();
        EXPECT_EQ(joined.reference_frames, int(in_transition.size())) << joined.describe();
        int below = 0;
        for (const FrameFigures& f : joined.frames) {
            const bool inside = size_t(f.frame) < in_transition.size() && in_transition[size_t(f.frame)];
            if (f.ssim < (inside ? 0.90 : 0.95) && below++ < 3)
                ADD_FAILURE() << "frame " << f.frame << (inside ? " (in a transition)" : "") << ": SSIM " << f.ssim;
        }
        EXPECT_EQ(below, 0) << joined.describe();
        EXPECT_TRUE(soundThroughout(soundLevels(out), 0.0, double(in_transition.size()) / kFps - 0.1));
    }
}

}  // namespace kestrel::test
