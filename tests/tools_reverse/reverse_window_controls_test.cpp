// The reverse tool's other controls, used as a person does: a file it cannot read is refused
// with its name and the reason and leaves the loaded one as it was; mute and the volume slider;
// the cover picture of a sound-only file; the two play buttons, one waiting while the other
// plays; a set-start past the end is ignored.
#include <gtest/gtest.h>

#include <QLabel>

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/reverse/reverse_view_controller.h"
#include "tools/shared/media_input.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/image_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

using kestrel::tools::reverse::ReverseViewController;

std::string clip(const TempDir& dir, const std::string& name, int width = 320) {
    const std::string path = dir.file(name);
    FixtureSpec spec;
    spec.duration_s = 4;
    spec.width = width;
    spec.height = width ? 240 : 0;
    makeMedia(path, spec);
    return path;
}

class ReverseControls : public ::testing::Test {
protected:
    void SetUp() override {
        ReverseViewController::setMessagePresenter([this](const QString& text) { messages.append(text); });
    }
    void TearDown() override {
        ReverseViewController::setMessagePresenter(nullptr);
        kestrel::widgets::setOpenPanelRunner({});
    }
    std::unique_ptr<ReverseViewController> openView(const std::string& path) {
        auto view = std::make_unique<ReverseViewController>();
        view->setFilePath(QString::fromStdString(path));
        view->resize(1200, 700);
        view->show();
        activate(view.get());
        return view;
    }
    TempDir dir;
    QStringList messages;
};

TEST_F(ReverseControls, AFileItCannotReadIsRefusedAndTheLoadedOneStays) {
    const std::string broken = dir.file("broken.mp4");
    writeBytes(broken, std::string(2048, 'x'));
    const QString reason = kestrel::tools::shared::refusalReason(QString::fromStdString(broken));
    auto view = openView(broken);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("broken.mp4"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(reason));
    EXPECT_TRUE(view->addFileBtn->isEnabled());
    EXPECT_FALSE(view->exportBtn->isEnabled());

    const QString good = QString::fromStdString(clip(dir, "good.mp4"));
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return QStringList{good}; });
    click(view->addFileBtn);
    ASSERT_GT(view->total_us(), 0);
    EXPECT_EQ(view->filePath(), good);
    typeInto(view->endFields[2], QStringLiteral("02"), Commit::Tab);
    ASSERT_EQ(view->end_us(), 2000000);

    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return QStringList{QString::fromStdString(broken)}; });
    click(view->addFileBtn);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("broken.mp4")));
    EXPECT_EQ(view->filePath(), good);
    EXPECT_EQ(view->end_us(), 2000000);
    EXPECT_TRUE(view->exportBtn->isEnabled());
    EXPECT_TRUE(view->addFileBtn->isEnabled());
    EXPECT_TRUE(view->playBtn->isEnabled());
}

TEST_F(ReverseControls, MuteKeepsTheVolumeTheSliderSet) {
    auto view = openView(clip(dir, "clip.mp4"));
    auto* slider = view->volumeSlider;
    drag(slider, QPoint(slider->width() - 2, slider->height() / 2), QPoint(slider->width() / 2, slider->height() / 2), 5);
    const double set = view->volume();
    EXPECT_NEAR(set, 0.5, 0.1);
    click(view->volumeBtn);
    EXPECT_TRUE(view->muted());
    EXPECT_EQ(slider->progress(), 0.0f);
    click(view->volumeBtn);
    EXPECT_FALSE(view->muted());
    EXPECT_DOUBLE_EQ(view->volume(), set);
    EXPECT_FLOAT_EQ(slider->progress(), float(set));
}

TEST_F(ReverseControls, ASoundOnlyFileShowsItsCoverAndCanOnlyBeReversed) {
    auto view = openView(clip(dir, "tone.m4a", 0));
    ASSERT_GT(view->total_us(), 0);
    auto* cover = view->findChild<kestrel::widgets::ImageView*>(QStringLiteral("audioCover"));
    ASSERT_NE(cover, nullptr);
    EXPECT_TRUE(cover->isVisible());
    EXPECT_FALSE(cover->image().isNull());
    EXPECT_FALSE(view->keepSoundBtn->isEnabled());
    EXPECT_EQ(view->reverseSoundBtn->buttonState(), 3u);
    click(view->reverseSoundBtn);
    EXPECT_EQ(view->soundMode(), session::ReverseSound::Reverse);
}

TEST_F(ReverseControls, OnePlayButtonWaitsWhileTheOtherPlays) {
    auto view = openView(clip(dir, "clip.mp4"));
    click(view->playBtn);
    EXPECT_TRUE(view->playing());
    EXPECT_FALSE(view->playSelectedBtn->isEnabled());
    click(view->playBtn);
    EXPECT_FALSE(view->playing());
    EXPECT_TRUE(view->playSelectedBtn->isEnabled());

    // The range plays from its start and comes back to it at its end.
    typeInto(view->startFields[2], QStringLiteral("01"), Commit::Tab);
    typeInto(view->endFields[2], QStringLiteral("02"), Commit::Tab);
    click(view->playSelectedBtn);
    EXPECT_TRUE(view->playing());
    EXPECT_FALSE(view->playBtn->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return !view->playing(); }, 20000));
    EXPECT_EQ(view->position_us(), 1000000);
    EXPECT_TRUE(view->playBtn->isEnabled());

    // A set-start past the end changes nothing.
    view->seekTo(3000000);
    click(view->leftCutBtn);
    EXPECT_EQ(view->start_us(), 1000000);
}

}  // namespace
}  // namespace kestrel::test
