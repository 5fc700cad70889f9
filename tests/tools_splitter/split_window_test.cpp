// The splitter window driven through its own buttons: each mode's pieces checked with ffprobe, and
// the export dialog's re-encode box.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/packet_hashes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "services/language.h"
#include "tests/tools_splitter/split_test_helpers.h"
#include "tools/splitter/alert_input_window_controller.h"
#include "tools/splitter/split_progress_view.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

using kestrel::tools::splitter::SplitMode;
using kestrel::tools::splitter::SplitWindowController;

class SplitWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SplitWindowController::setExportDialogPresenter([this](exportkit::ExportWindowController* dialog) {
            dialog->setOutputPath(QString::fromStdString(out.path()));
            dialog->setStopConfirmer([](const QString&) { return true; });
            dialog->startExport();  // the dialog's own Start
        });
        SplitWindowController::setMessagePresenter([this](const QString& text) { messages.append(text); });
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { messages.append(text); });
    }
    void TearDown() override {
        SplitWindowController::setExportDialogPresenter(nullptr);
        SplitWindowController::setMessagePresenter(nullptr);
        SplitWindowController::setNumberPrompt(nullptr);
        exportkit::ExportSession::setFailureAlert(nullptr);
    }

    std::unique_ptr<SplitWindowController> openWindow(const std::string& path) {
        auto window = std::make_unique<SplitWindowController>();
        window->setFilePath(QString::fromStdString(path));
        window->show();
        activate(window.get());
        EXPECT_TRUE(window->fileData() != nullptr);
        return window;
    }

    std::vector<std::string> exportPieces(SplitWindowController& window) {
        EXPECT_TRUE(window.startExportBtn->isEnabled());
        click(window.startExportBtn);
        EXPECT_TRUE(waitUntil([&] { return !window.exporting(); }, 240000));
        QDir folder(window.outputPath());
        std::vector<std::string> pieces;
        const QStringList names = folder.entryList(QDir::Files, QDir::Name);
        for (int n = 1; n <= names.size(); ++n)
            pieces.push_back(folder.filePath(QStringLiteral("clip-split%1.mp4").arg(n)).toStdString());
        return pieces;
    }

    TempDir out;
    QStringList messages;
};

