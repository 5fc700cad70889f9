// The editor's export run driven through the real export dialog, checked with ffprobe.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "export/profiles/profile_choice.h"
#include "export/ui/export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/folders.h"
#include "services/language.h"
#include "session/export/output_choice.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

const auto& keys() { return exportkit::ChoiceKeys::editor(); }

double videoDuration(const std::string& path) {
    const ProbedMedia probed = ffprobe(path, true);
    const ProbedStream* video = probed.firstOf("video");
    if (!video || video->frames < 0) return -1;
    return video->frames / 25.0;
}

TEST(EditorExportRun, CroppedTrimmedOutputTakesTheChosenCodecs) {
    TempDir out;
    setEditorChoice({{keys().extName, "mkv"}, {keys().vcodec, " mpeg4 "}, {keys().acodec, "aac"}});
    ExportHarness h(standardClip());
    h.record->targetData.extension = "mkv";
    h.edits.trimStart_us = (0) * 1000000LL + (480) * 1000LL;
    h.edits.trimStop_us = (1) * 1000000LL + (480) * 1000LL;
    h.edits.cropMargins = {40, 20, 40, 20};
    h.start(out.path());
    ASSERT_TRUE(h.waitForEnd());
    EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();

    const QStringList files = filesIn(out.path());
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith("clip_")) << files[0].toStdString();
    EXPECT_TRUE(files[0].endsWith(".mkv"));
    EXPECT_EQ(QFileInfo(h.record->exportPath).fileName(), files[0]);
    EXPECT_EQ(h.record->cutTimeRange_start, 480000);
    EXPECT_EQ(h.record->cutTimeRange_stop, 1480000);

    const ProbedMedia probed = ffprobe(h.record->exportPath.toStdString());
    ASSERT_TRUE(probed.ok) << probed.error;
    const ProbedStream* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, "mpeg4");
    EXPECT_EQ(video->width, 240);
    EXPECT_EQ(video->height, 200);
    ASSERT_NE(probed.firstOf("audio"), nullptr);
    EXPECT_EQ(probed.firstOf("audio")->codec, "aac");
    EXPECT_NEAR(videoDuration(h.record->exportPath.toStdString()), 1.0, 0.04 + 1e-6);

    // The dialog ends finished: the file named, Open and Close offered.
    auto* dialog = h.run.exportProgressWindow();
    EXPECT_FALSE(dialog->exporting());
    EXPECT_EQ(dialog->outputFileName(), files[0]);
    EXPECT_FALSE(dialog->openBtn->isHidden());
    EXPECT_FALSE(dialog->closeBtn->isHidden());
    EXPECT_TRUE(dialog->startBtn->isHidden());
}

TEST(EditorExportRun, FrameSizeChoiceFollowsTheRules) {
    kestrel::model::SimpleData record;
    record.targetData.width = 640;
    record.targetData.height = 360;
    struct Case {
        const char* resolution;
        bool keepAspect;
        kestrel::session::FrameSizeRule rule;
        const char* customWidth;
        int width, height;
    };
    const Case cases[] = {
        {"1280x720", false, kestrel::session::FrameSizeRule::Normal, nullptr, 1280, 720},
        {"1280x720", true, kestrel::session::FrameSizeRule::Normal, nullptr, 0, 0},         // keep-aspect: nothing
        {"1280x720", true, kestrel::session::FrameSizeRule::RemovePart, nullptr, 640, 360}, // keep-aspect: target
        {"Custom", false, kestrel::session::FrameSizeRule::Normal, nullptr, 640, 360},
        {"Custom", false, kestrel::session::FrameSizeRule::Normal, "800", 800, 360},
        {"Custom", false, kestrel::session::FrameSizeRule::Normal, "0", 640, 360},
        {" ", false, kestrel::session::FrameSizeRule::Normal, nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.resolution) + (c.keepAspect ? " keep" : "") + (c.customWidth ? c.customWidth : ""));
        setEditorChoice({{keys().resolution, c.resolution}, {keys().achannel, "2(Stereo)"}, {keys().framerate, "29.97 fps"}});
        if (c.customWidth) platform::UserDefaults::standard().setString(exportkit::kCustomWidthKey, c.customWidth);
        record.keepAspectratio = c.keepAspect;
        const kestrel::session::OutputChoice choice = kestrel::session::readEditorOutputChoice(record, c.rule);
        EXPECT_EQ(choice.width, c.width);
        EXPECT_EQ(choice.height, c.height);
        EXPECT_EQ(choice.channels, 2);
        EXPECT_DOUBLE_EQ(choice.fps, 29.97);
        EXPECT_TRUE(choice.vcodec.isEmpty());
    }
}

