// The splitter as a new user uses it, once per way of splitting: a 20 s clip opened, the mode
// chosen with its radio button and its value from its pop-up list, the stepper or the bar and
// the point button, Export pressed and the folder chosen in the dialog. Every piece must decode
// cleanly and carry sound, and the pieces together must show every source frame exactly once,
// in order.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QAbstractItemView>
#include <QComboBox>

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/splitter/split_progress_view.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::tools::splitter::SplitWindowController;

namespace {

constexpr int kFrames = 500;  // 20 s at 25 fps

// 20 s of a moving picture and a tone, 640 x 360 at up to 2 Mbit/s, key frames 2 s apart.
const std::string& source() {
    static kt::TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("holiday.mp4");
        kt::FixtureSpec spec;
        spec.duration_s = 20;
        spec.width = 640;
        spec.height = 360;
        spec.gop = 50;
        spec.extra_args = {"-b:v", "2M", "-maxrate", "2M", "-bufsize", "1M"};
        kt::makeMedia(p, spec);
        return p;
    }();
    return path;
}

// Clicks the pop-up list open and clicks its item that starts with prefix.
void choose(QComboBox* popup, const QString& prefix) {
    int index = -1;
    for (int i = 0; i < popup->count() && index < 0; ++i)
        if (popup->itemText(i).startsWith(prefix)) index = i;
    ASSERT_GE(index, 0) << prefix.toStdString();
    kt::click(popup);
    QAbstractItemView* list = popup->view();
    ASSERT_TRUE(kt::waitUntil([&] { return list->isVisible(); }, 5000));
    kt::clickAt(list->viewport(), list->visualRect(popup->model()->index(index, 0)).center());
    ASSERT_TRUE(kt::waitUntil([&] { return !list->isVisible(); }, 5000));
}

class SplitterJourney : public ::testing::Test {
protected:
    void SetUp() override {
        auto& defaults = platform::UserDefaults::standard();
        for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
        services::Language::setLanguage();
        outFolder = QString::fromStdString(dir.file("out"));
        QDir().mkpath(outFolder);
        // The dialog as a person uses it: the folder button (answered by the folder panel),
        // then Start.
        SplitWindowController::setExportDialogPresenter([this](exportkit::ExportWindowController* dialog) {
            dialog->show();
            dialog->setFolderChooser([this](const QString&) { return outFolder; });
            kt::click(dialog->selectOutputDirBtn);
            kt::click(dialog->startBtn);
        });
        SplitWindowController::setMessagePresenter([this](const QString& text) { messages << text; });
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { messages << text; });
        window = std::make_unique<SplitWindowController>();
        window->setFilePath(QString::fromStdString(source()));
        window->show();
        kt::activate(window.get());
        ASSERT_NE(window->fileData(), nullptr);
    }
    void TearDown() override {
        if (window) kt::closeWindow(window.get());
        window.reset();
        SplitWindowController::setExportDialogPresenter(nullptr);
        SplitWindowController::setMessagePresenter(nullptr);
        exportkit::ExportSession::setFailureAlert(nullptr);
    }

    // Export pressed; the pieces written, in order.
    std::vector<std::string> exportPieces() {
        EXPECT_TRUE(window->startExportBtn->isEnabled());
        kt::click(window->startExportBtn);
        EXPECT_TRUE(kt::waitUntil([&] { return !window->exporting(); }, 300000));
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        const QDir folder(window->outputPath());
        EXPECT_TRUE(folder.absolutePath().startsWith(outFolder));
        std::vector<std::string> pieces;
        const int count = int(folder.entryList(QDir::Files).size());
        for (int n = 1; n <= count; ++n) pieces.push_back(folder.filePath(QStringLiteral("holiday-split%1.mp4").arg(n)).toStdString());
        return pieces;
    }

    // Every piece decodes with its sound; together they show every source frame once.
    static std::vector<int> judge(const std::vector<std::string>& pieces) {
        std::vector<kt::FrameSource> sources;
        for (const std::string& piece : pieces) {
            EXPECT_TRUE(kt::decodesCleanly(piece));
            const kt::SoundLevels levels = kt::soundLevels(piece);
            EXPECT_TRUE(kt::soundThroughout(levels, 0.1, levels.durationS() - 0.1)) << piece;
            sources.emplace_back(piece);
        }
        const std::vector<kt::FrameMapping> mapped = kt::mapPieces(sources, source());
        EXPECT_TRUE(kt::piecesShowSourceFramesOnce(mapped, 0, kFrames));
        std::vector<int> frames;
        for (const kt::FrameMapping& m : mapped) frames.push_back(m.outputFrames());
        return frames;
    }

    kt::TempDir dir;
    QString outFolder;
    QStringList messages;
    std::unique_ptr<SplitWindowController> window;
};

TEST_F(SplitterJourney, ByTimeInFiveSecondPieces) {
    kt::click(window->split_timeBtn);
    choose(window->split_timepopBtn, QStringLiteral("5 "));
    const std::vector<std::string> pieces = exportPieces();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(judge(pieces), (std::vector<int>{125, 125, 125, 125}));
}

// The size cap is the engine's: pieces of at most one megabyte, each starting where the last one
// ended, so that together they show every source frame once.
TEST_F(SplitterJourney, BySizeInOneMegabytePieces) {
    kt::click(window->split_sizeBtn);
    choose(window->split_sizepopBtn, QStringLiteral("1 "));
    const std::vector<std::string> pieces = exportPieces();
    const qint64 megabyte = 1024 * 1024;
    ASSERT_GE(QFileInfo(QString::fromStdString(source())).size(), 2 * megabyte);
    ASSERT_GE(pieces.size(), 2u);
    for (const std::string& piece : pieces) EXPECT_LE(QFileInfo(QString::fromStdString(piece)).size(), megabyte * 105 / 100) << piece;
    const std::vector<int> frames = judge(pieces);
    int total = 0;
    for (int f : frames) total += f;
    EXPECT_EQ(total, kFrames);
}

TEST_F(SplitterJourney, IntoFourEqualPartsWithTheStepper) {
    kt::click(window->averagestepperUpBtn);
    kt::click(window->averagestepperUpBtn);
    ASSERT_EQ(window->averageTextField->text(), QStringLiteral("4"));
    const std::vector<std::string> pieces = exportPieces();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(judge(pieces), (std::vector<int>{125, 125, 125, 125}));
}

TEST_F(SplitterJourney, AtPointsPlacedByHandOnTheBar) {
    kt::click(window->split_manuallyBtn);
    auto* bar = window->playerSlider;
    QWidget* slider = bar->slider();
    // The knob moved along the bar, a point added at each of three places.
    for (double at : {0.3, 0.55, 0.8}) {
        kt::clickAt(slider, QPoint(int(bar->xForValue(float(at))) - slider->x(), slider->height() / 2));
        kt::click(window->splitItemBtn);
    }
    ASSERT_EQ(bar->count(), 3);
    const std::vector<std::string> pieces = exportPieces();
    ASSERT_EQ(pieces.size(), 4u);
    const std::vector<int> frames = judge(pieces);
    const QList<float> ends = bar->getTimeProgresses();
    for (size_t i = 0; i + 1 < frames.size(); ++i) {
        const double from = i == 0 ? 0.0 : ends[int(i) - 1];
        EXPECT_NEAR(frames[i], (ends[int(i)] - from) * kFrames, 1.5) << "piece " << i;
    }
}

}  // namespace
