// The GIF maker's settings, preview and photo list controls, used as a person uses them: sizes
// that follow while they are typed, frame rates stepped, range fields stepped and reset, the cut
// bar's handles, volume and mute, the source's size and rate shown, and the photo list's copy,
// delete, folder and order, with the preview on the photo chosen.
#include "session/preview/gif_preview.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/gif/gif_photo_grid.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/shared/time_field_group.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/material_collection_item.h"
#include "widgets/rd_text_field.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

using gif::GIFViewController;

class GifControls : public ::testing::Test {
protected:
    void TearDown() override { kestrel::widgets::setOpenPanelRunner({}); }

    std::string clip(const std::string& name, double seconds, int w = 320, int h = 240) {
        std::string path = dir.file(name);
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
        activate(view.get());
        QApplication::processEvents();
        return view;
    }
    // Types one key at a time into a field that has the focus, as a person does.
    static void typeKeys(QWidget* field, const QString& keys) {
        click(field);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, keys);
    }
    TempDir dir;
};

TEST_F(GifControls, SizesFollowWhileTypedAndAreMadeEvenWhenCommitted) {
    auto view = open(clip("wide.mp4", 2, 640, 360), 0);
    EXPECT_EQ(view->videoSizeLabel->text(), QStringLiteral("640 x 360"));
    EXPECT_EQ(view->videoFpsLabel->text(), QStringLiteral("25.00 fps"));
    ASSERT_EQ(view->outputSizeWidthField->text(), QStringLiteral("300"));
    // Typing: the linked height follows at each key, and a 0 reads as 1 at once.
    typeKeys(view->outputSizeWidthField, QStringLiteral("0"));
    EXPECT_EQ(view->outputSizeWidthField->text(), QStringLiteral("1"));
    typeKeys(view->outputSizeWidthField, QStringLiteral("321"));
    EXPECT_EQ(view->outputSizeWidthField->text(), QStringLiteral("321"));
    EXPECT_EQ(view->outputSizeHeightField->text(), QStringLiteral("180"));  // 321 x 360 / 640, not yet even
    QTest::keyClick(view->outputSizeWidthField, Qt::Key_Tab);
    EXPECT_EQ(view->gifSize().width, 320);
    EXPECT_EQ(view->gifSize().height, 180);
    // In percent, the same source: 50 % wide, linked.
    click(view->proportionBtn);
    EXPECT_EQ(view->outputSizeWidthField->text(), QStringLiteral("50"));
    typeInto(view->outputSizeWidthField, QStringLiteral("25"), Commit::Return);
    EXPECT_EQ(view->gifSize().width, 160);
    EXPECT_EQ(view->gifSize().height, 90);
    EXPECT_EQ(view->outputSizeHeightField->text(), QStringLiteral("25"));
    // Unlinked, the height stays.
    click(view->pixelBtn);
    click(view->linkBtn);
    EXPECT_FALSE(view->linkBtn->selected());
    typeInto(view->outputSizeWidthField, QStringLiteral("400"), Commit::Return);
    EXPECT_EQ(view->gifSize().width, 400);
    EXPECT_EQ(view->gifSize().height, 90);
    click(view->linkBtn);  // linked again: the height follows the width
    EXPECT_EQ(view->gifSize().height, 225);
}

TEST_F(GifControls, FrameRatesAreSteppedWithinTheirBounds) {
    auto view = open(clip("walk.mp4", 2), 0);
    // The frame-rate steppers are the field's: they wait until it is pressed.
    EXPECT_FALSE(view->frameRateUpBtn->isEnabled());
    click(view->outputFrameRateField);
    EXPECT_TRUE(view->frameRateUpBtn->isEnabled());
    EXPECT_FALSE(view->startTimeUpBtn->isEnabled());
    click(view->frameRateUpBtn);
    click(view->frameRateUpBtn);
    EXPECT_EQ(view->outputFrameRateField->text(), QStringLiteral("12.0"));
    EXPECT_DOUBLE_EQ(view->fps(GIFViewController::Mode::VideoToGif), 12.0);
    typeInto(view->outputFrameRateField, QStringLiteral("120"), Commit::Return);
    click(view->frameRateUpBtn);
    EXPECT_EQ(view->outputFrameRateField->text(), QStringLiteral("120.0"));
    // Each video mode keeps its own rate.
    click(view->videotoJpgBtn);
    EXPECT_EQ(view->outputFrameRateField->text(), QStringLiteral("10.0"));
    click(view->videotoGifBtn);
    EXPECT_EQ(view->outputFrameRateField->text(), QStringLiteral("120.0"));
}

