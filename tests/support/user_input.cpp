#include "tests/support/user_input.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QRegion>
#include <QSlider>
#include <cmath>
#include <QTimer>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <algorithm>

// Only the bar's inline accessors and QWidget calls are used here, so the support library
// needs no link to the widget kit; the window tests that use the bar link it anyway.
#include "widgets/rd_cut_progress_view.h"

namespace kestrel::test {
namespace {

std::string describe(const QWidget* widget) {
    if (!widget) return "nothing";
    std::string text = widget->metaObject()->className();
    if (!widget->objectName().isEmpty()) text += " \"" + widget->objectName().toStdString() + "\"";
    return text;
}

std::string describe(QPoint p) { return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")"; }

// The window the pointer goes through and the point in it; null when the widget is not on screen.
QWindow* windowOf(QWidget* widget, QPoint at, QPoint* inWindow) {
    QWidget* top = widget->window();
    if (!widget->isVisible() || !top->windowHandle()) {
        ADD_FAILURE() << describe(widget) << " is not on screen, so it cannot be pointed at";
        return nullptr;
    }
    *inWindow = widget->mapTo(top, at);
    return top->windowHandle();
}

void expectUnderPointer(QWidget* widget, QPoint inWindow) {
    QWidget* top = widget->window();
    QWidget* hit = top->childAt(inWindow);
    if (!hit) hit = top;
    if (hit != widget && !widget->isAncestorOf(hit))
        ADD_FAILURE() << "a press at " << describe(inWindow) << " of the window lands on " << describe(hit) << ", not on "
                      << describe(widget);
}

void sendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

const QWidget* trimView(const widgets::RDCutProgressView* bar, TrimPart part) {
    switch (part) {
    case TrimPart::Start: return bar->handLeftView();
    case TrimPart::End: return bar->handRightView();
    case TrimPart::Tick: break;
    }
    return bar->tickMarkView();
}

QRect drawnIn(const QWidget* part, const QWidget* in) {
    return QRect(in->mapFromGlobal(part->mapToGlobal(QPoint(0, 0))), part->size());
}

}  // namespace

// ---- Pointer --------------------------------------------------------------------------------

void pressAt(QWidget* widget, QPoint at, Qt::MouseButton button) {
    QPoint p;
    QWindow* window = windowOf(widget, at, &p);
    if (!window) return;
    expectUnderPointer(widget, p);
    QTest::mousePress(window, button, Qt::NoModifier, p);
}

void moveTo(QWidget* widget, QPoint at) {
    QPoint p;
    if (QWindow* window = windowOf(widget, at, &p)) QTest::mouseMove(window, p);
}

void releaseAt(QWidget* widget, QPoint at, Qt::MouseButton button) {
    QPoint p;
    if (QWindow* window = windowOf(widget, at, &p)) QTest::mouseRelease(window, button, Qt::NoModifier, p);
}

void drag(QWidget* widget, QPoint from, QPoint to, int steps) {
    pressAt(widget, from);
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i) {
        const QPointF step = QPointF(from) + QPointF(to - from) * (double(i) / steps);
        moveTo(widget, step.toPoint());
    }
    releaseAt(widget, to);
}

void click(QWidget* control) { clickAt(control, visibleCentre(control, control)); }

void clickAt(QWidget* widget, QPoint at) {
    QPoint p;
    QWindow* window = windowOf(widget, at, &p);
    if (!window) return;
    expectUnderPointer(widget, p);
    // A press may close the window; the button then comes up over nothing.
    QPointer<QWindow> windowGuard(window);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, p);
    if (windowGuard) QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, p);
}

// ---- Where parts are drawn ------------------------------------------------------------------

QPoint visibleCentre(const QWidget* part, const QWidget* in) {
    QRect visible = part->visibleRegion().boundingRect();
    if (visible.isEmpty()) visible = part->rect();  // not shown yet: its whole rectangle
    return in->mapFromGlobal(part->mapToGlobal(visible.center()));
}

QPoint trimGrip(const widgets::RDCutProgressView* bar, TrimPart part) { return visibleCentre(trimView(bar, part), bar); }

QRect drawnTrack(const widgets::RDCutProgressView* bar) { return drawnIn(bar->progressBackView(), bar); }

double drawnEdgeX(const widgets::RDCutProgressView* bar, TrimPart part) {
    const QRect drawn = drawnIn(trimView(bar, part), bar);
    const double left = drawn.x(), right = drawn.x() + drawn.width();
    switch (part) {
    case TrimPart::Start: return bar->isFanxuan() ? left : right;
    case TrimPart::End: return bar->isFanxuan() ? right : left;
    case TrimPart::Tick: break;
    }
    return left + drawn.width() / 2.0;
}

