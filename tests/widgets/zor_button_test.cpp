#include <gtest/gtest.h>

#include <QTest>

#include "tests/support/user_input.h"
#include "tests/widgets/widget_test_helpers.h"
#include "widgets/zor_button.h"

using namespace kestrel::widgets;
using widgets_test::pixelAt;
using widgets_test::solidPixmap;

namespace {

ZorPictures fivePictures() {
    // Distinct sizes tell the pictures apart.
    return ZorPictures{solidPixmap({1, 1}, Qt::red), solidPixmap({2, 2}, Qt::red), solidPixmap({3, 3}, Qt::red),
                       solidPixmap({4, 4}, Qt::red), solidPixmap({5, 5}, Qt::red)};
}

int pictureWidth(const QPixmap* p) { return p ? p->width() : 0; }

}  // namespace

TEST(ZorButtonLook, ContentPictureFollowsStateWithFallbacks) {
    const ZorPictures all = fivePictures();
    ZorPictures normalOnly;
    normalOnly.normal = all.normal;
    ZorPictures noSelected = all;
    noSelected.selected = QPixmap();
    struct Case { const ZorPictures* pictures; ZorStateInput state; int width; };
    const Case cases[] = {
        {&all, {true, false, false, false}, 1},   // normal
        {&all, {true, true, false, false}, 2},    // hover
        {&all, {true, true, true, false}, 3},     // hover while pressed shows the pressed picture
        {&all, {true, false, true, false}, 3},    // pressed
        {&all, {true, false, false, true}, 4},    // selected
        {&all, {true, true, true, true}, 4},      // selected wins in every enabled state
        {&all, {false, false, false, true}, 5},   // disabled
        {&normalOnly, {true, true, true, false}, 1},
        {&normalOnly, {false, false, false, false}, 1},
        {&noSelected, {true, false, false, true}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pictureWidth(zorContentPicture(*c.pictures, c.state)), c.width)
            << c.state.enabled << c.state.hover << c.state.pressed << c.state.selected;
    }
    // Backgrounds have no fallback.
    EXPECT_EQ(zorBackgroundPicture(normalOnly, {true, true, false, false}), nullptr);
    EXPECT_EQ(pictureWidth(zorBackgroundPicture(all, {true, true, true, false})), 3);
}

TEST(ZorButtonLook, TitleColourPrecedence) {
    ZorTextColors colors{Qt::white, Qt::green, Qt::blue, Qt::yellow, QColor()};
    EXPECT_EQ(zorTitleColor(colors, {true, false, false, false}), QColor(Qt::white));
    EXPECT_EQ(zorTitleColor(colors, {true, true, false, false}), QColor(Qt::green));
    EXPECT_EQ(zorTitleColor(colors, {true, true, true, false}), QColor(Qt::blue));
    EXPECT_EQ(zorTitleColor(colors, {true, true, true, true}), QColor(Qt::yellow));
    EXPECT_EQ(zorTitleColor(colors, {false, true, true, true}), QColor(173, 173, 173));
    colors.disable = Qt::cyan;
    EXPECT_EQ(zorTitleColor(colors, {false, false, false, false}), QColor(Qt::cyan));
    colors.on = QColor();  // unset hover colour keeps the normal one
    EXPECT_EQ(zorTitleColor(colors, {true, true, false, false}), QColor(Qt::white));
}

TEST(ZorButtonLook, TitleAndPicturePlacement) {
    const QSizeF bounds(100, 40);
    const QRectF text(0, 0, 30, 15);
    struct Case {
        const char* what;
        QSizeF picture;
        ImagePosition position;
        qint64 contentPosition;
        float leftIcon;
        std::optional<kestrel::widgets::ZorPosition> inset;
        QRectF title;
        QPointF pictureAt;
    };
    const Case cases[] = {
        {"centred, no picture", {}, ImagePosition::NoImage, 0, 0, std::nullopt, {35, 12, 30, 15}, {35, 20}},
        {"picture above", {20, 10}, ImagePosition::ImageAbove, 0, 0, std::nullopt, {35, 25, 30, 15}, {40, 0}},
        {"picture leading", {20, 10}, ImagePosition::ImageLeading, 0, 0, std::nullopt, {20, 12.5, 30, 15}, {0, 16}},
        {"centred block", {20, 10}, ImagePosition::NoImage, 0, 0, std::nullopt, {45, 12.5, 30, 15}, {25, 15}},
        {"picture at left edge", {20, 10}, ImagePosition::NoImage, 1, 0, std::nullopt, {20, 12.5, 30, 15}, {0, 15}},
        {"picture at right edge", {20, 10}, ImagePosition::NoImage, 2, 0, std::nullopt, {25, 12.5, 30, 15}, {80, 15}},
        {"left icon space", {}, ImagePosition::NoImage, 0, 10, std::nullopt, {40, 12.5, 30, 15}, {35, 20}},
        // A negative left icon counts as 0 in the width but still moves the text.
        {"negative left icon", {}, ImagePosition::NoImage, 0, -10, std::nullopt, {25, 12.5, 30, 15}, {35, 20}},
        {"insets left and top", {}, ImagePosition::NoImage, 0, 0, kestrel::widgets::ZorPosition(5, 8, 0, 0), {8, 5, 30, 15}, {35, 20}},
        {"inset right", {}, ImagePosition::NoImage, 0, 0, kestrel::widgets::ZorPosition(0, 0, 3, 6), {64, 12.5, 30, 15}, {35, 20}},
    };
    for (const Case& c : cases) {
        ZorLayoutInput in;
        in.bounds = bounds;
        in.text = text;
        in.picture = c.picture;
        in.imagePosition = c.position;
        in.contentImagePosition = c.contentPosition;
        in.leftIconWidth = c.leftIcon;
        in.titlePosition = c.inset;
        EXPECT_EQ(zorTitleRect(in), c.title) << c.what;
        if (!c.picture.isEmpty()) {
            EXPECT_EQ(zorPictureOrigin(in), c.pictureAt) << c.what;
        }
    }
}