TEST(RemovePartExport, KeepsWhatLiesOutsideTheRange) {
    struct Case {
        int startMs, stopMs;
        int profile;  // 0 mpeg4, 1 no codec chosen (the source's kept), 2 H.264 at 1280x720
        size_t phases;
        double seconds;
    };
    const Case cases[] = {
        {520, 1200, 0, 3, 1.32},
        {480, 1200, 1, 3, 1.28},
        {520, 1200, 2, 3, 1.32},
        {0, 800, 0, 1, 1.2},     // nothing before the range
        {1000, 2000, 0, 1, 1.0}, // nothing after it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.startMs) + "-" + std::to_string(c.stopMs));
        TempDir out;
        if (c.profile == 1)
            setEditorChoice({});
        else if (c.profile == 2)
            setEditorChoice({{keys().vcodec, "h264"}, {keys().resolution, "1280x720"},
                             {keys().bitrate, "2000"}, {keys().acodec, "aac"}});
        else
            setEditorChoice({{keys().vcodec, "mpeg4"}, {keys().acodec, "aac"}});
        ExportHarness h(standardClip());
        h.edits.removeSelectedPart = true;
        h.edits.trimStart_us = (c.startMs / 1000) * 1000000LL + (c.startMs % 1000) * 1000LL;
        h.edits.trimStop_us = (c.stopMs / 1000) * 1000000LL + (c.stopMs % 1000) * 1000LL;
        size_t phases = 0;
        h.run.setPhaseStartedBlock([&](int) { phases = h.run.phaseCount(); });
        h.start(out.path());
        ASSERT_TRUE(h.waitForEnd());
        EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();
        EXPECT_EQ(phases, c.phases);
        const QStringList files = filesIn(out.path());
        ASSERT_EQ(files.size(), 1) << files.join(", ").toStdString();  // no temporary left
        EXPECT_EQ(QFileInfo(h.record->exportPath).fileName(), files[0]);
        EXPECT_NEAR(videoDuration(h.record->exportPath.toStdString()), c.seconds, 0.04 + 1e-6);
        EXPECT_FALSE(h.run.exportProgressWindow()->openBtn->isHidden());
    }
}

TEST(RemovePartExport, RangeCoveringTheWholeVideoFailsWithAMessage) {
    TempDir out;
    setEditorChoice({});
    ExportHarness h(standardClip());
    h.edits.removeSelectedPart = true;
    h.edits.trimStart_us = (0) * 1000000LL + (0) * 1000LL;
    h.edits.trimStop_us = (5) * 1000000LL + (0) * 1000LL;
    h.start(out.path());
    ASSERT_TRUE(h.waitForEnd());
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_EQ(h.alerts[0], services::localized("RemoveWholeVideoMessage"));
    EXPECT_TRUE(filesIn(out.path()).isEmpty());
    EXPECT_FALSE(h.run.exportProgressWindow()->exporting());
}

// A stop pressed in any phase ends the whole export as stopped: no alert, and neither the
// output nor a temporary part is left behind.
TEST(EditorExportRun, StopInAnyPhaseLeavesNoFile) {
    struct Case {
        bool removePart;
        int phase;
    };
    const Case cases[] = {{false, 0}, {true, 0}, {true, 1}, {true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.removePart) + " phase " + std::to_string(c.phase));
        TempDir out;
        setEditorChoice({{keys().vcodec, "mpeg4"}, {keys().acodec, "aac"}});
        ExportHarness h(standardClip());
        h.edits.removeSelectedPart = c.removePart;
        h.edits.trimStart_us = (0) * 1000000LL + (520) * 1000LL;
        h.edits.trimStop_us = (1) * 1000000LL + (200) * 1000LL;
        int stoppedIn = -1;
        h.run.setPhaseStartedBlock([&](int phase) {
            if (phase != c.phase) return;
            stoppedIn = phase;
            h.pressStop();
        });
        h.start(out.path());
        ASSERT_TRUE(h.waitForEnd());
        EXPECT_EQ(stoppedIn, c.phase);
        EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();
        EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(", ").toStdString();
        auto* dialog = h.run.exportProgressWindow();
        EXPECT_FALSE(dialog->exporting());
        EXPECT_FALSE(dialog->startBtn->isHidden());
        EXPECT_EQ(dialog->startBtn->contentTitle(), services::localized("Start"));
        EXPECT_EQ(h.run.currentPhase(), -1);
    }
}

