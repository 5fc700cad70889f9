#include "tools/joiner/join_progress_panel.h"

#include <QLabel>
#include <QTimer>
#include <cmath>

#include "services/language.h"
#include "widgets/ns_progress_view.h"
#include "widgets/rd_button.h"
#include "widgets/tool_window.h"

namespace kestrel::tools::joiner {
namespace {

constexpr int kPollMs = 200;

}  // namespace

ConvertJoinProgressVC::ConvertJoinProgressVC(QWidget* parent) : QWidget(parent) {
    kestrel::widgets::applyToolWindowLook(this);
    resize(420, 120);
    const int w = width(), h = height();
    progressView_ = new kestrel::widgets::NSProgressView(QRectF(0, 0, w - 100, 6), this);
    progressView_->setGeometry(10, h / 2 - 3, w - 100, 6);
    titleLabel_ = new QLabel(this);
    titleLabel_->setGeometry(0, 8, w, 22);
    titleLabel_->setAlignment(Qt::AlignCenter);
    QFont titleFont = titleLabel_->font();
    titleFont.setPointSize(16);
    titleLabel_->setFont(titleFont);
    statuesLabel_ = new QLabel(this);
    statuesLabel_->setGeometry(w - 85, progressView_->y() - 7, 80, 20);
    statuesLabel_->setAlignment(Qt::AlignCenter);
    cancelBtn_ = new kestrel::widgets::RDButton(QRectF(0, 0, 100, 24), this);
    cancelBtn_->setGeometry(w - 120, h - 34, 100, 24);
    cancelBtn_->setNormalColor(QColor(205, 214, 221));
    cancelBtn_->setHeightedColor(QColor(96, 222, 208));
    cancelBtn_->setDelegate(this);
    changeLanguage();

    exportJoinTimer_ = new QTimer(this);
    exportJoinTimer_->setInterval(kPollMs);
    connect(exportJoinTimer_, &QTimer::timeout, this, &ConvertJoinProgressVC::convertJoinGetProgress);
    exportJoinTimer_->start();
}

ConvertJoinProgressVC::~ConvertJoinProgressVC() = default;

void ConvertJoinProgressVC::changeLanguage() {
    titleLabel_->setText(services::Language::localizedStringForKey(QStringLiteral("JoinProgressTitle")));
    cancelBtn_->setTitle(services::Language::localizedStringForKey(QStringLiteral("Cancel")));
}

void ConvertJoinProgressVC::convertJoinGetProgress() {
    if (!joinDelegate_ || !joinDelegate_->answersChangeProgress()) return;
    const float percent = joinDelegate_->changeProgress();
    if (!std::isfinite(percent) || percent < 0 || percent > 100) return;
    setProgress(percent / 100.0f);
    setProgressStatues(QString::asprintf("%.f%%", percent));
}

void ConvertJoinProgressVC::setProgress(float fraction) {
    progress_ = fraction;
    progressView_->setProgress(fraction);
}

void ConvertJoinProgressVC::setProgressStatues(const QString& text) {
    progressStatues_ = text;
    statuesLabel_->setText(text);
}

void ConvertJoinProgressVC::actionMouseUpForRDButtonBlock(kestrel::widgets::RDButton* button) {
    if (button != cancelBtn_) return;
    if (!joinDelegate_ || !joinDelegate_->answersCancelConvertJoin()) return;
    exportJoinTimer_->stop();
    joinDelegate_->cancelConvertJoin();
}

bool ConvertJoinProgressVC::polling() const { return exportJoinTimer_->isActive(); }

void ConvertJoinProgressVC::closeWindow() {
    exportJoinTimer_->stop();
    close();
}

}  // namespace kestrel::tools::joiner
