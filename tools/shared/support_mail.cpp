#include "tools/shared/support_mail.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "services/language.h"

namespace kestrel::tools::shared {

QUrl supportMailUrl() {
    QString link = QStringLiteral("mailto:%1?Subject=%2&body=%3")
                       .arg(services::localized(QStringLiteral("email_address")), QStringLiteral(" "), QStringLiteral(" "));
    link.replace(QLatin1Char(' '), QStringLiteral("%20"));
    return QUrl(link, QUrl::TolerantMode);
}

void emailAction() { QDesktopServices::openUrl(supportMailUrl()); }

SupportMailLink::SupportMailLink(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    emailIconView_ = new QLabel(this);
    emailIconView_->setPixmap(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Join/imgEmail.png")));
    email_addressLabel_ = new QLabel(this);
    email_addressLabel_->setStyleSheet(QStringLiteral("color: rgb(96,222,208);"));
    row->addWidget(emailIconView_);
    row->addWidget(email_addressLabel_);
    row->addStretch(1);
    setCursor(Qt::PointingHandCursor);
    retranslate();
}

void SupportMailLink::retranslate() {
    email_addressLabel_->setText(services::localized(QStringLiteral("email_address")));
    setToolTip(email_addressLabel_->text());
}

void SupportMailLink::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    const bool onIcon = emailIconView_->geometry().contains(event->position().toPoint());
    const bool onAddress = email_addressLabel_->geometry().contains(event->position().toPoint());
    // Queued: the click finishes before the desktop is asked.
    if (event->button() == Qt::LeftButton && (onIcon || onAddress)) QTimer::singleShot(0, this, [] { emailAction(); });
}

}  // namespace kestrel::tools::shared