TEST(EditorExportRun, FailuresLeaveTheRunningStateWithTheCode) {
    TempDir in;
    const std::string garbage = in.file("broken.mp4");
    writeBytes(garbage, "not a video at all");
    struct Case {
        const char* name;
        std::string input;
        const char* acodec;
        int startS, stopS;
    };
    const Case cases[] = {
        {"unreadable input", garbage, "aac", 0, 0},
        {"unknown codec", standardClip(), "no_such_codec", 0, 0},
        {"range past the end", standardClip(), "aac", 5, 6},  // refused when the job runs
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir out;
        setEditorChoice({{keys().acodec, c.acodec}});
        ExportHarness h(c.input);
        h.edits.trimStart_us = (c.startS) * 1000000LL + (0) * 1000LL;
        h.edits.trimStop_us = (c.stopS) * 1000000LL + (0) * 1000LL;
        h.start(out.path());
        ASSERT_TRUE(h.waitForEnd());
        ASSERT_EQ(h.alerts.size(), 1);
        EXPECT_TRUE(h.alerts[0].startsWith("error:-")) << h.alerts[0].toStdString();
        EXPECT_TRUE(filesIn(out.path()).isEmpty());
        auto* dialog = h.run.exportProgressWindow();
        EXPECT_FALSE(dialog->exporting());
        EXPECT_EQ(dialog->startBtn->contentTitle(), services::localized("Start"));
        EXPECT_TRUE(dialog->openBtn->isHidden());
    }
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

// The panels' steps join the job: pictures the watermark step writes go when the export ends,
// and a refused music track fails the export with its message before anything is written.
TEST(EditorExportRun, PanelStepsJoinTheJobAndLeaveNothingBehind) {
    for (bool musicRefused : {false, true}) {
        SCOPED_TRACE(musicRefused);
        TempDir out;
        setEditorChoice({{keys().vcodec, "mpeg4"}});
        ExportHarness h(standardClip());
        h.edits.trimStop_us = 400000;
        h.edits.setUserAngleDegrees(90);
        // A text watermark goes to the job through the text drawing routine.
        kestrel::model::WaterParam mark;
        mark.waterType = 4;
        mark.isCheck = true;
        mark.waterText = QStringLiteral("Kestrel");
        mark.waterPercentClipRect = QRectF(0.1, 0.1, 0.4, 0.2);
        mark.duration = 1;
        h.edits.watermarks = {mark};
        if (musicRefused) {
            kestrel::model::MusicInfo missing;
            missing.path = QStringLiteral("/no/such/music.m4a");
            missing.isCheck = true;
            missing.positionEnd = 1;
            missing.duration = 1;
            missing.pruneDuration = 1;
            missing.volume = 1;
            h.edits.music = {missing};
        }
        h.start(out.path());
        ASSERT_TRUE(h.waitForEnd());
        if (musicRefused) {
            EXPECT_EQ(h.alerts, QStringList{services::localized("showmessageTime7")});
            EXPECT_TRUE(filesIn(out.path()).isEmpty());
        } else {
            EXPECT_TRUE(h.alerts.isEmpty());
            ASSERT_EQ(filesIn(out.path()).size(), 1);
            const ProbedMedia probed = ffprobe(h.record->exportPath.toStdString());
            const ProbedStream* video = probed.firstOf("video");
            ASSERT_NE(video, nullptr);
            EXPECT_EQ(video->width, 240);  // the turned frame
            EXPECT_EQ(video->height, 320);
        }
    }
}

}  // namespace
}  // namespace kestrel::test
