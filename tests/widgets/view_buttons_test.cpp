#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "tests/support/user_input.h"
#include "tests/widgets/widget_test_helpers.h"
#include "widgets/cut_item_view.h"
#include "widgets/image_view.h"
#include "widgets/material_collection_item.h"
#include "widgets/merge_button.h"
#include "widgets/rd_button.h"
#include "widgets/rd_custom_button.h"
#include "widgets/rd_radio_button.h"
#include "widgets/rd_switch_button.h"
#include "widgets/text_label.h"
#include "widgets/view_frame.h"
#include "widgets/xj_button.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/xj_label.h"
#include "widgets/zor_button.h"

using namespace kestrel::widgets;
using widgets_test::solidPixmap;

namespace {
template <class Button>
struct Counter {
    int count = 0;
    Button* last = nullptr;
    void hit(Button* b) { ++count; last = b; }
};
struct RDButtonCounter : RDButtonDelegate, Counter<RDButton> {
    void actionMouseUpForRDButtonBlock(RDButton* b) override { hit(b); }
};
struct CustomCounter : RDCustomButtonDelegate, Counter<RDCustomButton> {
    void actionMouseUpForCustomButtonBlock(RDCustomButton* b) override { hit(b); }
};
struct RadioCounter : RDRadioButtonDelegate, Counter<RDRadioButton> {
    void actionMouseUpForRDRadioButtonBlock(RDRadioButton* b) override { hit(b); }
};
struct SwitchCounter : RDSwitchButtonDelegate, Counter<RDSwitchButton> {
    void actionMouseUpForSwitchButtonBlock(RDSwitchButton* b) override { hit(b); }
};
}  // namespace

TEST(RDButton, ClickLatchesSelectedColourAndTellsDelegate) {
    RDButton button(QRectF(0, 0, 80, 30));
    EXPECT_EQ(button.titleLabel()->text(), "title");
    EXPECT_EQ(textColor(button.titleLabel()), QColor(Qt::white));
    const QPixmap back = solidPixmap({4, 4}, Qt::gray);
    const QPixmap pressed = solidPixmap({5, 5}, Qt::darkGray);
    button.setBackImage(back);
    button.setHeightBackImage(pressed);
    button.setBackImage(back);
    RDButtonCounter delegate;
    button.setDelegate(&delegate);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.backgroundView()->image().width(), 5);
    EXPECT_EQ(delegate.count, 0);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(500, 5));
    EXPECT_EQ(button.backgroundView()->image().width(), 4) << "the pressed look ends wherever released";
    EXPECT_EQ(delegate.count, 0) << "a release outside the button is no click";
    EXPECT_FALSE(button.selected());
    EXPECT_EQ(textColor(button.titleLabel()), QColor(Qt::white));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(70, 25));
    EXPECT_EQ(button.backgroundView()->image().width(), 4);
    EXPECT_EQ(delegate.count, 1);
    EXPECT_TRUE(button.selected());
    EXPECT_EQ(textColor(button.titleLabel()), QColor(255, 81, 0));

    button.setSelected(false);
    button.setDisabledColor(Qt::darkRed);
    button.setEnabled(false);
    EXPECT_EQ(textColor(button.titleLabel()), QColor(Qt::darkRed));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(delegate.count, 1);
    EXPECT_FALSE(button.selected());
}