void dragTrimPart(widgets::RDCutProgressView* bar, TrimPart part, double share) {
    const QPoint from = trimGrip(bar, part);
    const QRect track = drawnTrack(bar);
    const double dx = track.x() + share * track.width() - drawnEdgeX(bar, part);
    drag(bar, from, from + QPoint(int(std::lround(dx)), 0), 8);
}

double drawnFraction(const widgets::RDCutProgressView* bar, double x) {
    const QRect track = drawnTrack(bar);
    return track.width() > 0 ? (x - track.x()) / track.width() : 0.0;
}

double drawnValue(const widgets::RDCutProgressView* bar, TrimPart part) {
    return drawnFraction(bar, drawnEdgeX(bar, part));
}

QPoint sliderGrip(const QSlider* slider) {
    // The options QSlider paints itself with.
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.upsideDown = slider->orientation() == Qt::Horizontal
                            ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                            : !slider->invertedAppearance();
    option.direction = Qt::LeftToRight;  // upsideDown already carries the direction
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    if (slider->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
}

// ---- Keyboard -------------------------------------------------------------------------------

void activate(QWidget* widget) {
    QWidget* top = widget->window();
    if (top->isActiveWindow()) return;
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top)) ADD_FAILURE() << describe(top) << " did not become the active window";
}

void typeInto(QWidget* field, const QString& text, Commit how, QWidget* elsewhere) {
    activate(field);
    click(field);
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !(focus == field || field->isAncestorOf(focus) || focus->isAncestorOf(field))) {
        ADD_FAILURE() << "a click on " << describe(field) << " leaves the keyboard focus on " << describe(focus);
        return;
    }
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focus, text);
    switch (how) {
    case Commit::Tab: QTest::keyClick(focus, Qt::Key_Tab); break;
    case Commit::Return: QTest::keyClick(focus, Qt::Key_Return); break;
    case Commit::ClickElsewhere:
        if (elsewhere) click(elsewhere);
        else ADD_FAILURE() << "no control named to click after typing";
        break;
    }
}

void pressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    activate(window);
    QWidget* top = window->window();
    QWidget* target = top->focusWidget();
    QTest::keyClick(target ? target : top, key, modifiers);
}

void pressEscape(QWidget* windowOrDialog) { pressKey(windowOrDialog, Qt::Key_Escape); }

bool closeWindow(QWidget* window) {
    QPointer<QWidget> top = window->window();
    // The platform window's close is the path of the title bar's button: a close event the
    // window may refuse.
    if (QWindow* handle = top->windowHandle()) handle->close();
    else top->close();
    QCoreApplication::processEvents();
    return !top || !top->isVisible();
}

// ---- Waiting --------------------------------------------------------------------------------

namespace {

struct MenuChoice {
    QString itemText;
    int timeoutMs = 0;
    QElapsedTimer clock;
    std::shared_ptr<bool> chosen;
};

// Runs from the menu's own event loop once it is open.
void pollForMenu(const std::shared_ptr<MenuChoice>& choice) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible()) {
        if (choice->clock.elapsed() < choice->timeoutMs) QTimer::singleShot(20, [choice] { pollForMenu(choice); });
        return;
    }
    for (QAction* action : menu->actions()) {
        if (action->text().trimmed() != choice->itemText.trimmed()) continue;
        const QPoint at = menu->actionGeometry(action).center();
        // Through the menu's window, as a mouse does: an item drawn by a widget of its own
        // (a custom row) gets the click, not the menu under it.
        if (QWindow* window = menu->windowHandle()) {
            QTest::mouseMove(window, at);
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
        } else {
            QTest::mouseMove(menu, at);
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
        }
        *choice->chosen = true;
        return;
    }
    ADD_FAILURE() << "the menu has no item " << choice->itemText.toStdString();
    QTest::keyClick(menu, Qt::Key_Escape);
}

}  // namespace

std::shared_ptr<bool> chooseInNextMenu(const QString& itemText, int timeoutMs) {
    auto choice = std::make_shared<MenuChoice>();
    choice->itemText = itemText;
    choice->timeoutMs = timeoutMs;
    choice->clock.start();
    choice->chosen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [choice] { pollForMenu(choice); });
    return choice->chosen;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) { return QTest::qWaitFor(condition, timeoutMs); }

// ---- Straight to one widget, at exact points ------------------------------------------------

void sendPress(QWidget* widget, QPointF at) { sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }

void sendMove(QWidget* widget, QPointF at) { sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }

void sendRelease(QWidget* widget, QPointF at) {
    sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void sendGesture(QWidget* widget, QPointF press, std::initializer_list<QPointF> steps) {
    sendPress(widget, press);
    QPointF last = press;
    for (QPointF step : steps) {
        sendMove(widget, step);
        last = step;
    }
    sendRelease(widget, last);
}

void sendEnter(QWidget* widget, QPoint at) {
    QEnterEvent event(at, widget->mapToGlobal(at), widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

void sendLeave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

}  // namespace kestrel::test
