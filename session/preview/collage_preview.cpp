#include "session/preview/collage_preview.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"
#include "session/model/ve_virual_video.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>

namespace kestrel::session {

CollagePreview::CollagePreview(QObject* parent) : QObject(parent) {}

CollagePreview::~CollagePreview() { release(); }

void* CollagePreview::handle() const { return video_ ? video_->hVirualVideo() : nullptr; }

void CollagePreview::release() {
    if (handle()) {
        rdVEPreviewStop(handle());
        rdVESetPreviewPlayFinishCallback(handle(), nullptr, nullptr);
    }
    // The engine deletes its view only when no window took it; a placed view goes here.
    QPointer<QObject> placed = static_cast<QObject*>(view_);
    video_.reset();
    delete placed.data();
    view_ = nullptr;
    started_ = playing_ = false;
}

int CollagePreview::onFinished(void* context) {
    // Engine thread: only post to the main thread.
    auto* self = static_cast<CollagePreview*>(context);
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->playing_ = false;
            Q_EMIT self->playFinished();
        },
        Qt::QueuedConnection);
    return 1;
}

void* CollagePreview::recreate(int width, int height) {
    release();
    auto video = std::make_unique<VEVirualVideo>();
    view_ = video->createPreviewWithDisplayRatio(double(width) / double(height), QSizeF(width, height));
    if (!view_) return nullptr;
    rdVESetPreviewPlayFinishCallback(video->hVirualVideo(), &CollagePreview::onFinished, this);
    rdVESetVolume(video->hVirualVideo(), volume_);
    video_ = std::move(video);
    return view_;
}

int32_t CollagePreview::rebuild(const CollageSpec& spec) {
    if (!handle()) return -7;
    void* h = handle();
    if (started_) rdVEPreviewPause(h);
    playing_ = false;
    video_->removeAllScene();
    video_->removeAllAudio();
    total_us_ = collageLengthUs(spec);
    int32_t rc = fillCollage(*video_, spec);
    if (!started_) {
        started_ = accepted(rdVEPreview(h));
        rdVEPreviewPause(h);
    }
    rdVEPreviewSeek(h, 0);
    rdVEPreviewRefresh(h);
    return rc;
}

void CollagePreview::play() {
    if (!handle() || total_us_ <= 0) return;
    if (!started_) started_ = accepted(rdVEPreview(handle()));
    else rdVEPreviewConintue(handle());
    playing_ = started_;
}

void CollagePreview::pause() {
    if (!handle() || !playing_) return;
    rdVEPreviewPause(handle());
    playing_ = false;
}

void CollagePreview::seek(int64_t position_us) {
    if (!handle()) return;
    rdVEPreviewSeek(handle(), std::max<int64_t>(0, position_us));
    if (!playing_) rdVEPreviewRefresh(handle());
}

void CollagePreview::refresh() {
    if (handle()) rdVEPreviewRefresh(handle());
}

void CollagePreview::setVolume(float volume) {
    volume_ = volume;
    if (handle()) rdVESetVolume(handle(), volume);
}

int64_t CollagePreview::positionUs() const {
    if (!handle()) return 0;
    return std::max<int64_t>(0, rdVEGetCurrentPlaybackTime(handle()));
}

}  // namespace kestrel::session
