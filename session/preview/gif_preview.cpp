#include "session/preview/gif_preview.h"

#include "engine/editing/rdve.h"
#include "platform/dispatch.h"
#include "session/export/gif/gif_limits.h"
#include "session/jobs/engine_outcome.h"

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
    if (video_) {
        rdVESetPreviewPlayFinishCallback(video_.get(), nullptr, nullptr);
        rdVEPreviewStop(video_.get());
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
        video_ = VirtualVideoHandle::create();
        if (!video_) return false;
    } else {
        rdVEPreviewStop(video_.get());
        rdVEClearScenes(video_.get());
    }
    hasContent_ = false;
    playing_ = false;
    media_ = nullptr;
    return accepted(rdVESetFrameSize(video_.get(), clampGifSide(width), clampGifSide(height)));
}

bool GifPreview::showVideo(const QString& path, int width, int height) {
    if (!rebuild(width, height)) return false;
    int64_t duration_us = 0;
    unsigned char audio[528] = {}, video[548] = {};
    if (!accepted(rdVEGetMediaInfoLite(path.toUtf8().constData(), &duration_us, audio, video)) || duration_us <= 0)
        return false;
    void* scene = rdVECreateScene(0, duration_us);
    void* media = scene ? rdVESceneAddMedia(scene, path.toUtf8().constData()) : nullptr;
    if (!media) {
        if (scene) rdVEDeleteScene(scene);
        return false;
    }
    rdVESetMediaDisplayMode(media, 0);
    rdVESetMediaFactor(media, float(volume_));
    if (!accepted(rdVEAddScene(video_.get(), scene))) return false;
    media_ = media;
    rdVESetFPS(video_.get(), 30.0f);
    hasContent_ = true;
    if (!accepted(rdVEPreviewInit(video_.get()))) return false;
    view_ = rdVEGetPreview(video_.get());
    rdVESetPreviewPlayFinishCallback(video_.get(), &GifPreview::onFinished, guard_);
    rdVEPreviewSeek(video_.get(), 0);
    return true;
}

bool GifPreview::showPhotos(const QStringList& photos, double fps, int width, int height) {
    if (!rebuild(width, height)) return false;
    const double step_us = 1e6 / clampGifFps(fps);
    double t = 0;
    for (const QString& photo : photos) {
        void* scene = rdVECreateScene(int64_t(t), int64_t(t + step_us));
        void* media = scene ? rdVESceneAddMedia(scene, photo.toUtf8().constData()) : nullptr;
        if (!media) {
            if (scene) rdVEDeleteScene(scene);
            continue;  // an unreadable photo is left out of the preview; the export reports it
        }
        rdVESetMediaDisplayMode(media, 0);
        if (accepted(rdVEAddScene(video_.get(), scene))) hasContent_ = true;
        t += step_us;
    }
    rdVESetFPS(video_.get(), float(clampGifFps(fps)));
    if (!accepted(rdVEPreviewInit(video_.get()))) return false;
    view_ = rdVEGetPreview(video_.get());
    rdVESetPreviewPlayFinishCallback(video_.get(), &GifPreview::onFinished, guard_);
    if (hasContent_) rdVEPreviewSeek(video_.get(), 0);
    return true;
}

void GifPreview::setVolume(double factor) {
    volume_ = std::clamp(factor, 0.0, 1.0);
    if (media_) rdVESetMediaFactor(media_, float(volume_));
}

void GifPreview::play() {
    if (!hasContent_) return;
    rdVEPreview(video_.get());
    playing_ = true;
}
void GifPreview::pause() {
    if (video_) rdVEPreviewPause(video_.get());
    playing_ = false;
}
void GifPreview::resume() {
    if (!hasContent_) return;
    rdVEPreviewConintue(video_.get());
    playing_ = true;
}
void GifPreview::seek(int64_t position_us) {
    if (hasContent_) rdVEPreviewSeek(video_.get(), std::max<int64_t>(0, position_us));
}
int64_t GifPreview::positionUs() const { return video_ ? std::max<int64_t>(0, rdVEGetCurrentPlaybackTime(video_.get())) : 0; }
int64_t GifPreview::totalUs() const { return video_ ? std::max<int64_t>(0, rdVEGetTotalPlaybackTime(video_.get())) : 0; }

}  // namespace kestrel::session
