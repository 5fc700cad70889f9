#include "session/export/gif/gif_export_job.h"

#include "engine/editing/rdve.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/export/gif/gif_limits.h"
#include "session/jobs/engine_runs.h"
#include "session/model/ve_media.h"
#include "session/model/ve_scene.h"
#include "session/model/ve_virual_video.h"
#include "session/media/gif_media_info.h"

#include <QFileInfo>
#include <cmath>

namespace kestrel::session {

namespace {
constexpr int32_t kGifBitrateKbps = 4000;
}  // namespace

GifExportJob::GifExportJob(GifVideoRequest request, QObject* parent) : Job(parent), video_(std::move(request)) {
    width_ = clampGifSide(video_.width);
    height_ = clampGifSide(video_.height);
    fps_ = clampGifFps(video_.fps);
    outputPath_ = services::uniqueOutputPath(video_.folder, video_.baseName, QStringLiteral("gif"));
}

GifExportJob::GifExportJob(GifPhotosRequest request, QObject* parent)
    : Job(parent), fromVideo_(false), photos_(std::move(request)) {
    width_ = clampGifSide(photos_.width);
    height_ = clampGifSide(photos_.height);
    fps_ = clampGifFps(photos_.fps);
    outputPath_ = services::uniqueOutputPath(photos_.folder, photos_.baseName, QStringLiteral("gif"));
}

namespace {

// One file shown for [start_us, end_us) of the video: its media, or null when it cannot be used.
void* addShown(VEVirualVideo& video, const QString& path, int64_t start_us, int64_t end_us) {
    auto scene = std::make_unique<VEScene>(start_us, end_us);
    auto media = std::make_unique<VEMedia>(path);
    media->filePath = path;
    VEMedia* placed = scene->addMedia(std::move(media));
    if (!placed) return nullptr;
    rdVESetMediaDisplayMode(placed->hMedia(), 0);
    return video.addScene(std::move(scene)) ? placed->hMedia() : nullptr;
}

}  // namespace

void GifExportJob::begin() {
    VEVirualVideo video;
    void* vv = video.hVirualVideo();
    if (!vv) return finishFailed(-1);
    if (int32_t rc = rdVESetFrameSize(vv, width_, height_); !accepted(rc)) return finishFailed(rc);
    rdVESetFPS(vv, float(fps_));

    if (fromVideo_) {
        if (!probeGifMedia(video_.videoPath).ok)
            return finishFailed(-3, services::localized(QStringLiteral("gif_miker_CannotOpen")));
        if (video_.end_us <= video_.start_us)
            return finishFailed(-2, services::localized(QStringLiteral("gif_miker_EmptyRange")));
        void* media = addShown(video, video_.videoPath, 0, video_.end_us - video_.start_us);
        if (!media) return finishFailed(-3, services::localized(QStringLiteral("gif_miker_CannotOpen")));
        rdVESetMediaCutTime(media, video_.start_us, video_.end_us);
    } else {
        if (photos_.photos.isEmpty())
            return finishFailed(-2, services::localized(QStringLiteral("gif_miker_NoPhotos")));
        // One frame slot a photo; the times are whole microseconds of a running double, so a
        // long list does not drift.
        const double step_us = 1e6 / fps_;
        double t = 0;
        for (const QString& photo : photos_.photos) {
            if (!addShown(video, photo, int64_t(t), int64_t(t + step_us)))
                return finishFailed(-3, services::localized(QStringLiteral("gif_miker_CannotOpen")) + "\n" +
                                            QFileInfo(photo).fileName());
            t += step_us;
        }
    }

    if (int32_t rc = rdVESetOutPath(vv, outputPath_.toUtf8().constData()); !accepted(rc)) return finishFailed(rc);
    rdVESetVideoCodec(vv, "GIF");
    rdVESetVideoBitrate(vv, kGifBitrateKbps);
    if (int32_t rc = rdVEEditMediaInit(vv); !accepted(rc)) return finishFailed(rc);
    ownOutput(outputPath_);
    runEngine(std::make_shared<EditRun>(video.takeHandle()), 0, 1, [this](int32_t result) {
        switch (runOutcome(result)) {
            case Outcome::Done:
                if (QFileInfo(outputPath_).size() > 0) return finishDone({outputPath_});
                return finishFailed(-6);
            case Outcome::Stopped: return finishStopped();
            case Outcome::Failed: return finishFailed(result);
        }
    });
}

}  // namespace kestrel::session