TEST(RDCustomButton, LayoutCodes) {
    struct Case { quint64 code; bool titleLab; std::optional<QRectF> picture, title; };
    const Case cases[] = {
        {0, true, QRectF(70, 0, 30, 30), QRectF(0, 0, 70, 30)},
        {1, true, QRectF(0, 0, 30, 30), QRectF(30, 0, 70, 30)},
        {2, true, QRectF(0, 0, 100, 15), QRectF(0, 15, 100, 18)},
        {3, true, QRectF(0, 18, 100, 15), QRectF(0, 4, 100, 18)},
        {4, true, QRectF(0, 0, 100, 30), std::nullopt},
        {1, false, QRectF(0, 0, 30, 30), std::nullopt},
        {9, true, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const RDCustomButtonLayout layout = rdCustomButtonLayout(c.code, 100, 30, c.titleLab);
        EXPECT_EQ(layout.picture, c.picture) << c.code;
        EXPECT_EQ(layout.title, c.title) << c.code;
    }
}

TEST(RDCustomButton, ReportsOnPressWithoutPressedPictureAndOnReleaseWithOne) {
    RDCustomButton button(QRectF(0, 0, 100, 40));
    CustomCounter delegate;
    button.setDelegate(&delegate);
    button.setSelected(false);
    EXPECT_EQ(button.titleBtn()->attributedStringTitle()->text, "  ");  // untitled shows two spaces
    EXPECT_EQ(button.titleBtn()->attributedStringTitle()->color, QColor::fromRgbF(0.828f, 0.828f, 0.828f));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(delegate.count, 1);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(delegate.count, 1);

    button.setHightideBackImage(solidPixmap({7, 7}, Qt::blue));
    // Presses on the title area act exactly like presses on the picture.
    QTest::mousePress(button.titleBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(delegate.count, 1);
    EXPECT_EQ(button.backView()->image().width(), 7);
    QTest::mouseRelease(button.titleBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(delegate.count, 2);
    EXPECT_EQ(delegate.last, &button);

    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(delegate.count, 2);
    button.setSelected(true);  // disabled look wins over selected
    EXPECT_EQ(button.titleBtn()->attributedStringTitle()->color, QColor::fromRgbF(0.404f, 0.756f, 1.0f));
}

TEST(RDRadioButton, ClickAlwaysSelectsAndDisabledShowsDisabledColour) {
    RDRadioButton radio(QRectF(0, 0, 120, 30));
    RadioCounter delegate;
    radio.setDelegate(&delegate);
    EXPECT_EQ(viewFrame(radio.titleLabel()), QRectF(25, -0.5, 90, 25));
    QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(60, 15));
    QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(60, 15));
    EXPECT_EQ(delegate.count, 2);  // choosing again reports again
    EXPECT_TRUE(radio.selected());
    EXPECT_TRUE(radio.iconView()->isChecked());

    radio.disabledColor = Qt::gray;
    radio.setEnabled(false);
    EXPECT_EQ(textColor(radio.titleLabel()), QColor(Qt::gray));
    QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(60, 15));
    EXPECT_EQ(delegate.count, 2);
    radio.selectedColor = Qt::blue;
    radio.setEnabled(true);
    EXPECT_EQ(textColor(radio.titleLabel()), QColor(Qt::blue));

    radio.setTitle(QString());
    radio.titleLabel()->setText("kept");
    radio.setSelected(false);
    EXPECT_EQ(radio.titleLabel()->text(), "kept");
}

TEST(SmallSwitches, SwitchTogglesAndMergeKnobMovesOnlyThroughItsOwnSetter) {
    RDSwitchButton toggle(QRectF(0, 0, 100, 24));
    SwitchCounter delegate;
    toggle.setDelegate(&delegate);
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(toggle.selected());
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(toggle.selected());
    EXPECT_EQ(delegate.count, 2);

    QWidget parent;
    parent.resize(200, 100);
    MergeButton merge(QRectF(10, 10, 60, 20), &parent);
    EXPECT_EQ(viewFrame(merge.knobView()), QRectF(0, 0, 30, 20));
    merge.setSelected(true);
    EXPECT_EQ(viewFrame(merge.knobView()), QRectF(0, 0, 30, 20));
    merge.setselected(true);
    EXPECT_EQ(viewFrame(merge.knobView()), QRectF(30, 0, 30, 20));
    EXPECT_EQ(mergeKnobFrame(false, 60, 20), QRectF(0, 0, 30, 20));
}

TEST(CutItemView, ShowsTheClipTimes) {
    CutItemView tile(QRectF(0, 0, 120, 110));
    CutItem item;
    item.startTime = 3725.5f;
    item.endTime = 3730;
    tile.setItem(item);
    EXPECT_EQ(tile.titleField()->text(), "01:02:05.500-01:02:10.000");
}

namespace {
struct MaterialRecorder : MaterialCollectionItemDelegate {
    int down = 0, up = 0, drag = 0, removed = 0, right = 0;
    void MaterialCollectionItemDownCilcked(MaterialCollectionItem*, QMouseEvent*) override { ++down; }
    void MaterialCollectionItemUpCilcked(MaterialCollectionItem*, QMouseEvent*) override { ++up; }
    void DragMaterialCellectionItem(MaterialCollectionItem*, QMouseEvent*) override { ++drag; }
    void DeleteMaterialCellectionItem(MaterialCollectionItem*) override { ++removed; }
    void MaterialCollectionItemRightClicked(MaterialCollectionItem*, QMouseEvent*) override { ++right; }
};
}  // namespace