TEST_F(SplitWindowTest, FourEqualPartsWithTheStepper) {
    auto window = openWindow(twentySecondClip());
    EXPECT_EQ(window->mode(), SplitMode::Average);
    EXPECT_EQ(window->playerSlider->count(), 1);
    click(window->averagestepperUpBtn);
    click(window->averagestepperUpBtn);
    EXPECT_EQ(window->averageTextField->text(), "4");
    const auto pieces = exportPieces(*window);
    ASSERT_EQ(pieces.size(), 4u);
    expectPiecesCoverSource(twentySecondClip(), pieces);
    for (const auto& piece : pieces) EXPECT_NEAR(ffprobe(piece).firstOf("video")->duration_s, 5.0, 0.04 + 1e-6);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(SplitWindowTest, ByTimeWithACustomLengthFromThePrompt) {
    auto window = openWindow(twentySecondClip());
    SplitWindowController::setNumberPrompt([](int type, double max) {
        EXPECT_EQ(type, 1);
        EXPECT_NEAR(max, 20.0, 0.1);
        return QStringLiteral("7");
    });
    click(window->split_timeBtn);
    EXPECT_EQ(window->mode(), SplitMode::Time);
    ASSERT_TRUE(chooseInPopup(window->split_timepopBtn, services::localized(QStringLiteral("SplitCustomValue"))));
    EXPECT_TRUE(window->split_timepopBtn->currentText().startsWith("7 "));
    EXPECT_TRUE(window->split_timepopTextField->text().startsWith("7 "));
    const auto pieces = exportPieces(*window);
    ASSERT_EQ(pieces.size(), 3u);  // 7 s, 7 s and the last 6 s
    expectPiecesCoverSource(twentySecondClip(), pieces);
    EXPECT_NEAR(ffprobe(pieces[0]).firstOf("video")->duration_s, 7.0, 0.04 + 1e-6);
}

TEST_F(SplitWindowTest, AtThreeHandPlacedPoints) {
    auto window = openWindow(twentySecondClip());
    click(window->split_manuallyBtn);
    EXPECT_FALSE(window->startExportBtn->isEnabled());
    auto* bar = window->playerSlider;
    QWidget* slider = bar->slider();
    for (float at : {0.62f, 0.18f, 0.41f}) {
        clickAt(slider, QPoint(int(bar->xForValue(at)) - slider->x(), slider->height() / 2));
        click(window->splitItemBtn);
    }
    ASSERT_EQ(bar->count(), 3);
    // Adding twice at one place adds nothing.
    click(window->splitItemBtn);
    EXPECT_EQ(bar->count(), 3);
    EXPECT_TRUE(window->leftMoveBtn->isEnabled());
    const auto pieces = exportPieces(*window);
    ASSERT_EQ(pieces.size(), 4u);
    expectPiecesCoverSource(twentySecondClip(), pieces);
}

TEST_F(SplitWindowTest, BySizeHoldsTheCap) {
    auto window = openWindow(largeClip());
    click(window->split_sizeBtn);
    ASSERT_TRUE(chooseInPopup(window->split_sizepopBtn, QStringLiteral("1 ")));
    ASSERT_TRUE(window->split_sizepopBtn->currentText().startsWith("1 "));
    auto pieces = exportPieces(*window);
    for (auto& piece : pieces) piece.replace(piece.find("clip-split"), 10, "large-split");
    ASSERT_GE(pieces.size(), 2u);
    const double cap = 1024.0 * 1024.0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const double bytes = double(ffprobe(pieces[i]).size_bytes);
        EXPECT_LE(bytes, cap * 1.05) << i;
        if (i + 1 < pieces.size()) EXPECT_GE(bytes, cap * 0.95) << i;
    }
    expectPiecesCoverSource(largeClip(), pieces);
}

