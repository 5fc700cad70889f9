#include "tools/shared/support_mail.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <QTimer>

#include "services/language.h"
#include "services/support_address.h"

namespace kestrel::tools::shared {

QUrl supportMailUrl() {
    QString link = QStringLiteral("mailto:%1?Subject=%2&body=%3")
                       .arg(services::supportMailAddress(), QStringLiteral(" "), QStringLiteral(" "));
    link.replace(QLatin1Char(' '), QStringLiteral("%20"));
    return QUrl(link, QUrl::TolerantMode);
}

void emailAction() { QDesktopServices::openUrl(supportMailUrl()); }

namespace {
constexpr int kIcon = 24, kGap = 8;
}

SupportMailLink::SupportMailLink(QWidget* parent) : QWidget(parent) {
    emailIconView_ = new QLabel(this);
    emailIconView_->setPixmap(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Join/imgEmail.png")));
    emailIconView_->setAlignment(Qt::AlignCenter);
    email_addressLabel_ = new QLabel(this);
    email_addressLabel_->setStyleSheet(QStringLiteral("color: rgb(96,222,208);"));
    setCursor(Qt::PointingHandCursor);
    retranslate();
    placeParts();
}

QSize SupportMailLink::sizeHint() const {
    const QSize text = email_addressLabel_->sizeHint();
    return {kIcon + kGap + text.width(), std::max(kIcon, text.height())};
}

void SupportMailLink::placeParts() {
    emailIconView_->setGeometry(0, (height() - kIcon) / 2, kIcon, kIcon);
    email_addressLabel_->setGeometry(kIcon + kGap, 0, std::max(0, width() - kIcon - kGap), height());
}

void SupportMailLink::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeParts();
}

void SupportMailLink::retranslate() {
    // A build without a support address shows no link at all.
    const QString address = services::supportMailAddress();
    email_addressLabel_->setText(address);
    setToolTip(address);
    setHidden(address.isEmpty());
}

void SupportMailLink::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    const bool onIcon = emailIconView_->geometry().contains(event->position().toPoint());
    const bool onAddress = email_addressLabel_->geometry().contains(event->position().toPoint());
    // Queued: the click finishes before the desktop is asked.
    if (event->button() == Qt::LeftButton && (onIcon || onAddress)) QTimer::singleShot(0, this, [] { emailAction(); });
}

}  // namespace kestrel::tools::shared