TEST(MaterialCollectionItem, PassesGesturesAndDeleteToDelegate) {
    MaterialCollectionItem item;
    item.resize(80, 80);
    EXPECT_TRUE(item.deleteBtn()->isHidden());
    item.setIsShowDeleted(true);
    EXPECT_FALSE(item.deleteBtn()->isHidden());
    item.setIsShowDeleted(false);
    EXPECT_TRUE(item.deleteBtn()->isHidden());

    // Without a delegate every gesture is swallowed.
    QTest::mouseClick(&item, Qt::LeftButton, {}, QPoint(10, 40));

    MaterialRecorder recorder;
    item.setMDelegate(&recorder);
    QTest::mousePress(&item, Qt::LeftButton, {}, QPoint(10, 40));
    QTest::mouseMove(&item, QPoint(20, 40));
    QTest::mouseMove(&item, QPoint(30, 40));
    QTest::mouseRelease(&item, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mousePress(&item, Qt::RightButton, {}, QPoint(10, 40));
    EXPECT_EQ(recorder.down, 1);
    EXPECT_EQ(recorder.drag, 2);
    EXPECT_EQ(recorder.up, 1);
    EXPECT_EQ(recorder.right, 1);
    item.setIsShowDeleted(true);
    QTest::mouseClick(item.deleteBtn(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(recorder.removed, 1);
}

TEST(XJButton, StatesFollowPointerAndKeepSelected) {
    XJButton button;
    button.setHasBorder(true);
    EXPECT_EQ(button.appliedBackgroundColor(), QColor(242, 243, 250));
    kestrel::test::sendEnter(&button);
    EXPECT_EQ(button.buttonState(), 1u);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(button.buttonState(), 2u);
    EXPECT_EQ(button.appliedBackgroundColor(), QColor(232, 233, 235));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(button.buttonState(), 0u);
    button.setButtonState(3);
    EXPECT_TRUE(button.selected());
    EXPECT_EQ(button.appliedBorderWidth(), 2);
    kestrel::test::sendLeave(&button);
    EXPECT_EQ(button.buttonState(), 3u);
    // Same state again: new colours wait for a different state.
    button.backgroundColor[3] = Qt::red;
    button.setButtonState(3);
    EXPECT_EQ(button.appliedBackgroundColor(), QColor(224, 231, 255));
}

TEST(XJGraphicButton, LayoutArithmetic) {
    const QSizeF frame(200, 40);
    const QMarginsF insets(10, 5, 10, 5);  // left, top, right, bottom
    // Picture only, centred; never enlarged.
    EXPECT_EQ(xjGraphicLayout(frame, insets, false, 0, {20, 20}, 2, 0, 4).picture, QRectF(90, 10, 20, 20));
    // Title only fills the inset area.
    EXPECT_EQ(xjGraphicLayout(frame, insets, true, 50, {}, 2, 0, 4).title, QRectF(10, 5, 180, 30));
    // Both, picture left, centred: a tall picture is scaled to the available height.
    const XJGraphicLayout both = xjGraphicLayout(frame, insets, true, 50, {60, 60}, 2, 0, 4);
    EXPECT_EQ(both.picture, QRectF(10 + (180 - 30 - 4 - 58) / 2.0, 6, 30, 30));
    EXPECT_EQ(both.title, QRectF(both.picture.right() + 4, 5, 58, 30));
    // Picture right of the title, left aligned.
    const XJGraphicLayout right = xjGraphicLayout(frame, insets, true, 50, {20, 20}, 0, 1, 4);
    EXPECT_EQ(right.title, QRectF(10, 5, 58, 30));
    EXPECT_EQ(right.picture, QRectF(72, 11, 20, 20));
    // An unknown picture alignment shows neither.
    const XJGraphicLayout none = xjGraphicLayout(frame, insets, true, 50, {20, 20}, 2, 2, 4);
    EXPECT_TRUE(none.picture.isEmpty());
    EXPECT_TRUE(none.title.isEmpty());
}

TEST(XJGraphicButton, ReleaseOutsideSendsNothingAndDisabledFadesText) {
    XJGraphicButton button;
    button.resize(100, 30);
    button.setTitleString("Keep");
    int clicks = 0;
    QObject::connect(&button, &XJGraphicButton::clicked, [&] { ++clicks; });
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.buttonState(), 2u);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(300, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button.buttonState(), 0u);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.buttonState(), 1u);

    button.setViewEnable(false);
    EXPECT_NEAR(button.titleLabel()->textColor().alphaF(), 0.35, 0.01);
    button.setButtonState(3);
    kestrel::test::sendLeave(&button);
    EXPECT_EQ(button.buttonState(), 3u);  // selected ignores the pointer
}