// Stop in the dialog once the first piece is written: that piece stays, the one being written
// goes, and the dialog says how many pieces were written.
TEST_F(SplitWindowTest, StopFromTheDialogKeepsTheFinishedPiecesAndSaysHowMany) {
    exportkit::ExportWindowController* shown = nullptr;
    SplitWindowController::setExportDialogPresenter([&](exportkit::ExportWindowController* dialog) {
        shown = dialog;
        dialog->show();
        dialog->setOutputPath(QString::fromStdString(out.path()));
        dialog->setStopConfirmer([](const QString&) { return true; });
        click(dialog->reEncodingBtn);  // encoded pieces: slow enough to stop inside the second
        click(dialog->startBtn);
    });
    auto window = openWindow(largeClip());
    click(window->averagestepperUpBtn);
    click(window->averagestepperUpBtn);
    click(window->startExportBtn);
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(window->exporting());
    EXPECT_FALSE(window->addfileBtn->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return shown->progressView->progress() > 0.26f || !window->exporting(); }, 240000));
    ASSERT_TRUE(window->exporting());
    click(shown->startBtn);  // titled Stop now; confirmed
    ASSERT_TRUE(waitUntil([&] { return !window->exporting(); }, 240000));
    EXPECT_FALSE(shown->exporting());

    const QStringList written = QDir(window->outputPath()).entryList(QDir::Files, QDir::Name);
    ASSERT_GE(written.size(), 1);
    ASSERT_LT(written.size(), 4);
    for (int n = 1; n <= written.size(); ++n) {
        EXPECT_EQ(written[n - 1], QStringLiteral("large-split%1.mp4").arg(n));
        EXPECT_TRUE(decodesCleanly(QDir(window->outputPath()).filePath(written[n - 1]).toStdString()));
    }
    EXPECT_TRUE(shown->succeededLabel->isVisible());
    EXPECT_TRUE(shown->succeededLabel->text().contains(QString::number(written.size())))
        << shown->succeededLabel->text().toStdString();
    EXPECT_TRUE(window->startExportBtn->isEnabled());
    EXPECT_TRUE(window->addfileBtn->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(SplitWindowTest, StartWithoutAFileSaysSoAndAnUnreadableFileIsRefused) {
    TempDir dir;
    const std::string broken = dir.file("broken.mp4");
    writeBytes(broken, std::string(2048, 'x'));
    SplitWindowController window;
    window.setFilePath(QString::fromStdString(broken));
    window.show();
    EXPECT_EQ(window.fileData(), nullptr);
    EXPECT_FALSE(window.startExportBtn->isEnabled());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_FALSE(messages.first().contains("Message"));  // a text, not a key
}

TEST_F(SplitWindowTest, AnAc3SoundTrackIsAccepted) {
    TempDir dir;
    const std::string path = dir.file("ac3.mkv");
    FixtureSpec spec;
    spec.duration_s = 4;
    spec.audio_codec = "ac3";
    makeMedia(path, spec);
    auto window = openWindow(path);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_TRUE(window->startExportBtn->isEnabled());
}

// The export dialog's re-encode box: two equal pieces of a clip with a key frame at each piece's
// start keep the source's packets when the box is clear and none of them when it is ticked.
TEST_F(SplitWindowTest, TheReEncodeBoxDecidesWhetherSourcePacketsAreCopied) {
    const QSet<QString> sourcePackets = videoPacketHashes(twentySecondClip());
    ASSERT_FALSE(sourcePackets.isEmpty());
    const struct {
        bool reencode;
        bool sharesPackets;
    } cases[] = {{false, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reencode ? "re-encode" : "keep packets");
        TempDir folder;
        SplitWindowController::setExportDialogPresenter([&](exportkit::ExportWindowController* dialog) {
            dialog->show();
            dialog->setOutputPath(QString::fromStdString(folder.path()));
            if (c.reencode) click(dialog->reEncodingBtn);
            EXPECT_EQ(dialog->reEncoding(), c.reencode);
            click(dialog->startBtn);
        });
        auto window = openWindow(twentySecondClip());
        ASSERT_EQ(window->playerSlider->count(), 1);  // one point: halves, at 10 s, on a key frame
        click(window->startExportBtn);
        ASSERT_TRUE(waitUntil([&] { return !window->exporting(); }, 240000));
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        QDir written(window->outputPath());
        EXPECT_TRUE(written.absolutePath().startsWith(QString::fromStdString(folder.path())));
        std::vector<std::string> pieces;
        for (const QString& name : written.entryList(QDir::Files, QDir::Name)) pieces.push_back(written.filePath(name).toStdString());
        ASSERT_EQ(pieces.size(), 2u);
        expectPiecesCoverSource(twentySecondClip(), pieces);
        for (const auto& piece : pieces) {
            const ProbedMedia probed = ffprobe(piece, true);
            ASSERT_TRUE(probed.ok) << probed.error;
            ASSERT_NE(probed.firstOf("video"), nullptr);
            EXPECT_EQ(probed.firstOf("video")->codec, "h264") << piece;
            EXPECT_NEAR(probed.firstOf("video")->frames / 25.0, 10.0, 0.04 + 1e-6) << piece;
            EXPECT_EQ(videoPacketHashes(piece).intersects(sourcePackets), c.sharesPackets) << piece;
        }
        window->exportProgressWindow()->closeWindowAction();
    }
}

TEST(NumberPrompt, CapsAtTheMaximumAndAnswersOnlyPositiveNumbers) {
    kestrel::tools::splitter::AlertInputWindowController prompt;
    prompt.setMaxNumber(125.7);
    QTest::keyClicks(prompt.customValueTextField, "126");
    EXPECT_EQ(prompt.valueText(), "125");
    prompt.customValueTextField->clear();
    QTest::keyClicks(prompt.customValueTextField, "abc");
    EXPECT_EQ(prompt.valueText(), "abc");
    prompt.accept();
    EXPECT_TRUE(prompt.answer().isEmpty());
    prompt.setValueText("30");
    prompt.reject();
    EXPECT_TRUE(prompt.answer().isEmpty());
    prompt.accept();
    EXPECT_EQ(prompt.answer(), "30");
}

}  // namespace
}  // namespace kestrel::test
