// The 3D converter installed without the red/cyan mode's settings file: the clip opens with a
// note naming the mode and its file, the red/cyan button never shows checked, and the export is
// refused with that note and writes nothing (it once wrote the plain clip and said "done").
// Another mode then works: its export shows the two views side by side, judged against the
// command line's picture of the same pair.
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "widgets/zor_button.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kestrel::test;
using converter3d::UI3DConverterWindowController;

namespace {

// A resources folder like the installed one, its entries linked, without 3d/RedBlue's file.
QString resourcesWithoutRedBlue(const TempDir& dir) {
    const QString real = services::Language::resourcesPath();
    const QString mirror = QString::fromStdString(dir.file("resources"));
    const QString bundle = mirror + "/Settings.bundle";
    QDir().mkpath(bundle + "/3d/RedBlue/filter");
    for (const QString& entry : QDir(real).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "Settings.bundle") QFile::link(real + "/" + entry, mirror + "/" + entry);
    const QDir source(real + "/Settings.bundle");
    for (const QString& entry : source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "3d") QFile::link(source.filePath(entry), bundle + "/" + entry);
    for (const QString& mode : QDir(source.filePath("3d")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (mode != "RedBlue") QFile::link(source.filePath("3d/" + mode), bundle + "/3d/" + mode);
    return mirror;
}

struct ResourcesOverride {
    explicit ResourcesOverride(const QString& path) { qputenv("KESTREL_RESOURCES", path.toLocal8Bit()); }
    ~ResourcesOverride() { qunsetenv("KESTREL_RESOURCES"); }
};

// The export button, then the folder and Start in its dialog; returns what the failure alert
// said ("" when none) once the export ended.
QString exportThroughTheDialog(UI3DConverterWindowController& w, const QString& folder) {
    QString alert;
    exportkit::ExportSession::setFailureAlert([&](QWidget*, const QString& text) { alert = text; });
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        exportkit::ExportWindowController* dialog = w.exportDialog();
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        dialog->setOutputPath(folder);
        click(dialog->startBtn);
        EXPECT_TRUE(waitUntil([&] { return !dialog->exporting(); }));
        dialog->close();
    });
    poll.start();
    click(w.exportBtn);
    exportkit::ExportSession::setFailureAlert(nullptr);
    return alert;
}

TEST(Converter3DMissingMode, IsRefusedWithItsNameAndNothingIsWritten) {
    TempDir dir;
    const std::string clip = dir.file("clip.mp4");
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.frame_rate = "30";
    makeMedia(clip, spec);
    const ResourcesOverride resources(resourcesWithoutRedBlue(dir));

    UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    activate(&w);
    ASSERT_TRUE(w.exportBtn->isEnabled());
    EXPECT_FALSE(w.modeButtons[0]->isChecked());
    EXPECT_EQ(w.modeInUse(), 0);
    EXPECT_FALSE(w.noteLabel->isHidden());
    EXPECT_TRUE(w.noteLabel->text().contains("3d/RedBlue/filter/config.json")) << w.noteLabel->text().toStdString();
    click(w.modeButtons[0]);
    EXPECT_FALSE(w.modeButtons[0]->isChecked());

    const QString folder = QString::fromStdString(dir.file("out"));
    const QString refused = exportThroughTheDialog(w, folder);
    EXPECT_TRUE(refused.contains("3d/RedBlue/filter/config.json")) << refused.toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());

    // Side by side is there: chosen, it is the mode in use and the export carries it.
    click(w.modeButtons[1]);
    EXPECT_TRUE(w.modeButtons[1]->isChecked());
    EXPECT_FALSE(w.modeButtons[0]->isChecked());
    EXPECT_TRUE(w.noteLabel->isHidden());
    EXPECT_EQ(exportThroughTheDialog(w, folder), QString());
    const QStringList written = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1);
    const std::string out = (folder + "/" + written.first()).toStdString();
    EXPECT_TRUE(decodesCleanly(out));
    // The second view is the first moved 3 % of the width (10 of 320 pixels) to the right, its
    // first columns repeating the edge.
    const std::string reference = makeReference(
        dir, "sbs",
        {"-i", clip, "-filter_complex",
         "[0:v]split[l][r];[r]crop=310:240:0:0,pad=320:240:10:0,fillborders=left=10:mode=smear[s];[l][s]hstack"});
    CompareOptions options;
    options.min_psnr_db = 30;
    options.min_ssim = 0.93;
    EXPECT_TRUE(framesMatch(out, reference, options));
    EXPECT_TRUE(closeWindow(&w));
}

}  // namespace
