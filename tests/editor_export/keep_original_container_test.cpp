// The advanced cutter with the Keep Original profile on a camcorder's .MOD file: FFmpeg has no
// writer for that extension, so the cut goes to the nearest container holding its codecs, an
// MPEG program stream named .mpg, exported through the window's own button and judged by the
// media oracle.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

// The helpers' waitUntil and user_input's cannot both be seen here: a press and release on the
// button's centre, as the other editor export tests do.
void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }

TEST(KeepOriginalContainer, ACamcorderFileIsCutIntoAProgramStream) {
    setEditorChoice({});  // Keep Original
    TempDir dir;
    const std::string source = dir.file("CLIP0001.MOD");
    FixtureSpec spec;
    spec.duration_s = 2.0;
    spec.width = 720;
    spec.height = 576;
    spec.video_codec = "mpeg2video";
    spec.gop = 25;
    spec.audio_codec = "ac3";
    spec.sample_rate = 48000;
    spec.extra_args = {"-f", "vob"};
    makeMedia(source, spec);

    QStringList alerts;
    QPointer<EditVideoWindowController> window = new EditVideoWindowController(1);
    window->setFilePath(QString::fromStdString(source));
    window->setAlertPresenter([&](const QString& m) { alerts << m; });
    window->showWindow(QStringLiteral("Editor"));
    exportkit::ExportSession::setFailureAlert([&](QWidget*, const QString& text) { alerts << text; });
    ASSERT_NE(window->fileData(), nullptr);

    TempDir out;
    kestrel::editor::EditorExportAttachment* attachment = window->exportAttachment();
    bool finished = false;
    QTimer::singleShot(0, [&] {
        exportkit::ExportWindowController* dialog = attachment->exportRun()->exportProgressWindow();
        if (!dialog) return;
        dialog->setOutputPath(QString::fromStdString(out.path()));
        click(dialog->startBtn);
        finished = waitUntil([&] { return !dialog->exporting() && attachment->exportRun()->pendingJobs() == 0; });
        if (dialog->closeBtn->isVisible()) click(dialog->closeBtn);
        else dialog->closeWindowAction();  // failed: the test says so below
    });
    click(window->views().startExportBtn);
    ASSERT_TRUE(finished);
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const QStringList written = filesIn(out.path());
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(QFileInfo(written.first()).suffix(), "mpg");
    const std::string output = out.path() + "/" + written.first().toStdString();
    EXPECT_TRUE(decodesCleanly(output));
    CompareOptions options;
    options.min_psnr_db = 30;
    EXPECT_TRUE(framesMatch(output, source, options));
    EXPECT_TRUE(toneThroughout(soundLevels(output), 0.1, 1.8, 440));

    window->closeAction();
    exportkit::ExportSession::setFailureAlert(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace kestrel::test
