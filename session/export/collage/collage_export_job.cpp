#include "session/export/collage/collage_export_job.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"
#include "session/jobs/engine_runs.h"
#include "session/model/ve_virual_video.h"

#include <QFileInfo>

namespace kestrel::session {

FrameSize collageExportSize(int aspectIndex) {
    // Nominal sizes; halves rounded down and doubled so both sides are even.
    static const double kSizes[8][2] = {{1920, 1080}, {607.5, 1080}, {1080, 1080}, {1440, 1080},
                                        {1440, 1920}, {1920, 960},   {540, 1080},  {675, 1080}};
    if (aspectIndex < 0 || aspectIndex > 7) return {720, 720};
    auto even = [](double side) { return static_cast<int>(side / 2) * 2; };
    return {even(kSizes[aspectIndex][0]), even(kSizes[aspectIndex][1])};
}

CollageExportJob::CollageExportJob(CollageSpec spec, FrameSize size, QString outputPath, QObject* parent)
    : Job(parent), spec_(std::move(spec)), size_(size), outputPath_(std::move(outputPath)) {}

void CollageExportJob::begin() {
    if (collageLengthUs(spec_) <= 0) return finishFailed(-2);
    if (QFileInfo::exists(outputPath_)) return finishFailed(-8);
    VEVirualVideo video;
    void* h = video.hVirualVideo();
    if (!h) return finishFailed(-7);
    int32_t rc;
    if (!accepted(rc = rdVESetFrameSize(h, size_.width, size_.height))) return finishFailed(rc);
    if (!accepted(rc = fillCollage(video, spec_))) return finishFailed(rc);
    const QByteArray out = outputPath_.toUtf8();
    if (!accepted(rc = rdVESetOutPath(h, out.constData())) || !accepted(rc = rdVESetVideoCodec(h, "mp4")) ||
        !accepted(rc = rdVESetFPS(h, 30.0f)) || !accepted(rc = rdVESetVideoBitrate(h, 4000)) ||
        !accepted(rc = rdVESetAudioChannels(h, 2)) || !accepted(rc = rdVESetAudioSamples(h, 44100)) ||
        !accepted(rc = rdVESetAudioBitrate(h, 128)))
        return finishFailed(rc);
    ownOutput(outputPath_);
    const QString written = outputPath_;
    runEngine(std::make_shared<EditRun>(video.takeHandle()), 0.0, 1.0, [this, written](int32_t result) {
        if (accepted(result))
            finishDone({written});
        else
            finishFailed(result);
    });
}

}  // namespace kestrel::session
