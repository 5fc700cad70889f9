#include "session/preview/single_clip_preview.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"
#include "session/model/ve_media.h"
#include "session/model/ve_scene.h"
#include "session/model/ve_virual_video.h"

#include <QMetaObject>
#include <QPointer>
#include <cstring>

namespace kestrel::session {

namespace {
// The engine calls this on its own thread; the window hears of it on the main thread.
int onPlayFinished(void* context) {
    auto* preview = static_cast<SingleClipPreview*>(context);
    QMetaObject::invokeMethod(preview, [preview] { Q_EMIT preview->playFinished(); }, Qt::QueuedConnection);
    return 1;
}
}  // namespace

SingleClipPreview::SingleClipPreview(QObject* parent) : QObject(parent) {}

SingleClipPreview::~SingleClipPreview() { close(); }

void SingleClipPreview::close() {
    if (video_ && video_->hVirualVideo()) rdVESetPreviewPlayFinishCallback(video_->hVirualVideo(), nullptr, nullptr);
    video_.reset();   // the engine deletes its view unless a window took it; a window owns it then
    media_ = nullptr;
    filter_ = nullptr;
    view_ = nullptr;
    info_ = {};
}

bool SingleClipPreview::open(const QString& path, bool picture, int view_width, int view_height) {
    QByteArray utf8 = path.toUtf8();
    int64_t duration_us = 0;
    std::vector<uint8_t> audio(528, 0), video_info(548, 0);
    if (!accepted(rdVEGetMediaInfoLite(utf8.constData(), &duration_us, audio.data(), video_info.data()))) return false;
    int32_t width = 0, height = 0;
    std::memcpy(&width, video_info.data() + 132, 4);
    std::memcpy(&height, video_info.data() + 136, 4);
    if (width <= 0 || height <= 0) return false;
    if (picture) duration_us = 5000000;
    if (duration_us <= 0) return false;
    close();

    auto video = std::make_unique<VEVirualVideo>();
    int w = std::max(2, view_width), h = std::max(2, view_height);
    // The preview draws at the source's shape within the view size.
    if (double(w) / h > double(width) / height) w = std::max(2, int(h * double(width) / height));
    else h = std::max(2, int(w * double(height) / width));
    // The engine's preview is a QWidget, so a QObject: the window casts it back checked.
    QObject* view = video->createPreviewWithDisplayRatio(double(width) / height, QSizeF(w, h));
    if (!view) return false;
    auto media = std::make_unique<VEMedia>(path);
    media->filePath = path;
    auto scene = std::make_unique<VEScene>(0, duration_us);
    VEMedia* placed = scene->addMedia(std::move(media));
    if (!placed) return false;
    rdVESetMediaDisplayMode(placed->hMedia(), 0);
    rdVESetMediaTimeLine(placed->hMedia(), 0, duration_us);
    if (!video->addScene(std::move(scene))) return false;
    void* handle = video->hVirualVideo();
    rdVESetPreviewPlayFinishCallback(handle, onPlayFinished, this);
    rdVEPreviewSeek(handle, 0);
    rdVEPreview(handle);
    rdVEPreviewPause(handle);
    video_ = std::move(video);
    media_ = placed;
    view_ = view;
    info_ = SingleClipInfo{duration_us, width, height, picture};
    ended_ = false;
    connect(this, &SingleClipPreview::playFinished, this, [this] { ended_ = true; }, Qt::UniqueConnection);
    return true;
}

void SingleClipPreview::play() {
    if (!video_) return;
    if (ended_) rdVEPreview(video_->hVirualVideo());
    else rdVEPreviewConintue(video_->hVirualVideo());
    ended_ = false;
}

void SingleClipPreview::pause() {
    if (video_) rdVEPreviewPause(video_->hVirualVideo());
}

void SingleClipPreview::seek(int64_t position_us) {
    if (!video_) return;
    ended_ = false;
    rdVEPreviewSeek(video_->hVirualVideo(), std::max<int64_t>(0, position_us));
}

int64_t SingleClipPreview::positionUs() const {
    return video_ ? std::max<int64_t>(0, rdVEGetCurrentPlaybackTime(video_->hVirualVideo())) : 0;
}

void SingleClipPreview::setVolume(double factor) {
    if (media_) rdVESetMediaFactor(media_->hMedia(), float(std::max(0.0, factor)));
}

bool SingleClipPreview::setFilter(const QString& config_path) {
    if (!video_) return false;
    if (filter_) rdVEDeleteScene(filter_);
    filter_ = nullptr;
    if (config_path.isEmpty()) return true;
    QByteArray utf8 = config_path.toUtf8();
    filter_ = rdVEAddFilter(video_->hVirualVideo(), utf8.constData(), 0, info_.duration_us);
    rdVEPreviewRefresh(video_->hVirualVideo());
    return filter_ != nullptr;
}

bool SingleClipPreview::setBeauty(BeautyValue which, int value) {
    if (!media_) return false;
    int32_t (*const setters[5])(void*, int32_t) = {rdVESetMediaBeautyBlurIntensity, rdVESetMediaBeautyBrightIntensity,
                                                  rdVESetMediaBeautyToneIntensity, rdVESetMediaThinFaceIntensity,
                                                  rdVESetMediaBigEyeIntensity};
    bool ok = accepted(setters[static_cast<int>(which)](media_->hMedia(), value));
    rdVEPreviewRefresh(video_->hVirualVideo());
    return ok;
}

bool SingleClipPreview::loadFaceModel(const QString& path) {
    QByteArray utf8 = path.toUtf8();
    return !path.isEmpty() && accepted(rdVEDlibFaceInit2(utf8.constData()));
}

void SingleClipPreview::releaseFaceModel() { rdVEDlibFaceUnInit(); }

}  // namespace kestrel::session
