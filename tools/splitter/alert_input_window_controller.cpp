#include "tools/splitter/alert_input_window_controller.h"

#include "services/language.h"
#include "tools/shared/kit_controls.h"
#include "widgets/dialogs/app_icon.h"
#include "widgets/image_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/tool_window.h"
#include "widgets/zor_button.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <cmath>

namespace kestrel::tools::splitter {

namespace kit = kestrel::tools::shared;

long leadingInteger(const QString& text) {
    static const QRegularExpression leading(QStringLiteral("^\\s*([+-]?\\d+)"));
    const QRegularExpressionMatch match = leading.match(text);
    return match.hasMatch() ? match.captured(1).toLong() : 0;
}

AlertInputWindowController::AlertInputWindowController(QWidget* parent) : QDialog(parent) {
    setModal(true);
    setMinimumSize(420, 196);
    kestrel::widgets::applyToolWindowLook(this);
    setLayoutDirection(Qt::LeftToRight);
    logoView = new kestrel::widgets::ImageView(this);
    logoView->setFixedSize(40, 40);
    logoView->setImage(kestrel::widgets::applicationIcon());
    titleLabel_ = kit::toolLabel(this, 16, kit::kToolText);
    messageLabel_ = kit::toolLabel(this, 15, kit::kToolText);
    messageLabel_->setWordWrap(true);
    customLabel_ = kit::toolLabel(this, 15, kit::kToolText);
    exLabel_ = kit::toolLabel(this, 15, kit::kToolText);
    QWidget* valueBox = kit::toolPanel(this, kit::kToolWell, 3, QStringLiteral("customValueBox"), 1);
    valueBox->setFixedSize(110, 28);
    auto* valueRow = new QHBoxLayout(valueBox);
    valueRow->setContentsMargins(6, 0, 6, 0);
    customValueTextField = new kestrel::widgets::RDTextField(valueBox);
    customValueTextField->setObjectName(QStringLiteral("customValueTextField"));
    customValueTextField->setFrame(false);
    customValueTextField->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: rgb(170,177,185); font-size: 15px; }"));
    customValueTextField->setPointColor(kit::kToolText);
    customValueTextField->setEnabled(true);
    kit::keepLeftToRight(customValueTextField);
    valueRow->addWidget(customValueTextField);
    okBtn = kit::titledButton(this, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"), kit::kToolText,
                              QStringLiteral("okBtn"));
    cancelBtn = kit::titledButton(this, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"), kit::kToolText,
                                  QStringLiteral("cancelBtn"));
    kit::setButtonTitle(okBtn, services::localized(QStringLiteral("alertOKBtn")));
    kit::setButtonTitle(cancelBtn, services::localized(QStringLiteral("alertCancelBtn")));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->addWidget(logoView, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(titleLabel_, 0, 1, 1, 3);
    grid->addWidget(messageLabel_, 1, 1, 1, 3);
    grid->addWidget(customLabel_, 2, 1);
    grid->addWidget(valueBox, 2, 2);
    grid->addWidget(exLabel_, 2, 3);
    grid->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);
    grid->addLayout(buttons, 3, 0, 1, 4);

    connect(customValueTextField, &QLineEdit::textEdited, this, [this] { capValue(); });
    connect(customValueTextField, &QLineEdit::returnPressed, this, &QDialog::accept);
    okBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { accept(); });
    cancelBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { reject(); });
    customValueTextField->setFocus();
    kit::applyToolTextDirection(this);
}

void AlertInputWindowController::setTexts(const QString& title, const QString& information,
                                          const QString& customTitle, const QString& unit) {
    titleLabel_->setText(title);
    messageLabel_->setText(information);
    customLabel_->setText(customTitle);
    exLabel_->setText(unit);
    setWindowTitle(title);
}

void AlertInputWindowController::setValueText(const QString& text) { customValueTextField->setText(text); }

QString AlertInputWindowController::valueText() const { return customValueTextField->text(); }

void AlertInputWindowController::capValue() {
    if (double(leadingInteger(valueText())) > maxNumber_)
        customValueTextField->setText(QString::number(long(std::trunc(maxNumber_))));
}

QString AlertInputWindowController::answer() const {
    if (result() != QDialog::Accepted || leadingInteger(valueText()) <= 0) return QString();
    return valueText();
}

}  // namespace kestrel::tools::splitter
