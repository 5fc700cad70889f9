#include "session/export/single_clip/single_clip_export.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_runs.h"
#include "session/model/ve_media.h"
#include "session/model/ve_scene.h"
#include "session/model/ve_virual_video.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace kestrel::session {

namespace {

// The source's frame rate, so that the export shows each of its pictures once; 30 when the
// file does not say.
float sourceFrameRate(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    int64_t duration_us = 0;
    std::vector<uint8_t> audio(528, 0), video(548, 0);
    if (!accepted(rdVEGetMediaInfoLite(utf8.constData(), &duration_us, audio.data(), video.data()))) return 30.0f;
    double fps = 0;
    std::memcpy(&fps, video.data() + 144, sizeof fps);
    return std::isfinite(fps) && fps >= 1 && fps <= 240 ? float(fps) : 30.0f;
}

}  // namespace

SingleClipExportJob::SingleClipExportJob(SingleClipExport settings, QObject* parent)
    : Job(parent), settings_(std::move(settings)) {}

void SingleClipExportJob::begin() {
    const SingleClipExport& s = settings_;
    const int64_t length_us = s.picture ? kStillLengthUs : s.end_us - s.start_us;
    if (length_us <= 0) return finishFailed(-2);
    VEVirualVideo model;
    void* video = model.hVirualVideo();
    if (!video) return finishFailed(-7);
    // H.264 needs even sizes: the source size rounded down to even.
    int32_t rc = rdVESetFrameSize(video, s.source_width / 2 * 2, s.source_height / 2 * 2);
    if (!accepted(rc)) return finishFailed(rc);
    auto scene = std::make_unique<VEScene>(0, length_us);
    auto clip = std::make_unique<VEMedia>(s.input);
    clip->filePath = s.input;
    VEMedia* placed = scene->hScene() ? scene->addMedia(std::move(clip)) : nullptr;
    if (!placed) return finishFailed(-3);
    void* media = placed->hMedia();
    const SLIDE_RECT whole{0, 0, 1, 1};
    rdVESetMediaTimeLine(media, 0, length_us);
    rdVESetMediaShowRect(media, whole);
    rdVESetMediaClip(media, whole);
    if (!s.picture) rdVESetMediaCutTime(media, s.start_us, s.end_us);
    rdVESetMediaDisplayMode(media, s.filter_config.isEmpty() ? 0 : 3);
    int32_t (*const setters[5])(void*, int32_t) = {rdVESetMediaBeautyBlurIntensity, rdVESetMediaBeautyBrightIntensity,
                                                  rdVESetMediaBeautyToneIntensity, rdVESetMediaThinFaceIntensity,
                                                  rdVESetMediaBigEyeIntensity};
    for (int i = 0; i < 5; ++i)
        if (s.beauty[i] != 0 && !accepted(rc = setters[i](media, s.beauty[i]))) return finishFailed(rc);
    if (!model.addScene(std::move(scene))) return finishFailed(-7);
    QByteArray output = s.output.toUtf8();
    if (!accepted(rc = rdVESetOutPath(video, output.constData()))) return finishFailed(rc);
    if (!s.picture) {
        rdVESetVideoCodec(video, "mp4");
        rdVESetFPS(video, sourceFrameRate(s.input));
        rdVESetVideoBitrate(video, 4000);
        rdVESetAudioChannels(video, 2);
        rdVESetAudioSamples(video, 44100);
        rdVESetAudioBitrate(video, 128);
    }
    if (!s.filter_config.isEmpty()) {
        QByteArray config = s.filter_config.toUtf8();
        if (!rdVEAddFilter(video, config.constData(), 0, length_us)) return finishFailed(-10);
    }
    if (!accepted(rc = rdVEEditMediaInit(video))) return finishFailed(rc);
    ownOutput(s.output);
    const QString written = s.output;
    runEngine(std::make_shared<EditRun>(model.takeHandle()), 0.0, 1.0, [this, written](int32_t result) {
        if (accepted(result)) finishDone({written});
        else finishFailed(result);
    });
}

}  // namespace kestrel::session
