#include "tools/collage/trim_player.h"

#include "engine/player/DIVuverIzizud.h"
#include "platform/media_time.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace kestrel::tools::collage {

namespace {
constexpr int kTickMs = 100;
// The first picture shown: a thirtieth of a second in, past a black start.
constexpr int64_t kFirstPictureUs = 1'000'000 / 30;
}  // namespace

TrimPlayer::TrimPlayer(const QString& path, QWidget* area, QObject* parent) : QObject(parent), area_(area) {
    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { Q_EMIT ticked(positionUs()); });
    const QRectF frame = area ? QRectF(QPointF(0, 0), QSizeF(area->size())) : QRectF();
    player_ = player::DIVuverIzizud::initWithString(path.toStdString(), frame);
    if (!player_) return;
    QPointer<TrimPlayer> guard(this);
    player_->setPlayerDidEndBlock([guard] {
        if (!guard) return;
        guard->timer_->stop();
        guard->player_->pause();
        guard->seekUs(0);
        Q_EMIT guard->ended();
    });
    if (QWidget* view = player_->view()) {
        if (area) {
            view->setParent(area);
            view->lower();
            view->show();
            fitView();
        } else {
            view->hide();
        }
    }
    seekUs(std::min(kFirstPictureUs, lengthUs()));
}

TrimPlayer::~TrimPlayer() {
    if (!player_) return;
    player_->stop();
    player_->closePlayer();
    // The area's widget tree must not delete the view the player owns.
    if (QWidget* view = player_->view()) view->setParent(nullptr);
}

int64_t TrimPlayer::lengthUs() const { return player_ ? std::max<int64_t>(0, player_->duration().microseconds()) : 0; }

int64_t TrimPlayer::positionUs() const { return player_ ? player_->currentTime().microseconds() : 0; }

bool TrimPlayer::playing() const { return player_ && player_->playerStatus() == 1; }

void TrimPlayer::play() {
    if (!player_) return;
    player_->play();
    timer_->start();
}

void TrimPlayer::pause() {
    if (!player_) return;
    player_->pause();
    timer_->stop();
}

void TrimPlayer::stop() {
    if (!player_) return;
    player_->stop();
    timer_->stop();
    seekUs(0);
}

void TrimPlayer::seekUs(int64_t time_us) {
    if (player_) player_->seekTime(platform::MediaTime::fromMicroseconds(std::clamp<int64_t>(time_us, 0, lengthUs())));
}

void TrimPlayer::setVolume(double factor) {
    if (player_) player_->SetVolume(factor);
}

void TrimPlayer::setOrientation(int angle, bool mirrorHorizontal, bool mirrorVertical) {
    if (!player_) return;
    player_->SetRotateAngle(angle);
    player_->SetHFlip(mirrorHorizontal ? 1 : 0);
    player_->SetVFlip(mirrorVertical ? 1 : 0);
    player_->Refresh();
}

void TrimPlayer::holdForPress() {
    resumeAfterPress_ = playing();
    pause();
}

void TrimPlayer::releasePress() {
    if (resumeAfterPress_) play();
    resumeAfterPress_ = false;
}

void TrimPlayer::fitView() {
    if (!player_ || !area_) return;
    player_->setFrame(QRectF(QPointF(0, 0), QSizeF(area_->size())));
    if (QWidget* view = player_->view()) view->setGeometry(area_->rect());
}

}  // namespace kestrel::tools::collage
