// The reverse tool as a new user uses it: a 6 s clip opened, the range set by typing the start's
// seconds and stepping the end's seconds down, the sound choice pressed, Export pressed and the
// folder chosen in the dialog. The output must decode cleanly and show the range's frames last
// to first; its sound falls where the source's rose when reversing was asked, and rises as the
// source's does when it was kept.
#include <gtest/gtest.h>

#include <QDir>
#include <numeric>

#include "export/ui/export_session.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/reverse/reverse_view_controller.h"
#include "tools/shared/time_field_group.h"
#include "widgets/rd_text_field.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::tools::reverse::ReverseViewController;

namespace {

constexpr int kFps = 25;

// 6 s of a picture that changes every frame and a tone that grows from silence to full.
const std::string& risingClip() {
    static kt::TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("rising.mp4");
        const std::string cmd = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=s=320x240:r=25:d=6 "
                                "-f lavfi -i \"aevalsrc='t/6*sin(2*PI*440*t)':s=44100:d=6\" -c:v libx264 -g 50 "
                                "-pix_fmt yuv420p -c:a aac -shortest " + p;
        std::string output;
        if (kt::runCommand(cmd, &output) != 0) throw std::runtime_error(output);
        return p;
    }();
    return path;
}

// The mean level of the windows in [from_s, to_s).
double meanLevel(const kt::SoundLevels& levels, double from_s, double to_s) {
    const size_t first = size_t(from_s / kt::SoundLevels::kWindowS);
    const size_t end = std::min(levels.level_dbfs.size(), size_t(to_s / kt::SoundLevels::kWindowS));
    if (first >= end) return kt::SoundLevels::kFloorDbfs;
    return std::accumulate(levels.level_dbfs.begin() + long(first), levels.level_dbfs.begin() + long(end), 0.0) /
           double(end - first);
}

class ReverseJourney : public ::testing::Test {
protected:
    void SetUp() override {
        auto& defaults = platform::UserDefaults::standard();
        for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
        services::Language::setLanguage();
        outFolder = QString::fromStdString(dir.file("out"));
        QDir().mkpath(outFolder);
        // The dialog as a person uses it: the folder button (answered by the folder panel), then Start.
        ReverseViewController::setExportDialogPresenter([this](exportkit::StartExportWindowController* dialog) {
            dialog->show();
            dialog->setFolderChooser([this](const QString&) { return outFolder; });
            kt::click(dialog->selectOutputDirBtn);
            kt::click(dialog->startBtn);
        });
        ReverseViewController::setMessagePresenter([this](const QString& text) { messages << text; });
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { messages << text; });
        view = std::make_unique<ReverseViewController>();
        view->setFilePath(QString::fromStdString(risingClip()));
        view->resize(1200, 700);
        view->show();
        kt::activate(view.get());
        ASSERT_EQ(view->total_us(), 6000000);
    }
    void TearDown() override {
        view.reset();
        ReverseViewController::setExportDialogPresenter(nullptr);
        ReverseViewController::setMessagePresenter(nullptr);
        exportkit::ExportSession::setFailureAlert(nullptr);
    }

    // The range 1 s to 4 s: the start's seconds typed, the end's seconds stepped down twice.
    void chooseOneToFourSeconds() {
        kt::typeInto(view->startFields[2], QStringLiteral("01"), kt::Commit::Tab);
        kt::click(view->endFields[2]);
        kt::click(view->stopTimeDownBtn);
        kt::click(view->stopTimeDownBtn);
        ASSERT_EQ(view->start_us(), 1000000);
        ASSERT_EQ(view->end_us(), 4000000);
    }

    // Export pressed; the one file written.
    std::string exportOne() {
        EXPECT_TRUE(view->exportBtn->isEnabled());
        kt::click(view->exportBtn);
        EXPECT_TRUE(kt::waitUntil([&] { return !view->exporting(); }, 300000));
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        const QStringList written = QDir(outFolder).entryList(QDir::Files);
        EXPECT_EQ(written.size(), 1) << written.join(",").toStdString();
        return written.isEmpty() ? std::string() : QDir(outFolder).filePath(written.first()).toStdString();
    }

    kt::TempDir dir;
    QString outFolder;
    QStringList messages;
    std::unique_ptr<ReverseViewController> view;
};

// Source frames last to first: [first, end) reversed.
std::vector<int> backwards(int first, int end) {
    std::vector<int> frames;
    for (int f = end - 1; f >= first; --f) frames.push_back(f);
    return frames;
}

TEST_F(ReverseJourney, ARangeWithItsSoundReversed) {
    chooseOneToFourSeconds();
    kt::click(view->reverseSoundBtn);
    const std::string output = exportOne();
    ASSERT_FALSE(output.empty());
    EXPECT_TRUE(kt::decodesCleanly(output));
    const kt::FrameMapping mapped = kt::mapFrames(output, risingClip());
    EXPECT_TRUE(kt::showsSourceSequence(mapped, backwards(1 * kFps, 4 * kFps)));
    // The source rose from 1/6 to 4/6 of full over the range; reversed, it falls.
    const kt::SoundLevels levels = kt::soundLevels(output);
    EXPECT_TRUE(kt::soundThroughout(levels, 0.0, 2.9));
    EXPECT_GT(meanLevel(levels, 0.0, 1.0), meanLevel(levels, 2.0, 3.0) + 3.0) << levels.describe();
}

TEST_F(ReverseJourney, ARangeWithItsSoundKept) {
    chooseOneToFourSeconds();
    kt::click(view->keepSoundBtn);
    const std::string output = exportOne();
    ASSERT_FALSE(output.empty());
    EXPECT_TRUE(kt::decodesCleanly(output));
    EXPECT_TRUE(kt::showsSourceSequence(kt::mapFrames(output, risingClip()), backwards(1 * kFps, 4 * kFps)));
    const kt::SoundLevels levels = kt::soundLevels(output);
    EXPECT_TRUE(kt::soundThroughout(levels, 0.0, 2.9));
    EXPECT_LT(meanLevel(levels, 0.0, 1.0) + 3.0, meanLevel(levels, 2.0, 3.0)) << levels.describe();
}

}  // namespace
