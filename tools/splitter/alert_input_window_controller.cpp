#include "tools/splitter/alert_input_window_controller.h"

#include "services/language.h"
#include "tools/shared/form_look.h"
#include "widgets/dialogs/dark_look.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <cmath>

namespace kestrel::tools::splitter {

long leadingInteger(const QString& text) {
    static const QRegularExpression leading(QStringLiteral("^\\s*([+-]?\\d+)"));
    const QRegularExpressionMatch match = leading.match(text);
    return match.hasMatch() ? match.captured(1).toLong() : 0;
}

AlertInputWindowController::AlertInputWindowController(QWidget* parent) : QDialog(parent) {
    setModal(true);
    setMinimumSize(420, 196);
    kestrel::tools::shared::applyFormLook(this, QStringLiteral("startExportBtn"));
    setLayoutDirection(Qt::LeftToRight);
    titleLabel_ = new QLabel(this);
    titleLabel_->setObjectName(QStringLiteral("titleLine"));
    messageLabel_ = new QLabel(this);
    messageLabel_->setWordWrap(true);
    customLabel_ = new QLabel(this);
    exLabel_ = new QLabel(this);
    customValueTextField = new QLineEdit(this);
    okBtn = new QPushButton(services::localized(QStringLiteral("alertOKBtn")), this);
    cancelBtn = new QPushButton(services::localized(QStringLiteral("alertCancelBtn")), this);
    okBtn->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(titleLabel_, 0, 0, 1, 3);
    grid->addWidget(messageLabel_, 1, 0, 1, 3);
    grid->addWidget(customLabel_, 2, 0);
    grid->addWidget(customValueTextField, 2, 1);
    grid->addWidget(exLabel_, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);
    grid->addLayout(buttons, 3, 0, 1, 3);

    connect(customValueTextField, &QLineEdit::textEdited, this, [this] { capValue(); });
    connect(okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    customValueTextField->setFocus();
    kestrel::widgets::applyTextDirection(this);
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
