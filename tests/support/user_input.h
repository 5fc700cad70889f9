#pragma once
// What a person does to a window, sent as Qt test events on the real controls.
//
// The pointer goes through the top-level window at whole-pixel points, as a mouse does: Qt picks
// the widget under the point, so a hidden or covered control is not reached and a disabled one
// ignores the press; while the button is held, moves go to the pressed widget. A control that is
// not on screen, or a press that lands on another widget, is reported as a test failure.
// Keys go to the widget holding the keyboard focus, after the window has been made active.
// Points are in the named widget's own pixels (origin top-left).
//
// The send* functions at the end deliver one event straight to one widget at an exact,
// possibly fractional point. They are for a control's own tests that pin its arithmetic below
// a pixel; a window test uses the functions above them.
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>

class QSlider;
class QWidget;

namespace kestrel::widgets {
class RDCutProgressView;
}

namespace kestrel::test {

// ---- Pointer --------------------------------------------------------------------------------

void pressAt(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// A move with whatever buttons are held.
void moveTo(QWidget* widget, QPoint at);
void releaseAt(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Press at from, then `steps` moves evenly spaced from there to to, then release at to.
void drag(QWidget* widget, QPoint from, QPoint to, int steps);
// Press and release at the control's visible centre.
void click(QWidget* control);
void clickAt(QWidget* widget, QPoint at);

// ---- Where parts are drawn ------------------------------------------------------------------

// The centre of the part's visible area (clipped by its parents), in the coordinates of `in`.
QPoint visibleCentre(const QWidget* part, const QWidget* in);

// The trim range bar: its start and end handles and the play tick.
enum class TrimPart { Start, End, Tick };
// Where a person grabs the part: the centre of what is drawn of it, in bar coordinates.
QPoint trimGrip(const widgets::RDCutProgressView* bar, TrimPart part);
// The drawn track, in bar coordinates.
QRect drawnTrack(const widgets::RDCutProgressView* bar);
// The range edge a handle marks as drawn (x in bar coordinates): the handle's inner side, or
// its outer side in the keep-outside look. For the tick, its centre.
double drawnEdgeX(const widgets::RDCutProgressView* bar, TrimPart part);
// The fraction of the drawn track at x (bar coordinates), not limited to [0, 1].
double drawnFraction(const widgets::RDCutProgressView* bar, double x);
// The fraction of the clip a handle shows where it is drawn now.
double drawnValue(const widgets::RDCutProgressView* bar, TrimPart part);

// Grabs the part where it is drawn and drags it in several moves until the range edge it marks
// lies at that share of the drawn track.
void dragTrimPart(widgets::RDCutProgressView* bar, TrimPart part, double share);
// The centre of a slider's handle as its style draws it, in slider coordinates.
QPoint sliderGrip(const QSlider* slider);

// ---- Pop-up menus ----------------------------------------------------------------------------

// Arranges for the next pop-up menu to open within the timeout (a button's menu, which runs
// its own event loop) to have the item whose text, trimmed, is itemText clicked where it is
// drawn. Call it before the click that opens the menu; the returned flag turns true once the
// item was clicked (a menu without that item is closed with Escape and the flag stays false).
std::shared_ptr<bool> chooseInNextMenu(const QString& itemText, int timeoutMs = 5000);

// ---- Keyboard -------------------------------------------------------------------------------

// How a typed value is handed over: Tab to the next control, Return, or a click on another
// control (which takes the focus if it accepts focus by click).
enum class Commit { Tab, Return, ClickElsewhere };
// Clicks into the field, selects what it holds (Ctrl+A), types text, then commits it.
void typeInto(QWidget* field, const QString& text, Commit how = Commit::Tab, QWidget* elsewhere = nullptr);
// One key press and release at the focused widget of the window (the window itself if none).
void pressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void pressEscape(QWidget* windowOrDialog);
// Asks the window to close as its title bar's close button does; true when it went away.
bool closeWindow(QWidget* window);
// Makes the widget's window the active one, so that focus and keys reach it.
void activate(QWidget* widget);

// ---- Waiting --------------------------------------------------------------------------------

// Runs the event loop until the condition holds (a preview that plays, a job that runs);
// false when the timeout passed first. The timeout guards against a hang, it measures nothing.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 120000);

// ---- Straight to one widget, at exact points ------------------------------------------------

void sendPress(QWidget* widget, QPointF at);
// A move with the left button held.
void sendMove(QWidget* widget, QPointF at);
void sendRelease(QWidget* widget, QPointF at);
// Press, one move per point, release at the last point.
void sendGesture(QWidget* widget, QPointF press, std::initializer_list<QPointF> steps);
void sendEnter(QWidget* widget, QPoint at = QPoint(1, 1));
void sendLeave(QWidget* widget);

}  // namespace kestrel::test