TEST(ZorButton, ClickRunsBlockOnceOnReleaseOverEnabledButton) {
    ZorButton button;
    button.resize(80, 30);
    int clicks = 0;
    ZorButton* sender = nullptr;
    button.setMouseDownAction([&](ZorButton* b) { ++clicks; sender = b; });

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button.isDown());
    EXPECT_FALSE(button.isOn());
    EXPECT_EQ(clicks, 0);  // nothing on press
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(button.isDown());
    EXPECT_TRUE(button.isOn());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, &button);

    // Press, drag out, release: the press is dropped.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&button, QPoint(200, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_FALSE(button.isDown());
    EXPECT_EQ(clicks, 1);

    // A disabled button runs nothing.
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
}

TEST(ZorButton, HoverFollowsCurrentBoundsAfterResize) {
    ZorButton button;
    button.resize(20, 20);
    int clicks = 0;
    button.setMouseDownAction([&](ZorButton*) { ++clicks; });
    button.resize(200, 20);
    // A press far beyond the first bounds, with a small drag inside the new ones, still clicks.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::mouseMove(&button, QPoint(160, 12));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(160, 12));
    EXPECT_EQ(clicks, 1);
}

TEST(ZorButton, EnterAndExitBlocksOnlyWhileEnabled) {
    ZorButton button;
    button.resize(50, 20);
    int entered = 0, exited = 0;
    button.setMouseEntered([&](ZorButton*) { ++entered; });
    button.setMouseExited([&](ZorButton*) { ++exited; });
    kestrel::test::sendEnter(&button);
    EXPECT_TRUE(button.isUp());
    EXPECT_TRUE(button.isCanMouseUp());
    kestrel::test::sendLeave(&button);
    EXPECT_FALSE(button.isUp());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(exited, 1);
    button.setEnabled(false);
    kestrel::test::sendEnter(&button);
    kestrel::test::sendLeave(&button);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(exited, 1);
}

TEST(ZorButton, ButtonStateTable) {
    struct Case { unsigned value; bool down, on, selected; };
    const Case cases[] = {{0, false, false, false}, {1, false, true, false}, {2, true, false, false},
                          {3, false, false, true}, {4, false, false, false}};
    for (const Case& c : cases) {
        ZorButton button;
        button.setEnabled(false);
        button.setIsUp(true);
        button.setButtonState(c.value);
        EXPECT_TRUE(button.isEnabled()) << c.value;
        EXPECT_FALSE(button.isUp()) << c.value;
        EXPECT_EQ(button.isDown(), c.down) << c.value;
        EXPECT_EQ(button.isOn(), c.on) << c.value;
        EXPECT_EQ(button.selected(), c.selected) << c.value;
    }
    ZorButton button;
    button.setEnabled(false);
    button.setSelected(true);
    button.setButtonState(5);
    EXPECT_FALSE(button.isEnabled());
    EXPECT_TRUE(button.selected());
}

TEST(ZorButton, DrawsBackgroundTitleInWhiteAndBorderOnlyWithRadius) {
    ZorButton button;
    button.resize(60, 30);
    button.setBackGroundColor(QColor(10, 20, 30));
    button.setBordColor(Qt::red);
    button.setBorderWidth(3);
    // Radius 0: no border, the corner is the fill.
    EXPECT_EQ(pixelAt(&button, {0, 0}), QColor(10, 20, 30));
    button.setCornerRadius(4);
    EXPECT_EQ(pixelAt(&button, {30, 1}), QColor(Qt::red));

    ZorButton titled;
    titled.resize(60, 30);
    titled.setContentTitle("Go");
    EXPECT_FALSE(titled.contentColor().isValid());
    titled.grab();
    EXPECT_EQ(titled.contentColor(), QColor(Qt::white));
    EXPECT_TRUE(titled.title().isEmpty());

    // Disabled fill colour replaces the normal one.
    button.setDisAblebackGroundColor(QColor(1, 2, 3));
    button.setEnabled(false);
    EXPECT_EQ(pixelAt(&button, {30, 15}), QColor(1, 2, 3));
}
