#pragma once
// Controls the three editor panels (watermark, subtitle, music) build in the window's style
// (editor_look.h): labels, buttons with state pictures, check boxes, stepper buttons and
// four-field time groups.
#include <QLabel>
#include <QString>
#include <array>
#include <functional>

class QBoxLayout;
class QVBoxLayout;

#include "widgets/rd_text_field.h"
#include "editor/editor_look.h"
#include "widgets/zor_button.h"

namespace kestrel::editor::panel {

using look::setPlayPictures;

QLabel* makeLabel(QWidget* parent, const QString& text = QString());
// A button with a background picture per state (ZantImage/<folder>/<name>_<State>@2x.png).
kestrel::widgets::ZorButton* makeTextButton(QWidget* parent, const QString& backgroundBase, kestrel::widgets::ZorButton::Block block);
// A button whose picture is its face (name with "Normal" replaced by each state).
kestrel::widgets::ZorButton* makePictureButton(QWidget* parent, const QString& normalPicture, kestrel::widgets::ZorButton::Block block);
// A check box: picture at the leading side, a selected picture, the title as "  %@".
kestrel::widgets::ZorButton* makeCheckBox(QWidget* parent, kestrel::widgets::ZorButton::Block block);
void setCheckBoxTitle(kestrel::widgets::ZorButton* box, const QString& title);
// Stepper buttons start disabled; the owner enables them while a field of their group is edited.
kestrel::widgets::ZorButton* makeStepperButton(QWidget* parent, bool up, kestrel::widgets::ZorButton::Block block);

// Hours, minutes, seconds and a fraction field, centred, the owner as delegates.
struct TimeGroup {
    std::array<kestrel::widgets::RDTextField*, 4> fields{};
    QWidget* box = nullptr;
    bool contains(const kestrel::widgets::RDTextField* field) const;
    bool isFractionField(const kestrel::widgets::RDTextField* field) const { return field == fields[3]; }
    void setTexts(const QStringList& texts);
    void setEnabled(bool enabled);
};
// A framed, scrolling list added to the column; rows go into the returned layout, before the
// stretch it keeps last.
QVBoxLayout* makeListArea(QWidget* parent, int height, QBoxLayout* column);
// The open panel (never the platform's own) for several files of those extensions, other files
// allowed too; the chosen paths, empty when cancelled.
QStringList runOpenPanel(QWidget* window, const QString& message, const QStringList& extensions);

TimeGroup makeTimeGroup(QWidget* parent, kestrel::widgets::RDTextFieldDelegate* mouseDelegate);

// How a panel tells the user something (the window's alert); a panel without one opens a
// message box over its window, without waiting for it.
using AlertPresenter = std::function<void(const QString& message)>;
void showAlert(QWidget* panel, const AlertPresenter& presenter, const QString& message);
kestrel::widgets::RDTextField* makeValueField(QWidget* parent, kestrel::widgets::RDTextFieldDelegate* mouseDelegate);

}  // namespace kestrel::editor::panel
