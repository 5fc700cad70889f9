#include "export/ui/input_file_name_window_controller.h"

#include "export/profiles/custom_profile_store.h"
#include "export/profiles/profile_tree.h"
#include "export/ui/dialog_style.h"
#include "platform/notification_center.h"
#include "services/language.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariantMap>
#include <algorithm>

namespace exportkit {
namespace {

QString refusalMessage(NameRefusal refusal) {
    switch (refusal) {
    case NameRefusal::Empty: return services::localized(QStringLiteral("CustomProfileNameEmptyMessage"));
    case NameRefusal::Separator: return services::localized(QStringLiteral("CustomProfileNameSlashMessage"));
    case NameRefusal::Exists: return services::localized(QStringLiteral("CustomProfileNameExistsMessage"));
    case NameRefusal::Hidden: return services::localized(QStringLiteral("CustomProfileNameDotMessage"));
    case NameRefusal::None: break;
    }
    return QString();
}

}  // namespace

InputFileNameWindowController::InputFileNameWindowController(QWidget* parent)
    : QDialog(parent), customFolder_(customProfileFolder()) {
    setModal(true);
    resize(380, 141);
    style::styleWindow(this);
    tisiLabel = new QLabel(this);
    tisiLabel->setGeometry(20, 14, 340, 20);
    style::styleCaption(tisiLabel, style::kSettingsTextColor);
    nameNameField = new QLineEdit(this);
    nameNameField->setGeometry(20, 40, 340, 24);
    messageLabel = new QLabel(this);
    messageLabel->setGeometry(20, 68, 340, 20);
    messageLabel->setWordWrap(true);
    style::styleCaption(messageLabel, QColor(235, 110, 110), 12);
    cancelBtn = new QPushButton(this);
    okBtn = new QPushButton(this);
    okBtn->setDefault(true);
    connect(okBtn, &QPushButton::clicked, this, [this] { actionOkBtn(); });
    connect(cancelBtn, &QPushButton::clicked, this, [this] { actionCancelBtn(); });
    tisiLabel->setText(services::localized(QStringLiteral("inputTishiTitle")));
    cancelBtn->setText(services::localized(QStringLiteral("alertCancelBtn")));
    okBtn->setText(services::localized(QStringLiteral("OKBtnTitle")));
    style::applyTextDirection(this);
    layoutBelowMessage();
}

void InputFileNameWindowController::showMessage(const QString& text) {
    messageLabel->setText(text);
    layoutBelowMessage();
}

void InputFileNameWindowController::layoutBelowMessage() {
    // The message takes as many lines as it needs; the buttons and the window follow it. The
    // buttons are 90 points wide unless their titles need more, right-aligned 10 apart.
    const int messageHeight = std::max(20, messageLabel->heightForWidth(messageLabel->width()));
    messageLabel->resize(messageLabel->width(), messageHeight);
    const int buttonsY = messageLabel->y() + messageHeight + 12;
    const int buttonWidth = std::max({90, okBtn->sizeHint().width(), cancelBtn->sizeHint().width()});
    okBtn->setGeometry(360 - buttonWidth, buttonsY, buttonWidth, 26);
    cancelBtn->setGeometry(okBtn->x() - 10 - buttonWidth, buttonsY, buttonWidth, 26);
    resize(width(), buttonsY + 26 + 15);
}

void InputFileNameWindowController::setBaseProfile(const QString& pfPath, const ChoiceKeys& keys) {
    basePath_ = pfPath;
    keys_ = keys;
}

void InputFileNameWindowController::actionOkBtn() {
    const QString name = nameNameField->text();
    const CustomProfileStore store(customFolder_);
    const NameRefusal refusal = store.refusalForName(name);
    if (refusal != NameRefusal::None) {
        showMessage(refusalMessage(refusal));
        return;
    }
    QString error;
    if (!store.saveCustomProfile(basePath_, storedChoiceResolvingCustom(keys_), name, &error)) {
        showMessage(services::localized(QStringLiteral("CustomProfileSaveFailedMessage")) + QLatin1Char(' ') + error);
        return;
    }
    savedPath_ = customFolder_ + QLatin1Char('/') + name + QStringLiteral(".pf");
    platform::NotificationCenter::defaultCenter().post(
        platform::kAddPfFileNotification, this,
        QVariantMap{{QStringLiteral("fileName"), name}, {QStringLiteral("value"), customValue_}});
    accept();
}

void InputFileNameWindowController::actionCancelBtn() { reject(); }

}  // namespace exportkit
