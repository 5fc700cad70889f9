// Size mode on sources whose pictures are stored out of order (B-frames): a piece that a cap
// ends after a picture decoded ahead of the ones shown before it must still hold those, so every
// source frame lands in exactly one piece, for a source at a constant rate and one whose frames
// are held for different lengths.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "session/export/split/split_job.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/tools_splitter/split_test_helpers.h"

namespace kestrel::test {
namespace {

struct SizeCase {
    const char* name;
    std::vector<std::string> video_args;  // B-frames, and for one source frames dropped at random
};

}  // namespace

TEST(SplitBySize, EverySourceFrameLandsInExactlyOnePiece) {
    const SizeCase cases[] = {
        {"constant rate with B-frames", {"-x264-params", "bframes=3:keyint=50", "-b:v", "1M"}},
        // Of every ten frames the last four but one are dropped: pictures held 40 to 160 ms.
        {"variable rate with B-frames",
         {"-vf", "select='lt(mod(n\\,10)\\,6)+eq(mod(n\\,10)\\,8)'", "-fps_mode", "vfr", "-x264-params", "bframes=3:keyint=50",
          "-b:v", "1M"}},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        FixtureSpec spec;
        spec.duration_s = 20;
        spec.extra_args = c.video_args;
        const std::string source = dir.file("source.mp4");
        makeMedia(source, spec);

        session::SplitPlan plan;
        plan.sourcePath = QString::fromStdString(source);
        plan.folder = QString::fromStdString(dir.file("run"));
        plan.baseName = QStringLiteral("source-split");
        plan.extension = QStringLiteral("mp4");
        plan.pieceLimitBytes = 400 * 1024;
        session::SplitJob job(plan);
        job.start();
        ASSERT_TRUE(waitUntil([&] { return job.isFinished(); }));
        const session::JobResult result = job.result();
        ASSERT_TRUE(result.done()) << result.code << " " << result.message.toStdString();
        ASSERT_GE(result.outputs.size(), 3);

        std::vector<FrameSource> pieces;
        for (const QString& piece : result.outputs) {
            EXPECT_TRUE(decodesCleanly(piece.toStdString()));
            pieces.emplace_back(piece.toStdString());
        }
        const int total = DecodedFrames(source, "gray", 16, 16).countToEnd();
        EXPECT_TRUE(piecesShowSourceFramesOnce(mapPieces(pieces, source), 0, total));
    }
}

}  // namespace kestrel::test
