// The converter's export through its own buttons: the export button opens the dialog, Start
// writes the file in the chosen folder, and Start pressed again during the export (confirmed)
// stops it and leaves no file.
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kestrel::test;
using converter3d::UI3DConverterWindowController;

namespace {

void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }

QStringList filesIn(const std::string& folder) {
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files);
}

struct DialogRun {
    bool finished = false;
    bool stopped = false;
};

// Opens the dialog with the window's export button and runs `inside` while it is modal.
void withDialog(UI3DConverterWindowController& w, const std::function<void(exportkit::ExportWindowController&)>& inside) {
    QTimer::singleShot(0, &w, [&] {
        auto* dialog = w.exportDialog();
        ASSERT_NE(dialog, nullptr);
        inside(*dialog);
        dialog->close();
    });
    click(w.exportBtn);
}

TEST(Converter3DDialog, StartWritesTheFileAndStopLeavesNone) {
    TempDir dir;
    std::string clip = dir.path() + "/clip.mp4";
    FixtureSpec spec;
    spec.duration_s = 6.0;
    spec.width = 640;
    spec.height = 360;
    makeMedia(clip, spec);
    std::string out_folder = dir.path() + "/out";
    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    click(w.modeButtons[2]);   // half side by side
    w.setRange(0, 500000);

    kestrel::session::JobResult first;
    withDialog(w, [&](exportkit::ExportWindowController& dialog) {
        dialog.setOutputPath(QString::fromStdString(out_folder));
        QSignalSpy ended(&w, &UI3DConverterWindowController::exportEnded);
        click(dialog.startBtn);
        ASSERT_TRUE(ended.wait(120000));
        first = ended.first().first().value<kestrel::session::JobResult>();
    });
    ASSERT_TRUE(first.done()) << first.code;
    QStringList written = filesIn(out_folder);
    ASSERT_EQ(written.size(), 1);
    ProbedMedia probed = ffprobe(out_folder + "/" + written.first().toStdString());
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->width, 640);
    EXPECT_EQ(probed.firstOf("video")->height, 360);
    EXPECT_NEAR(probed.duration_s, 0.5, 0.1);

    w.setRange(0, 6000000);
    kestrel::session::JobResult second;
    withDialog(w, [&](exportkit::ExportWindowController& dialog) {
        dialog.setOutputPath(QString::fromStdString(out_folder));
        dialog.setStopConfirmer([](const QString&) { return true; });
        QSignalSpy ended(&w, &UI3DConverterWindowController::exportEnded);
        click(dialog.startBtn);
        ASSERT_TRUE(w.exportJob() && w.exportJob()->running());
        click(dialog.startBtn);   // now "Stop"
        ASSERT_TRUE(ended.wait(120000));
        second = ended.first().first().value<kestrel::session::JobResult>();
    });
    EXPECT_TRUE(second.stopped());
    EXPECT_EQ(filesIn(out_folder), written);
}

}  // namespace
