#include "session/preview/collage_preview.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>

namespace kestrel::session {

CollagePreview::CollagePreview(QObject* parent) : QObject(parent) {}

CollagePreview::~CollagePreview() { release(); }

void CollagePreview::release() {
    if (video_) {
        rdVEPreviewStop(video_.get());
        rdVESetPreviewPlayFinishCallback(video_.get(), nullptr, nullptr);
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
    VirtualVideoHandle video = VirtualVideoHandle::create();
    if (!video) return nullptr;
    if (!accepted(rdVESetFrameSize(video.get(), width, height))) return nullptr;
    rdVESetDisplayRatio(video.get(), float(width) / float(height));
    if (!accepted(rdVEPreviewInit(video.get()))) return nullptr;
    view_ = rdVEGetPreview(video.get());
    if (!view_) return nullptr;
    rdVESetPreviewPlayFinishCallback(video.get(), &CollagePreview::onFinished, this);
    rdVESetVolume(video.get(), volume_);
    video_ = std::move(video);
    return view_;
}

int32_t CollagePreview::rebuild(const CollageSpec& spec) {
    if (!video_) return -7;
    void* h = video_.get();
    if (started_) rdVEPreviewPause(h);
    playing_ = false;
    rdVEClearScenes(h);
    rdVEClearAudioMedias(h);
    total_us_ = collageLengthUs(spec);
    int32_t rc = fillCollage(h, spec);
    if (!started_) {
        started_ = accepted(rdVEPreview(h));
        rdVEPreviewPause(h);
    }
    rdVEPreviewSeek(h, 0);
    rdVEPreviewRefresh(h);
    return rc;
}

void CollagePreview::play() {
    if (!video_ || total_us_ <= 0) return;
    if (!started_) started_ = accepted(rdVEPreview(video_.get()));
    else rdVEPreviewConintue(video_.get());
    playing_ = started_;
}

void CollagePreview::pause() {
    if (!video_ || !playing_) return;
    rdVEPreviewPause(video_.get());
    playing_ = false;
}

void CollagePreview::seek(int64_t position_us) {
    if (!video_) return;
    rdVEPreviewSeek(video_.get(), std::max<int64_t>(0, position_us));
    if (!playing_) rdVEPreviewRefresh(video_.get());
}

void CollagePreview::refresh() {
    if (video_) rdVEPreviewRefresh(video_.get());
}

void CollagePreview::setVolume(float volume) {
    volume_ = volume;
    if (video_) rdVESetVolume(video_.get(), volume);
}

int64_t CollagePreview::positionUs() const {
    if (!video_) return 0;
    return std::max<int64_t>(0, rdVEGetCurrentPlaybackTime(video_.get()));
}

}  // namespace kestrel::session
