// The GIF maker driven through its own buttons on generated media: a clip to a GIF, photos of
// different sizes and kinds to a GIF, a clip to a picture sequence, and every end of the export
// dialog (done, failed with a message, stopped) with what each leaves on disk.
#include "export/ui/export_session.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/gif/gif_photo_grid.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/shared/time_field_group.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/material_collection_item.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

using gif::GIFViewController;
using kestrel::test::ffprobe;
using kestrel::test::FixtureSpec;
using kestrel::test::makeMedia;
using kestrel::test::makePicture;
using kestrel::test::TempDir;

namespace {

constexpr int kJobWaitMs = 120000;

using kestrel::test::click;
using kestrel::test::Commit;
using kestrel::test::typeInto;

void type(QWidget* field, const QString& text) { typeInto(field, text, Commit::Return); }

// A time typed into a group's seconds and milliseconds fields, as a person does.
void setTime(kestrel::tools::shared::TimeFieldGroup* group, int ms) {
    type(group->fields[2], QString::asprintf("%02d", ms / 1000));
    type(group->fields[3], QString::asprintf("%03d", ms % 1000));
}

// A photo's cell dragged onto another cell, in several moves.
void dragPhoto(kestrel::tools::gif::GifPhotoGrid* grid, int from, int to) {
    QWidget* source = grid->cell(from);
    QWidget* target = grid->cell(to);
    const QPoint start = source->rect().center();
    const QPoint end = source->mapFromGlobal(target->mapToGlobal(target->rect().center()));
    kestrel::test::drag(source, start, end, 8);
    QApplication::processEvents();
}

bool startsWith(const QString& path, const QByteArray& magic) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(magic.size()) == magic;
}

class GifWindow : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = QString::fromStdString(dir_.path()) + "/out";
        QDir().mkpath(out_);
        platform::UserDefaults::standard().setString("kOutputDir", out_);
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts_.append(text); });
        GIFViewController::setDialogRunner([this](exportkit::StartExportWindowController* dialog, QWidget*) {
            dialog->setStopConfirmer([](const QString&) { return true; });
            dialog->setRevealer([](const QString&) { return true; });
            dialog->show();
            dialog->setOutputPath(out_);
            QApplication::processEvents();
            click(dialog->startBtn);
            if (stopAtOnce_) click(dialog->startBtn);  // titled Stop now
        });
    }
    void TearDown() override {
        GIFViewController::setDialogRunner({});
        kestrel::widgets::setOpenPanelRunner({});
        exportkit::ExportSession::setFailureAlert({});
        platform::UserDefaults::standard().removeObjectForKey("kOutputDir");
    }

    std::string clip(const std::string& name, double seconds, int w = 320, int h = 240) {
        std::string path = dir_.file(name);
        FixtureSpec spec;
        spec.duration_s = seconds;
        spec.width = w;
        spec.height = h;
        spec.frame_rate = "25";
        makeMedia(path, spec);
        return path;
    }

    std::unique_ptr<GIFViewController> open(const std::string& video, qint64 tab) {
        auto view = std::make_unique<GIFViewController>();
        view->setVideoPath(QString::fromStdString(video));
        view->setTabState(tab);
        view->resize(1200, 700);
        view->show();
        kestrel::test::activate(view.get());
        QApplication::processEvents();
        return view;
    }

    // Clicks Export and waits until the dialog has left its running state.
    exportkit::StartExportWindowController* exportAndWait(GIFViewController& view) {
        auto* before = view.exportDialog();
        // The last dialog is closed first, as a person must: it is modal.
        if (before && before->isVisible()) kestrel::test::closeWindow(before);
        click(view.exportBtn);
        EXPECT_TRUE(QTest::qWaitFor([&] { return view.exportDialog() && view.exportDialog() != before; }, 5000));
        auto* dialog = view.exportDialog();
        if (!dialog) return nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->exporting() && !view.exporting(); }, kJobWaitMs));
        return dialog;
    }

    QStringList entries(const QString& filter = "*") const {
        return QDir(out_).entryList({filter}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    TempDir dir_;
    QString out_;
    QStringList alerts_;
    bool stopAtOnce_ = false;
};

TEST_F(GifWindow, ClipBecomesAGifOfTheAskedSizeRateAndRange) {
    auto view = open(clip("walk.mp4", 3), 0);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::VideoToGif);
    EXPECT_TRUE(view->videotoGifBtn->selected());
    type(view->outputSizeWidthField, "161");  // linked: 160 x 120
    EXPECT_EQ(view->outputSizeWidthField->text(), "160");
    EXPECT_EQ(view->outputSizeHeightField->text(), "120");
    type(view->outputFrameRateField, "125");
    EXPECT_EQ(view->outputFrameRateField->text(), "120.0");
    type(view->outputFrameRateField, "10");
    setTime(view->endTextBgView, 2500);
    setTime(view->startTextBgView, 500);
    ASSERT_EQ(view->startUs(), 500000);
    ASSERT_EQ(view->endUs(), 2500000);

    auto* dialog = exportAndWait(*view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(alerts_.isEmpty()) << alerts_.join("; ").toStdString();
    EXPECT_TRUE(dialog->openBtn->isVisibleTo(dialog));
    EXPECT_FALSE(dialog->startBtn->isVisibleTo(dialog));
    const QStringList gifs = entries("walk_*.gif");
    ASSERT_EQ(gifs.size(), 1) << entries().join(",").toStdString();
    EXPECT_EQ(entries().size(), 1);  // nothing else left behind
    auto probed = ffprobe((out_ + "/" + gifs.first()).toStdString(), true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const auto* v = probed.firstOf("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->codec, "gif");
    EXPECT_EQ(v->width, 160);
    EXPECT_EQ(v->height, 120);
    EXPECT_EQ(v->frames, 20);
    EXPECT_EQ(v->avg_frame_rate, "10/1");
    EXPECT_NEAR(probed.duration_s, 2.0, 0.11);

    // A second export never overwrites the first.
    exportAndWait(*view);
    EXPECT_EQ(entries("walk_*.gif").size(), 2);
}

TEST_F(GifWindow, PreviewPlaysPausesAndPlaysTheRangeOnly) {
    auto view = open(clip("walk.mp4", 3), 0);
    click(view->playBtn);
    EXPECT_TRUE(view->previewPlaying());
    EXPECT_FALSE(view->playSelectBtn->isEnabled());  // one play button waits while the other plays
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->previewPositionUs() > 200000; }, 10000));
    click(view->playBtn);  // pause
    EXPECT_FALSE(view->previewPlaying());
    EXPECT_TRUE(view->playSelectBtn->isEnabled());
    const int64_t paused = view->previewPositionUs();
    QTest::qWait(300);
    EXPECT_EQ(view->previewPositionUs(), paused);

    // The range plays from its start and, at its end, goes back to its start.
    setTime(view->endTextBgView, 1600);
    setTime(view->startTextBgView, 1200);
    click(view->stopBtn);
    EXPECT_EQ(view->previewPositionUs(), 0);
    click(view->playSelectBtn);
    EXPECT_TRUE(view->previewPlaying());
    EXPECT_FALSE(view->playBtn->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->previewPlaying(); }, 10000));
    EXPECT_EQ(view->previewPositionUs(), 1'200'000);
    EXPECT_TRUE(view->playBtn->isEnabled());
}

