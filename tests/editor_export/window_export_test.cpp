// The whole road of the editor: a video opened by a tile, crop and trim set through the window's
// controls, a profile chosen in the format bar, the export run through the dialog, the file
// checked with ffprobe.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "editor/editor_export_attachment.h"
#include "editor/effects/kxfx_view.h"
#include "export/ui/export_session.h"
#include "export/ui/output_format_bar.h"
#include "services/language.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

struct WindowExport : ::testing::Test {
    QPointer<EditVideoWindowController> window;
    QStringList alerts;
    QPointer<kestrel::editor::EditorExportController> run;  // the window's own export

    void open(int64_t tool) {
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(standardClip()));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        ASSERT_NE(window->fileData(), nullptr);
        ASSERT_NE(window->exportAttachment(), nullptr);
        run = window->exportAttachment()->exportRun();
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts << text; });
    }
    EditVideoWindowController::Views& v() { return window->views(); }
    void TearDown() override {
        waitUntil([this] { return !run || run->pendingJobs() == 0; });
        exportkit::ExportSession::setFailureAlert(nullptr);
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void typeInto(kestrel::widgets::RDTextField* field, const QString& text) {
        field->setText(text);
        Q_EMIT field->textEdited(text);
    }
    void chooseProfile(const char* name) {
        v().formatBar->setViewChildesPf(services::Language::pathWithfileName(QStringLiteral("functionFolder/Video/") + name));
    }
    // What the export button does, without the modal loop: the window's run, a fresh dialog.
    void exportTo(const std::string& folder) {
        run->setRecord(window->fileData());
        exportkit::ExportWindowController* dialog = run->prepareExportDialog();
        dialog->setOutputPath(QString::fromStdString(folder));
        dialog->startExport();
        ASSERT_TRUE(waitUntil([this] { return !run || (!run->exporting() && run->pendingJobs() == 0); }));
    }
};

