#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QWidgetAction>

#include "tests/support/user_input.h"
#include "tests/widgets/widget_test_helpers.h"
#include "widgets/image_view.h"
#include "widgets/jj_scroller.h"
#include "widgets/menu_item_view.h"
#include "widgets/rd_crop_tmp_view.h"
#include "widgets/text_field_shortcuts.h"
#include "widgets/xj_center_y_text_field_cell.h"
#include "widgets/xj_label.h"
#include "widgets/zor_image_view.h"
#include "widgets/zor_view.h"

using namespace kestrel::widgets;
using widgets_test::pixelAt;
using widgets_test::solidPixmap;

TEST(ImageView, ScalingAndAlignment) {
    const QRectF bounds(0, 0, 100, 50);
    EXPECT_EQ(imageRectInBounds({20, 10}, bounds, ImageScaling::ProportionallyDown, ImageAlignment::Center),
              QRectF(40, 20, 20, 10));
    EXPECT_EQ(imageRectInBounds({200, 50}, bounds, ImageScaling::ProportionallyDown, ImageAlignment::Center),
              QRectF(0, 12.5, 100, 25));
    EXPECT_EQ(imageRectInBounds({20, 10}, bounds, ImageScaling::ProportionallyUpOrDown, ImageAlignment::Center),
              QRectF(0, 0, 100, 50));
    EXPECT_EQ(imageRectInBounds({20, 10}, bounds, ImageScaling::AxesIndependently, ImageAlignment::Center), bounds);
    EXPECT_EQ(imageRectInBounds({20, 10}, bounds, ImageScaling::None, ImageAlignment::BottomRight),
              QRectF(80, 40, 20, 10));
    EXPECT_TRUE(imageRectInBounds({}, bounds, ImageScaling::None, ImageAlignment::Center).isEmpty());
}

TEST(ZorImageView, DragStaysWithinParentAndDisabledIgnoresDrags) {
    EXPECT_EQ(zorDraggedX(-30, 200, 20), 0);
    EXPECT_EQ(zorDraggedX(500, 200, 20), 180);
    EXPECT_EQ(zorDraggedX(75, 200, 20), 75);

    QWidget parent;
    parent.resize(200, 40);
    auto* view = new ZorImageView(&parent);
    view->setGeometry(10, 5, 20, 20);
    int drags = 0, downs = 0, ups = 0;
    view->setMouseDraggedBlock([&](ZorImageView*) { ++drags; });
    view->setMouseDownBlock([&](ZorImageView* v, QMouseEvent*) { ++downs; EXPECT_TRUE(v->isDown()); });
    view->setMouseUpBlock([&](ZorImageView* v, QMouseEvent*) { ++ups; EXPECT_FALSE(v->isDown()); });
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(view, QPoint(500, 5));  // far past the right end
    EXPECT_EQ(view->x(), 180);
    EXPECT_EQ(view->y(), 5);
    QTest::mouseMove(view, QPoint(-400, 5));
    EXPECT_EQ(view->x(), 0);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(drags, 2);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);

    // Disabled, dragged with the pointer in a shown window: it stays, yet presses and releases
    // still reach their blocks.
    view->move(50, 5);
    view->setEnabled(false);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const QPoint grip = kestrel::test::visibleCentre(view, &parent);
    kestrel::test::drag(&parent, grip, grip + QPoint(60, 0), 6);
    EXPECT_EQ(view->x(), 50);
    EXPECT_EQ(drags, 2);
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(ups, 2);
}

TEST(ZorImageView, PictureChoiceAndBackgroundNeverHidesIt) {
    ZorImageView view;
    view.resize(40, 40);
    EXPECT_EQ(view.shownImage(), nullptr);
    view.setNormalImage(solidPixmap({10, 10}, Qt::red));
    view.setIsSelected(true);  // no selected picture: the normal one shows
    EXPECT_EQ(view.shownImage(), &view.normalImage());
    view.setSelectedImage(solidPixmap({10, 10}, Qt::green));
    EXPECT_EQ(view.shownImage(), &view.selectedImage());
    view.setBackGroundColor(Qt::blue);
    EXPECT_EQ(pixelAt(&view, {20, 2}), QColor(Qt::green));  // centred against the top edge
    EXPECT_EQ(pixelAt(&view, {20, 30}), QColor(Qt::blue));
}

TEST(PlainViews, FillOnlyWhenAColourIsSet) {
    RDCropTmpView veil;
    veil.resize(20, 20);
    veil.setAttribute(Qt::WA_TranslucentBackground);
    EXPECT_EQ(pixelAt(&veil, {5, 5}).alpha(), 0);
    veil.setBackgroundColor(QColor(0, 0, 0, 128));
    EXPECT_EQ(pixelAt(&veil, {5, 5}).alpha(), 128);

    ZorView panel;
    panel.resize(30, 30);
    panel.setBackGroundColor(QColor(1, 2, 3));
    panel.setBordColor(Qt::red);
    panel.setBorderWidth(2);
    EXPECT_EQ(pixelAt(&panel, {15, 15}), QColor(1, 2, 3));
    EXPECT_EQ(pixelAt(&panel, {15, 0}), QColor(Qt::red));
}

