// The GIF maker as a new user uses it, in its three modes: a clip's range stepped with the time
// groups' buttons and turned into a GIF; three photos added through Add Photos and turned into
// a GIF; a clip's first second turned into pictures. Export is pressed and the folder chosen in
// the dialog. Each output is judged by the oracle: the GIF's frames are the range's source
// frames in order, each photo frame shows its photo, and each picture decodes as a JPEG and
// shows the source at the time its name gives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "export/ui/export_session.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/shared/time_field_group.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using gif::GIFViewController;

namespace {

constexpr int kFps = 25;

// 4 s of a picture that changes every frame, with a tone, 320 x 240.
const std::string& walk() {
    static kt::TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("walk.mp4");
        kt::FixtureSpec spec;
        spec.duration_s = 4;
        spec.frame_rate = "25";
        spec.gop = 25;
        kt::makeMedia(p, spec);
        return p;
    }();
    return path;
}

class GifJourney : public ::testing::Test {
protected:
    void SetUp() override {
        auto& defaults = platform::UserDefaults::standard();
        for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
        services::Language::setLanguage();
        outFolder = QString::fromStdString(dir.file("out"));
        QDir().mkpath(outFolder);
        // The dialog as a person uses it: the folder button (answered by the folder panel), then Start.
        GIFViewController::setDialogRunner([this](exportkit::StartExportWindowController* dialog, QWidget*) {
            dialog->setRevealer([](const QString&) { return true; });
            dialog->show();
            dialog->setFolderChooser([this](const QString&) { return outFolder; });
            kt::click(dialog->selectOutputDirBtn);
            kt::click(dialog->startBtn);
        });
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { messages << text; });
    }
    void TearDown() override {
        view.reset();
        GIFViewController::setDialogRunner({});
        kestrel::widgets::setOpenPanelRunner({});
        exportkit::ExportSession::setFailureAlert({});
    }

    void open(qint64 tab) {
        view = std::make_unique<GIFViewController>();
        view->setVideoPath(QString::fromStdString(walk()));
        view->setTabState(tab);
        view->resize(1200, 700);
        view->show();
        kt::activate(view.get());
        QApplication::processEvents();
    }

    // Export pressed; what it wrote into the chosen folder.
    QStringList exportAndList() {
        EXPECT_TRUE(view->exportBtn->isEnabled());
        kt::click(view->exportBtn);
        EXPECT_TRUE(kt::waitUntil([&] { return view->exportDialog() != nullptr; }, 5000));
        EXPECT_TRUE(kt::waitUntil([&] { return !view->exporting() && !view->exportDialog()->exporting(); }, 300000));
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        return QDir(outFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    // The range's start seconds stepped up once (1 s), the end's seconds stepped down once (3 s).
    void stepRangeToOneToThreeSeconds() {
        kt::click(view->startTextBgView->fields[2]);
        kt::click(view->startTimeUpBtn);
        kt::click(view->endTextBgView->fields[2]);
        kt::click(view->stopTimeDownBtn);
        ASSERT_EQ(view->startUs(), 1000000);
        ASSERT_EQ(view->endUs(), 3000000);
    }

    kt::TempDir dir;
    QString outFolder;
    QStringList messages;
    std::unique_ptr<GIFViewController> view;
};

TEST_F(GifJourney, AClipsRangeBecomesAGifOfItsFramesInOrder) {
    open(0);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::VideoToGif);
    stepRangeToOneToThreeSeconds();
    kt::typeInto(view->outputFrameRateField, QStringLiteral("10"), kt::Commit::Tab);
    const QStringList written = exportAndList();
    ASSERT_EQ(written.size(), 1) << written.join(",").toStdString();
    const std::string gif = QDir(outFolder).filePath(written.first()).toStdString();
    EXPECT_TRUE(kt::decodesCleanly(gif));
    const kt::ProbedMedia probed = kt::ffprobe(gif, true);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->codec, "gif");
    EXPECT_EQ(probed.firstOf("video")->width, view->gifSize().width);
    EXPECT_EQ(probed.firstOf("video")->height, view->gifSize().height);
    // 2 s at 10 frames a second: 20 frames, each the source frame at its time (one in 2.5).
    const kt::FrameMapping mapped = kt::mapFrames(gif, walk());
    ASSERT_EQ(mapped.outputFrames(), 20) << mapped.describe();
    for (int k = 0; k < 20; ++k) {
        const double wanted = (1.0 + k / 10.0) * kFps;
        EXPECT_NEAR(mapped.frames[size_t(k)].source_frame, wanted, 1.01) << "GIF frame " << k << ": " << mapped.describe();
    }
}