TEST_F(WindowExport, CropTileToFinishedFile) {
    open(4);
    kestrel::editor::RDUICliper* cliper = v().cliper;
    ASSERT_NE(cliper, nullptr);
    const QSizeF overlay = cliper->size();
    cliper->pressAt({2, 2});
    cliper->dragTo({overlay.width() / 4, overlay.height() / 4});
    cliper->releaseAt({overlay.width() / 4, overlay.height() / 4});
    const kestrel::model::RECT margins = window->convertCropSize();
    ASSERT_GT(margins.left, 0);
    typeInto(v().startMioSecondsField, QStringLiteral("400"));
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    typeInto(v().stopMioSecondsField, QStringLiteral("400"));
    chooseProfile("MKV.pf");
    EXPECT_EQ(window->fileData()->targetData.extension, "mkv");

    TempDir out;
    exportTo(out.path());
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const QString written = window->fileData()->exportPath;
    ASSERT_TRUE(QFileInfo::exists(written));
    EXPECT_EQ(filesIn(out.path()), QStringList{QFileInfo(written).fileName()});
    EXPECT_TRUE(QFileInfo(written).fileName().startsWith("clip_"));

    const ProbedMedia probed = ffprobe(written.toStdString(), true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const ProbedStream* video = probed.firstOf("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->codec, "h264");
    EXPECT_EQ(video->width, 1280);  // the profile's frame size
    EXPECT_EQ(video->height, 720);
    EXPECT_NEAR(video->frames / 25.0, 1.0, 0.04 + 1e-6);
    ASSERT_NE(probed.firstOf("audio"), nullptr);
    EXPECT_EQ(probed.firstOf("audio")->codec, "aac");

    // The picture is the cropped part of the source, scaled up into the profile's frame with its
    // shape kept, black beside it.
    const std::string reference = out.file("reference.png");
    const int cropW = 320 - margins.left - margins.right, cropH = 240 - margins.top - margins.bottom;
    ASSERT_EQ(runCommand("ffmpeg -v error -y -ss 0.6 -i '" + standardClip() + "' -vf 'crop=" + std::to_string(cropW) +
                         ":" + std::to_string(cropH) + ":" + std::to_string(margins.left) + ":" +
                         std::to_string(margins.top) +
                         ",scale=1280:720:force_original_aspect_ratio=decrease,pad=1280:720:(ow-iw)/2:(oh-ih)/2'"
                         " -frames:v 1 '" + reference + "'"),
              0);
    EXPECT_LT(meanAbsDiff(decodeFrameRGB(written.toStdString(), 0.2, 160, 90), decodeFrameRGB(reference, 0, 160, 90)), 8.0);

    auto* dialog = run->exportProgressWindow();
    EXPECT_FALSE(dialog->exporting());
    EXPECT_EQ(dialog->outputFileName(), QFileInfo(written).fileName());
    EXPECT_FALSE(dialog->openBtn->isHidden());
}

TEST_F(WindowExport, RemoveSelectedPartFromTheTrimControls) {
    open(1);
    QTest::mouseClick(v().removeTimeSelectedPart, Qt::LeftButton, {}, v().removeTimeSelectedPart->rect().center());
    ASSERT_TRUE(v().cutProgressView->isFanxuan());
    typeInto(v().startMioSecondsField, QStringLiteral("520"));
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    typeInto(v().stopMioSecondsField, QStringLiteral("200"));
    chooseProfile("MP4.pf");

    TempDir out;
    exportTo(out.path());
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const QString written = window->fileData()->exportPath;
    EXPECT_EQ(filesIn(out.path()), QStringList{QFileInfo(written).fileName()});  // no temporary left
    const ProbedMedia probed = ffprobe(written.toStdString(), true);
    ASSERT_TRUE(probed.ok) << probed.error;
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->width, 1280);
    // Each part ends within a frame of its range (the profile's frame rate may drop the last one).
    EXPECT_NEAR(probed.firstOf("video")->frames / 25.0, 2.0 - 0.68, 0.08 + 1e-6);
    EXPECT_FALSE(run->exportProgressWindow()->openBtn->isHidden());
}

// Closing the editor while it exports stops the export through the dialog: nothing is left.
TEST_F(WindowExport, ClosingTheWindowStopsTheExport) {
    open(1);
    QTest::mouseClick(v().removeTimeSelectedPart, Qt::LeftButton, {}, v().removeTimeSelectedPart->rect().center());
    typeInto(v().startMioSecondsField, QStringLiteral("520"));
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    run->setPhaseStartedBlock([this](int phase) {
        if (phase == 1) window->closeAction();
    });
    TempDir out;
    exportTo(out.path());
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    // The window and its export are gone; the stopped jobs still clean up after themselves.
    EXPECT_TRUE(waitUntil([&] { return window.isNull() && filesIn(out.path()).isEmpty(); }))
        << filesIn(out.path()).join(", ").toStdString();
}

// The export button: the dialog opens modally, Start runs the export with the effect panel's
// choice, the finished dialog offers the file, and the exported picture is the previewed one.
TEST_F(WindowExport, ExportButtonExportsWhatThePreviewShows) {
    open(8);
    kestrel::editor::EditorExportAttachment* attachment = window->exportAttachment();
    ASSERT_NE(attachment, nullptr);
    kestrel::editor::KxfxView* panel = attachment->effectPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget(), v().kxfxView);
    EXPECT_TRUE(panel->isVisible());  // the effect tile opens the effect panel
    int negative = -1;
    for (int i = 0; i < panel->effectTypes().size(); ++i)
        if (panel->effectTypes()[i].effectId == 10) negative = i;
    ASSERT_GE(negative, 0);
    QTest::mouseClick(panel->effectItems()[negative], Qt::LeftButton, {}, QPoint(17, 15));
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    typeInto(v().stopMioSecondsField, QStringLiteral("000"));
    window->rdPlayer()->seekTime(platform::MediaTime::fromSeconds(0.0));
    int w = 0, h = 0;
    const std::vector<unsigned char> previewed = snapshotRGB(*window->rdPlayer(), &w, &h);

    TempDir out;
    bool finished = false, offeredOpen = false;
    QTimer::singleShot(0, [&] {
        exportkit::ExportWindowController* dialog = attachment->exportRun()->exportProgressWindow();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        dialog->setOutputPath(QString::fromStdString(out.path()));
        dialog->startExport();
        finished = waitUntil([&] { return !dialog->exporting() && attachment->exportRun()->pendingJobs() == 0; });
        offeredOpen = !dialog->openBtn->isHidden();
        dialog->closeWindowAction();
    });
    QTest::mouseClick(v().startExportBtn, Qt::LeftButton, {}, v().startExportBtn->rect().center());
    ASSERT_TRUE(finished);
    EXPECT_TRUE(offeredOpen);
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const QString written = window->fileData()->exportPath;
    ASSERT_TRUE(QFileInfo::exists(written));
    const std::vector<unsigned char> exported = decodeFrameRGB(written.toStdString(), 0.0, w, h);
    EXPECT_LT(meanAbsDiff(previewed, exported), 6.0);
    EXPECT_GT(meanAbsDiff(decodeFrameRGB(standardClip(), 0.0, w, h), exported), 60.0);
}

}  // namespace
}  // namespace kestrel::test