TEST(JJScroller, ValueChangesKeepItShownAndAutoShowNeverFades) {
    JJScroller scroller(Qt::Vertical);
    scroller.setRange(0, 100);
    EXPECT_EQ(scroller.sizeHint().width(), JJScroller::kScrollerWidth);
    EXPECT_FALSE(scroller.isFadeOutPending());
    scroller.setValue(10);
    EXPECT_TRUE(scroller.isFadeOutPending());
    EXPECT_EQ(scroller.targetAlpha(), 1);
    scroller.fadeOut();
    EXPECT_EQ(scroller.targetAlpha(), 0);
    scroller.setValue(20);  // scrolling again shows it and re-arms the fade
    EXPECT_EQ(scroller.targetAlpha(), 1);
    EXPECT_TRUE(scroller.isFadeOutPending());

    scroller.setIsAutoShow(true);
    EXPECT_FALSE(scroller.isFadeOutPending());
    scroller.setValue(30);
    kestrel::test::sendLeave(&scroller);
    scroller.fadeOut();
    EXPECT_FALSE(scroller.isFadeOutPending());
    EXPECT_EQ(scroller.alphaValue(), 1);
    EXPECT_EQ(scroller.targetAlpha(), 1);
}

TEST(TextFields, CentringAndShortcuts) {
    EXPECT_EQ(xjCenterYDrawingRect({2, 1, 100, 30}, {100, 16}), QRectF(2, 7, 100, 16));
    EXPECT_EQ(xjCenterYDrawingRect({2, 1, 100, 10}, {100, 16}), QRectF(2, 1, 100, 10));

    QLineEdit field;
    field.setText("hello");
    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, "a");
    EXPECT_TRUE(performKeyEquivalent(&field, selectAll));
    EXPECT_EQ(field.selectedText(), "hello");
    QKeyEvent shiftPaste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "V");
    EXPECT_FALSE(performKeyEquivalent(&field, shiftPaste));
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_V, Qt::NoModifier, "v");
    EXPECT_FALSE(performKeyEquivalent(&field, plain));
}

namespace {
struct LabelRecorder : XJLabelDelegate {
    int in = 0, out = 0;
    void labelMouseDownInView(XJLabel*, QMouseEvent*) override { ++in; }
    void labelMouseDownOutView(XJLabel*, QMouseEvent*) override { ++out; }
};
}  // namespace

TEST(XJLabel, PressOutsideEndsEditingButStepperKeepsIt) {
    QWidget window;
    window.resize(300, 100);
    auto* label = new XJLabel(&window);
    label->setEditable(true);
    label->setGeometry(10, 10, 100, 24);
    auto* stepper = new QSpinBox(&window);
    stepper->setGeometry(120, 10, 40, 24);
    auto* elsewhere = new QWidget(&window);
    elsewhere->setGeometry(200, 50, 50, 30);
    LabelRecorder recorder;
    label->setMDelegate(&recorder);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    label->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(label->hasEventMonitor());

    QTest::mouseClick(stepper, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(label->hasEventMonitor());
    EXPECT_EQ(recorder.out, 0);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(recorder.in, 1);
    EXPECT_TRUE(label->hasEventMonitor());
    QTest::mouseClick(elsewhere, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(recorder.out, 1);
    EXPECT_FALSE(label->hasEventMonitor());
    EXPECT_FALSE(label->hasFocus());
}

namespace {
struct MenuRecorder : MenuItemViewDelegate {
    std::vector<qint64> clicked, entered;
    void menuClicked(MenuItemView*, qint64 index) override { clicked.push_back(index); }
    void mouseEntered(MenuItemView*, qint64 index) override { entered.push_back(index); }
};
}  // namespace

TEST(MenuItemView, ClickPerformsTheItemThenReportsItsIndex) {
    QMenu menu;
    menu.addAction("first");
    auto* row = new MenuItemView(QRectF(0, 0, 120, 30));
    auto* item = new QWidgetAction(&menu);
    item->setDefaultWidget(row);
    menu.addAction(item);
    int triggered = 0;
    QObject::connect(item, &QAction::triggered, [&] { ++triggered; });
    MenuRecorder recorder;
    row->setMdelegate(&recorder);
    menu.popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    ASSERT_EQ(row->parentWidget(), &menu);
    EXPECT_EQ(row->titleLabel()->geometry(), QRect(5, 5, 110, 20));
    kestrel::test::sendEnter(row);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(triggered, 1);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(recorder.clicked, std::vector<qint64>{1});
    EXPECT_EQ(recorder.entered, std::vector<qint64>{1});
}