TEST_F(GifJourney, ThreePhotosBecomeAGifOfOneFrameEach) {
    open(1);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::PhotosToGif);
    QStringList photos;
    const char* patterns[] = {"testsrc2", "smptebars", "rgbtestsrc"};
    for (int i = 0; i < 3; ++i) {
        photos << QString::fromStdString(dir.file("photo" + std::to_string(i) + ".png"));
        kt::makePicture(photos.last().toStdString(), 320, 240, patterns[i]);
    }
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return photos; });
    kt::click(view->addPhotosBtn);
    ASSERT_TRUE(kt::waitUntil([&] { return view->photos().size() == 3; }, 5000));
    kt::typeInto(view->photostoGif_FrameRateField, QStringLiteral("2"), kt::Commit::Tab);
    const QStringList written = exportAndList();
    ASSERT_EQ(written.size(), 1) << written.join(",").toStdString();
    const std::string gif = QDir(outFolder).filePath(written.first()).toStdString();
    EXPECT_TRUE(kt::decodesCleanly(gif));
    // A GIF holds 256 colours, so the figures are those of a good palette, not of a copy; each
    // frame must also be nearer its own photo than the photos beside it.
    kt::CompareOptions palette;
    palette.min_psnr_db = 20;
    palette.min_ssim = 0.8;
    palette.scale_reference = true;
    for (int k = 0; k < 3; ++k) {
        const kt::FrameSource frame = kt::framesOf(gif, k, k + 1);
        EXPECT_TRUE(kt::framesMatch(frame, kt::FrameSource(photos[k].toStdString()), palette)) << "photo " << k;
        const kt::FrameComparison other =
            kt::compareFrames(frame, kt::FrameSource(photos[(k + 1) % 3].toStdString()), palette);
        EXPECT_FALSE(other.ok()) << "frame " << k << " also passes for photo " << (k + 1) % 3;
    }
    EXPECT_EQ(kt::ffprobe(gif, true).firstOf("video")->frames, 3);
}

TEST_F(GifJourney, AClipsFirstSecondBecomesPicturesNamedByTheirTime) {
    open(-1);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::VideoToPictures);
    kt::click(view->endTextBgView->fields[2]);
    kt::click(view->stopTimeDownBtn);
    kt::click(view->stopTimeDownBtn);
    kt::click(view->stopTimeDownBtn);
    ASSERT_EQ(view->endUs(), 1000000);
    kt::typeInto(view->outputFrameRateField, QStringLiteral("5"), kt::Commit::Tab);
    const QStringList written = exportAndList();
    ASSERT_EQ(written.size(), 1) << written.join(",").toStdString();  // one folder, no work folder left
    const QDir folder(QDir(outFolder).filePath(written.first()));
    const QStringList pictures = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(pictures.size(), 6) << pictures.join(",").toStdString();  // 0, 200 … 1000 ms
    for (const QString& name : pictures) {
        const std::string path = folder.filePath(name).toStdString();
        SCOPED_TRACE(path);
        // It decodes as its extension says.
        ASSERT_TRUE(name.endsWith(QStringLiteral(".jpg")));
        EXPECT_TRUE(kt::decodesCleanly(path));
        const kt::ProbedMedia probed = kt::ffprobe(path);
        ASSERT_NE(probed.firstOf("video"), nullptr);
        EXPECT_EQ(probed.firstOf("video")->codec, "mjpeg");
        // It shows the source at the time its name gives.
        bool isNumber = false;
        const int ms = name.chopped(4).toInt(&isNumber);
        ASSERT_TRUE(isNumber);
        const kt::FrameMapping mapped = kt::mapFrames(path, walk());
        ASSERT_EQ(mapped.outputFrames(), 1);
        EXPECT_NEAR(mapped.frames[0].source_frame, ms * kFps / 1000.0, 1.01) << mapped.describe();
    }
}

}  // namespace
