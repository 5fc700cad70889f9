#include "session/export/gif/gif_picture_sequence_job.h"

#include "engine/editing/rdve.h"
#include "services/language.h"
#include "services/output_name.h"
#include "session/export/gif/gif_jpeg_writer.h"
#include "session/export/gif/gif_limits.h"
#include "session/jobs/engine_handles.h"
#include "session/jobs/engine_runs.h"
#include "session/media/gif_media_info.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <vector>

namespace kestrel::session {

namespace {

// The blocking picture loop, on the global queue like any engine run.
class PictureSequenceRun : public EngineRun {
public:
    PictureSequenceRun(PictureSequenceRequest request, int width, int height, double fps, QString target)
        : request_(std::move(request)), width_(width), height_(height), fps_(fps), target_(std::move(target)) {}

    int32_t run() override {
        QTemporaryDir work(QFileInfo(target_).absolutePath() + "/." + QFileInfo(target_).fileName() + "-XXXXXX");
        if (!work.isValid()) return PictureSequenceJob::kFolderFailedCode;
        SnapshotHandle snapshot = openSnapshot(request_.videoPath.toUtf8().constData());
        if (!snapshot) return PictureSequenceJob::kOpenFailedCode;
        const int64_t duration_us = rdVEMediaSnapshotGetDuration(snapshot.get());
        const int64_t limit_us = std::min(duration_us, request_.end_us);
        const double step_us = 1e6 / fps_;
        const double span_us = std::max<double>(1, double(limit_us - request_.start_us));
        std::vector<uint8_t> buffer(size_t(width_) * size_t(height_) * 4);
        for (double t = double(request_.start_us); int64_t(t) <= limit_us; t += step_us) {
            if (stop_.load()) return kStoppedCode;
            const int64_t t_us = int64_t(t);
            if (rdVEMediaSnapshotBGRA(snapshot.get(), 1, t_us, width_, height_, buffer.data()) == 1) {
                QString name = QString::number(t_us / 1000) + ".jpg";
                if (!writeJpegFile(work.path() + "/" + name, buffer.data(), width_, height_))
                    return PictureSequenceJob::kFolderFailedCode;  // a full disk or a lost folder
                ++written_;
            }
            progress_.store(std::clamp((t + step_us - double(request_.start_us)) / span_us, 0.0, 1.0));
        }
        if (stop_.load()) return kStoppedCode;
        if (written_ == 0) return PictureSequenceJob::kNoPictureCode;
        if (QFileInfo::exists(target_) || !QDir().rename(work.path(), target_))
            return PictureSequenceJob::kFolderFailedCode;
        work.setAutoRemove(false);
        return 1;
    }
    void stop() override { stop_.store(true); }
    double progress() const override { return progress_.load(); }
    int written() const { return written_; }

private:
    PictureSequenceRequest request_;
    int width_, height_;
    double fps_;
    QString target_;
    std::atomic<bool> stop_{false};
    std::atomic<double> progress_{0};
    int written_ = 0;
};

}  // namespace

PictureSequenceJob::PictureSequenceJob(PictureSequenceRequest request, QObject* parent)
    : Job(parent), request_(std::move(request)) {
    outputFolder_ = services::uniqueOutputPath(request_.folder, request_.baseName, QString());
}

void PictureSequenceJob::begin() {
    if (!probeGifMedia(request_.videoPath).ok)
        return finishFailed(kOpenFailedCode, services::localized(QStringLiteral("gif_miker_CannotOpen")));
    if (request_.end_us <= request_.start_us)
        return finishFailed(kNoPictureCode, services::localized(QStringLiteral("gif_miker_NoPictures")));
    if (!QDir().mkpath(request_.folder))
        return finishFailed(kFolderFailedCode, services::localized(QStringLiteral("gif_miker_FolderFailed")));
    auto run = std::make_shared<PictureSequenceRun>(request_, clampGifSide(request_.width), clampGifSide(request_.height),
                                                    clampGifFps(request_.fps), outputFolder_);
    runEngine(run, 0, 1, [this, run](int32_t result) {
        switch (result) {
            case 1:
                pictureCount_ = run->written();
                return finishDone({outputFolder_});
            case kStoppedCode: return finishStopped();
            case kNoPictureCode:
                return finishFailed(result, services::localized(QStringLiteral("gif_miker_NoPictures")));
            case kOpenFailedCode:
                return finishFailed(result, services::localized(QStringLiteral("gif_miker_CannotOpen")));
            case kFolderFailedCode:
                return finishFailed(result, services::localized(QStringLiteral("gif_miker_FolderFailed")));
            default: return finishFailed(result);
        }
    });
}

}  // namespace kestrel::session