TEST_F(GifWindow, PhotosOfDifferentSizesAndKindsBecomeOneFrameEach) {
    auto view = open(clip("any.mp4", 1), 1);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::PhotosToGif);
    const QString a = QString::fromStdString(dir_.file("first.png"));
    const QString b = QString::fromStdString(dir_.file("SECOND.JPG"));  // upper case is a picture too
    const QString c = QString::fromStdString(dir_.file("third.bmp"));
    const QString notes = QString::fromStdString(dir_.file("notes.txt"));
    makePicture(c.toStdString(), 640, 360, "rgbtestsrc");
    makePicture(a.toStdString(), 320, 240);
    makePicture(b.toStdString(), 200, 300, "smptebars");
    kestrel::test::writeBytes(notes.toStdString(), "not a picture");
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest& request) {
        EXPECT_TRUE(request.allowsMultipleSelection);
        return QStringList{c, a, notes, b};
    });
    click(view->addPhotosBtn);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->photos().size() == 3; }, 5000));
    ASSERT_EQ(view->photos(), (QStringList{c, a, b}));  // made in this order
    // The first photo dragged to the end.
    dragPhoto(view->photoListView, 0, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->photos() == (QStringList{a, b, c}); }, 5000));
    EXPECT_EQ(view->photostoGif_SizeWidthField->text(), "300");  // the shape of the first photo added
    EXPECT_EQ(view->photostoGif_SizeHeightField->text(), "168");
    type(view->photostoGif_SizeHeightField, "224");
    type(view->photostoGif_FrameRateField, "2");

    auto* dialog = exportAndWait(*view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(alerts_.isEmpty()) << alerts_.join("; ").toStdString();
    const QStringList gifs = entries("*.gif");
    ASSERT_EQ(gifs.size(), 1);
    auto probed = ffprobe((out_ + "/" + gifs.first()).toStdString(), true);
    ASSERT_TRUE(probed.ok) << probed.error;
    const auto* v = probed.firstOf("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->width, 300);
    EXPECT_EQ(v->height, 224);
    EXPECT_EQ(v->frames, 3);
    EXPECT_EQ(v->avg_frame_rate, "2/1");
    EXPECT_NEAR(probed.duration_s, 1.5, 0.11);
}

TEST_F(GifWindow, ClipBecomesNumberedRealJpegs) {
    auto view = open(clip("street.mp4", 3), -1);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::VideoToPictures);
    EXPECT_EQ(view->outputSizeWidthField->text(), "320");  // pictures start at the source size
    type(view->outputFrameRateField, "10");
    setTime(view->endTextBgView, 1000);

    auto* dialog = exportAndWait(*view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(alerts_.isEmpty()) << alerts_.join("; ").toStdString();
    const QStringList folders = entries("street_*");
    ASSERT_EQ(folders.size(), 1) << entries().join(",").toStdString();
    EXPECT_EQ(entries().size(), 1);  // no hidden work folder left
    const QString folder = out_ + "/" + folders.first();
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    QStringList expected;
    for (int ms = 0; ms <= 1000; ms += 100) expected << QString::number(ms) + ".jpg";
    QStringList sorted = files;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
    for (const QString& name : files) EXPECT_TRUE(startsWith(folder + "/" + name, QByteArray("\xFF\xD8\xFF", 3))) << name.toStdString();
    auto probed = ffprobe((folder + "/500.jpg").toStdString());
    ASSERT_TRUE(probed.ok);
    EXPECT_EQ(probed.firstOf("video")->codec, "mjpeg");
    EXPECT_EQ(probed.firstOf("video")->width, 320);
    EXPECT_EQ(probed.firstOf("video")->height, 240);
}

TEST_F(GifWindow, StopEndsStoppedWithNothingLeftInEveryMode) {
    const std::string video = clip("long.mp4", 20, 1280, 720);
    for (qint64 tab : {0, -1}) {
        auto view = open(video, tab);
        type(view->outputSizeWidthField, "1280");
        type(view->outputFrameRateField, "30");
        stopAtOnce_ = true;
        auto* dialog = exportAndWait(*view);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(alerts_.isEmpty()) << "a stop is no failure: " << alerts_.join("; ").toStdString();
        EXPECT_TRUE(dialog->startBtn->isVisibleTo(dialog));
        EXPECT_FALSE(dialog->openBtn->isVisibleTo(dialog));
        EXPECT_EQ(dialog->startBtn->contentTitle(), services::localized("Start"));
        EXPECT_TRUE(entries().isEmpty()) << "tab " << tab << ": " << entries().join(",").toStdString();
    }
}

TEST_F(GifWindow, FailuresEndTheDialogWithAMessageAndNoFile) {
    // An empty range, and a file that is no video: each ends failed, never done, never running.
    {
        auto view = open(clip("short.mp4", 2), -1);
        setTime(view->endTextBgView, 1000);
        setTime(view->startTextBgView, 1000);
        auto* dialog = exportAndWait(*view);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(alerts_.size(), 1);
        EXPECT_EQ(alerts_.first(), services::localized("gif_miker_NoPictures"));
        EXPECT_TRUE(dialog->startBtn->isVisibleTo(dialog));
        EXPECT_FALSE(dialog->openBtn->isVisibleTo(dialog));
    }
    alerts_.clear();
    {
        const std::string broken = dir_.file("broken.mp4");
        kestrel::test::writeBytes(broken, std::string(4096, 'x'));
        for (qint64 tab : {0, -1}) {
            alerts_.clear();
            auto view = open(broken, tab);
            auto* dialog = exportAndWait(*view);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(alerts_.size(), 1);
            EXPECT_EQ(alerts_.first(), services::localized("gif_miker_CannotOpen"));
            EXPECT_FALSE(dialog->openBtn->isVisibleTo(dialog));
        }
    }
    alerts_.clear();
    {
        auto view = open(clip("x.mp4", 1), 1);  // photos mode with no photo: nothing to export
        EXPECT_FALSE(view->exportBtn->isEnabled());
    }
    EXPECT_TRUE(entries().isEmpty()) << entries().join(",").toStdString();
}

// A size typed for the photo GIF stays through every later change of the list.
TEST_F(GifWindow, ReorderingPhotosKeepsTheTypedSize) {
    auto view = open(clip("any.mp4", 1), 1);
    QStringList photos;
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        photos << QString::fromStdString(dir_.file(name));
        makePicture(photos.last().toStdString(), 320, 240);
    }
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return photos; });
    click(view->addPhotosBtn);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->photos().size() == 3; }, 5000));
    ASSERT_EQ(view->photostoGif_SizeHeightField->text(), "224");
    type(view->photostoGif_SizeWidthField, "200");
    type(view->photostoGif_SizeHeightField, "100");
    dragPhoto(view->photoListView, 1, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->photos() == (QStringList{photos[0], photos[2], photos[1]}); }, 5000));
    EXPECT_EQ(view->photostoGif_SizeWidthField->text(), "200");
    EXPECT_EQ(view->photostoGif_SizeHeightField->text(), "100");
    click(view->addPhotosBtn);  // more photos
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->photos().size() == 6; }, 5000));
    EXPECT_EQ(view->photoWidth(), 200);
    EXPECT_EQ(view->photoHeight(), 100);
}

// The view destroyed while a size field holds the focus (the field commits on the way out).
TEST_F(GifWindow, DestroyedWhileASizeFieldHasTheFocus) {
    auto view = open(clip("walk.mp4", 1), 0);
    click(view->outputSizeWidthField);
    ASSERT_TRUE(view->outputSizeWidthField->hasFocus());
    view.reset();
}

}  // namespace
