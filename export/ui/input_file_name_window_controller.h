#pragma once
// The small prompt that names a custom output profile. OK saves the profile into the custom
// folder and posts "NSAddPfFileNotification" ({"fileName", "value"}) so that every format bar
// reloads; a name that is empty, holds a path separator or names an existing profile is
// refused with a message and the prompt stays open.
#include "export/profiles/profile_choice.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace exportkit {

class InputFileNameWindowController : public QDialog {
    Q_OBJECT
public:
    explicit InputFileNameWindowController(QWidget* parent = nullptr);

    // "custom={<width>x<height>}" from the settings dialog's custom fields.
    const QString& customValue() const { return customValue_; }
    void setCustomValue(const QString& value) { customValue_ = value; }
    // The profile the custom one is made from, and the keys holding the chosen values.
    void setBaseProfile(const QString& pfPath, const ChoiceKeys& keys);
    // Where custom profiles go (the per-user "Custom" folder unless set).
    void setCustomFolder(const QString& folder) { customFolder_ = folder; }

    void actionOkBtn();
    void actionCancelBtn();
    // Shows a refusal or failure under the name field; the window grows to a long message.
    void showMessage(const QString& text);
    // The profile written by the last successful OK.
    const QString& savedPath() const { return savedPath_; }

    QLabel* tisiLabel = nullptr;
    QLineEdit* nameNameField = nullptr;
    QLabel* messageLabel = nullptr;
    QPushButton* cancelBtn = nullptr;
    QPushButton* okBtn = nullptr;

private:
    void layoutBelowMessage();

    QString customValue_;
    QString basePath_;
    ChoiceKeys keys_ = ChoiceKeys::editor();
    QString customFolder_;
    QString savedPath_;
};

}  // namespace exportkit