TEST_F(GifControls, TheRangeIsSteppedResetAndDraggedAndTheSoundCanBeMuted) {
    auto view = open(clip("walk.mp4", 4), 0);
    ASSERT_EQ(view->endUs(), 4000000);
    // The start's seconds are the stepped field at first.
    click(view->startTimeUpBtn);
    EXPECT_EQ(view->startUs(), 1000000);
    // The end's seconds pressed: its steppers step them; its milliseconds cannot go below 0.
    click(view->endTextBgView->fields[2]);
    EXPECT_TRUE(view->stopTimeDownBtn->isEnabled());
    EXPECT_FALSE(view->startTimeDownBtn->isEnabled());
    click(view->stopTimeDownBtn);
    EXPECT_EQ(view->endUs(), 3000000);
    click(view->endTextBgView->fields[3]);
    click(view->stopTimeDownBtn);
    EXPECT_EQ(view->endUs(), 3000000);
    // Resets.
    click(view->leftResetBtn);
    EXPECT_EQ(view->startUs(), 0);
    click(view->rightResetBtn);
    EXPECT_EQ(view->endUs(), 4000000);
    // The end handle dragged to about the middle.
    auto* bar = view->cutTimeSlider;
    const QPoint grip = trimGrip(bar, TrimPart::End);
    const QRect track = drawnTrack(bar);
    drag(bar, grip, QPoint(track.x() + track.width() / 2, grip.y()), 8);
    EXPECT_NEAR(double(view->endUs()), 2000000.0, 200000.0);
    EXPECT_NEAR(double(view->endUs()) / 4e6, drawnValue(bar, TrimPart::End), 1.0 / track.width());
    EXPECT_EQ(view->endTextBgView->timeUs(), view->endUs() / 1000 * 1000);
    // Volume and mute.
    auto* slider = view->volumeSlider;
    drag(slider, QPoint(slider->width() - 2, slider->height() / 2), QPoint(slider->width() / 2, slider->height() / 2), 5);
    const double set = view->volume();
    EXPECT_NEAR(set, 0.5, 0.1);
    click(view->volumeBtn);
    EXPECT_TRUE(view->muted());
    EXPECT_EQ(slider->progress(), 0.0f);
    click(view->volumeBtn);
    EXPECT_DOUBLE_EQ(view->volume(), set);
    EXPECT_FLOAT_EQ(slider->progress(), float(set));
}

TEST_F(GifControls, ThePhotoListCopiesDeletesTakesFoldersInTheOrderFilesWereMade) {
    auto view = open(clip("any.mp4", 1), 1);
    ASSERT_EQ(view->mode(), GIFViewController::Mode::PhotosToGif);
    EXPECT_TRUE(view->fileShowMessageView->isVisible());
    // A folder whose pictures were made b, then a (names in the other order), and a picture
    // made after them chosen beside it; a text file is left out.
    const QString folder = QString::fromStdString(dir.file("album"));
    QDir().mkpath(folder);
    makePicture((folder + "/b.png").toStdString(), 320, 240);
    makePicture((folder + "/a.jpg").toStdString(), 320, 240, "smptebars");
    writeBytes((folder + "/notes.txt").toStdString(), "no picture");
    const QString c = QString::fromStdString(dir.file("c.gif"));
    makePicture(c.toStdString(), 320, 240, "rgbtestsrc");
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest& request) {
        EXPECT_TRUE(request.chooseFolders);
        return QStringList{folder};
    });
    click(view->addFolderBtn);
    ASSERT_EQ(view->photos(), (QStringList{folder + "/b.png", folder + "/a.jpg"}));
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return QStringList{c}; });
    click(view->addPhotosBtn);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->photos().size() == 3; }, 5000));
    EXPECT_FALSE(view->fileShowMessageView->isVisible());

    // Pressing a photo moves the preview to it: the third photo shows from 2 / 10 s.
    click(view->photoListView->cell(2));
    EXPECT_EQ(view->photoListView->selectedIndex(), 2);
    EXPECT_EQ(view->previewPositionUs(), 200000);
    // Copy the second: it is there twice, the copy selected.
    click(view->photoListView->cell(1));
    click(view->pastePhotosBtn);
    EXPECT_EQ(view->photos(), (QStringList{folder + "/b.png", folder + "/a.jpg", folder + "/a.jpg", c}));
    EXPECT_EQ(view->photoListView->selectedIndex(), 1);
    EXPECT_EQ(view->previewTotalUs(), 400000);
    // Delete the last: the selection moves to the new last.
    click(view->photoListView->cell(3));
    click(view->deletePhotosBtn);
    EXPECT_EQ(view->photos().size(), 3);
    EXPECT_EQ(view->photoListView->selectedIndex(), 2);
    // Clear: the hint is back and nothing can be exported.
    click(view->clearPhotosBtn);
    EXPECT_TRUE(view->photos().isEmpty());
    EXPECT_TRUE(view->fileShowMessageView->isVisible());
    EXPECT_FALSE(view->exportBtn->isEnabled());
    EXPECT_FALSE(view->pastePhotosBtn->isEnabled());
}

}  // namespace
}  // namespace kestrel::test
