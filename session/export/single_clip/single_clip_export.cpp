#include "session/export/single_clip/single_clip_export.h"

#include "engine/editing/rdve.h"
#include "session/jobs/engine_runs.h"

#include <cmath>
#include <cstring>
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
    VirtualVideoHandle video = VirtualVideoHandle::create();
    if (!video) return finishFailed(-7);
    // H.264 needs even sizes: the source size rounded down to even.
    int32_t rc = rdVESetFrameSize(video.get(), s.source_width / 2 * 2, s.source_height / 2 * 2);
    if (!accepted(rc)) return finishFailed(rc);
    void* scene = rdVECreateScene(0, length_us);
    QByteArray input = s.input.toUtf8();
    void* media = scene ? rdVESceneAddMedia(scene, input.constData()) : nullptr;
    if (!media) {
        if (scene) rdVEDeleteScene(scene);
        return finishFailed(-3);
    }
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
        if (s.beauty[i] != 0 && !accepted(rc = setters[i](media, s.beauty[i]))) {
            rdVEDeleteScene(scene);
            return finishFailed(rc);
        }
    if (!accepted(rc = rdVEAddScene(video.get(), scene))) {
        rdVEDeleteScene(scene);
        return finishFailed(rc);
    }
    QByteArray output = s.output.toUtf8();
    if (!accepted(rc = rdVESetOutPath(video.get(), output.constData()))) return finishFailed(rc);
    if (!s.picture) {
        rdVESetVideoCodec(video.get(), "mp4");
        rdVESetFPS(video.get(), sourceFrameRate(s.input));
        rdVESetVideoBitrate(video.get(), 4000);
        rdVESetAudioChannels(video.get(), 2);
        rdVESetAudioSamples(video.get(), 44100);
        rdVESetAudioBitrate(video.get(), 128);
    }
    if (!s.filter_config.isEmpty()) {
        QByteArray config = s.filter_config.toUtf8();
        if (!rdVEAddFilter(video.get(), config.constData(), 0, length_us)) return finishFailed(-10);
    }
    if (!accepted(rc = rdVEEditMediaInit(video.get()))) return finishFailed(rc);
    ownOutput(s.output);
    const QString written = s.output;
    runEngine(std::make_shared<EditRun>(std::move(video)), 0.0, 1.0, [this, written](int32_t result) {
        if (accepted(result)) finishDone({written});
        else finishFailed(result);
    });
}

}  // namespace kestrel::session
