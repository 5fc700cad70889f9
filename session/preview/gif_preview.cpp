#include "session/preview/gif_preview.h"

#include "engine/editing/rdve.h"
#include "platform/dispatch.h"
#include "session/export/gif/gif_limits.h"
#include "session/jobs/engine_outcome.h"
#include "session/model/ve_media.h"
#include "session/model/ve_scene.h"
#include "session/model/ve_virual_video.h"

#include <QPointer>
#include <algorithm>

namespace kestrel::session {

// The engine's end callback may come on any thread after this object is gone: it holds only a
// guarded pointer and queues work on the main thread.
struct GifPreview::Guard {
    QPointer<GifPreview> owner;
};

GifPreview::GifPreview(QObject* parent) : QObject(parent), guard_(new Guard{this}) {}

GifPreview::~GifPreview() {
    if (video_ && video_->hVirualVideo()) {
        rdVESetPreviewPlayFinishCallback(video_->hVirualVideo(), nullptr, nullptr);
        rdVEPreviewStop(video_->hVirualVideo());
    }
    video_.reset();
    delete guard_;
}

int GifPreview::onFinished(void* context) {
    QPointer<GifPreview> owner = static_cast<Guard*>(context)->owner;
    platform::dispatchMainAsync([owner] {
        if (!owner) return;
        owner->playing_ = false;
        Q_EMIT owner->playFinished();
    });
    return 1;
}

bool GifPreview::rebuild(int width, int height) {
    if (!video_) {
        video_ = std::make_unique<VEVirualVideo>();
    } else if (video_->hVirualVideo()) {
        rdVEPreviewStop(video_->hVirualVideo());
        video_->removeAllScene();
    }
    hasContent_ = false;
    playing_ = false;
    media_ = nullptr;
    return video_->hVirualVideo() &&
           accepted(rdVESetFrameSize(video_->hVirualVideo(), clampGifSide(width), clampGifSide(height)));
}

// One file shown for [start_us, end_us) of the preview; its media, or null when it cannot be used.
void* GifPreview::addShown(const QString& path, int64_t start_us, int64_t end_us) {
    auto scene = std::make_unique<VEScene>(start_us, end_us);
    auto media = std::make_unique<VEMedia>(path);
    media->filePath = path;
    VEMedia* placed = scene->addMedia(std::move(media));
    if (!placed) return nullptr;
    void* handle = placed->hMedia();
    rdVESetMediaDisplayMode(handle, 0);
    return video_->addScene(std::move(scene)) ? handle : nullptr;
}

bool GifPreview::startPreview(float fps) {
    void* handle = video_->hVirualVideo();
    rdVESetFPS(handle, fps);
    if (!accepted(rdVEPreviewInit(handle))) return false;
    view_ = rdVEGetPreview(handle);
    rdVESetPreviewPlayFinishCallback(handle, &GifPreview::onFinished, guard_);
    if (hasContent_) rdVEPreviewSeek(handle, 0);
    return true;
}

bool GifPreview::showVideo(const QString& path, int width, int height) {
    if (!rebuild(width, height)) return false;
    int64_t duration_us = 0;
    unsigned char audio[528] = {}, video[548] = {};
    if (!accepted(rdVEGetMediaInfoLite(path.toUtf8().constData(), &duration_us, audio, video)) || duration_us <= 0)
        return false;
    void* media = addShown(path, 0, duration_us);
    if (!media) return false;
    rdVESetMediaFactor(media, float(volume_));
    media_ = media;
    hasContent_ = true;
    return startPreview(30.0f);
}

bool GifPreview::showPhotos(const QStringList& photos, double fps, int width, int height) {
    if (!rebuild(width, height)) return false;
    const double step_us = 1e6 / clampGifFps(fps);
    double t = 0;
    for (const QString& photo : photos) {
        // An unreadable photo is left out of the preview; the export reports it.
        if (!addShown(photo, int64_t(t), int64_t(t + step_us))) continue;
        hasContent_ = true;
        t += step_us;
    }
    return startPreview(float(clampGifFps(fps)));
}

void GifPreview::setVolume(double factor) {
    volume_ = std::clamp(factor, 0.0, 1.0);
    if (media_) rdVESetMediaFactor(media_, float(volume_));
}

void* GifPreview::handle() const { return video_ ? video_->hVirualVideo() : nullptr; }

void GifPreview::play() {
    if (!hasContent_) return;
    rdVEPreview(handle());
    playing_ = true;
}
void GifPreview::pause() {
    if (handle()) rdVEPreviewPause(handle());
    playing_ = false;
}
void GifPreview::resume() {
    if (!hasContent_) return;
    rdVEPreviewConintue(handle());
    playing_ = true;
}
void GifPreview::seek(int64_t position_us) {
    if (hasContent_) rdVEPreviewSeek(handle(), std::max<int64_t>(0, position_us));
}
int64_t GifPreview::positionUs() const { return handle() ? std::max<int64_t>(0, rdVEGetCurrentPlaybackTime(handle())) : 0; }
int64_t GifPreview::totalUs() const { return handle() ? std::max<int64_t>(0, rdVEGetTotalPlaybackTime(handle())) : 0; }

}  // namespace kestrel::session
