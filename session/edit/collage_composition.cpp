#include "session/edit/collage_composition.h"

#include "engine/editing/lookup_filter.h"
#include "engine/editing/rdve.h"
#include "session/jobs/engine_outcome.h"
#include "session/model/ve_audio.h"
#include "session/model/ve_media.h"
#include "session/model/ve_scene.h"
#include "session/model/ve_virual_video.h"

#include <QDebug>
#include <algorithm>
#include <cstring>
#include <memory>

namespace kestrel::session {

namespace {

SLIDE_RECT slide(const CellEdges& e) {
    return SLIDE_RECT{float(e.left), float(e.top), float(e.right), float(e.bottom)};
}

int flipCode(const CollageCell& cell) { return (cell.mirrorHorizontal ? 1 : 0) | (cell.mirrorVertical ? 2 : 0); }

// Places one media of a cell; 1 or the failing code.
int32_t placeMedia(void* media, const CollageCell& cell, int64_t from_us, int64_t to_us, int64_t cut_start_us,
                   int64_t cut_end_us, float factor, const QByteArray& lookup) {
    int32_t rc;
    if (!accepted(rc = rdVESetMediaTimeLine(media, from_us, to_us))) return rc;
    if (!accepted(rc = rdVESetMediaCutTime(media, cut_start_us, cut_end_us))) return rc;
    if (!accepted(rc = rdVESetMediaFactor(media, factor))) return rc;
    if (!accepted(rc = rdVESetMediaDisplayMode(media, 3))) return rc;
    if (!accepted(rc = rdVESetMediaRotateAngle(media, cell.angle))) return rc;
    if (!accepted(rc = rdVESetMediaFlip(media, flipCode(cell)))) return rc;
    if (!accepted(rc = rdVESetMediaClip(media, slide(cell.clip)))) return rc;
    if (!accepted(rc = rdVESetMediaShowRect(media, slide(cell.show)))) return rc;
    if (!lookup.isEmpty() && !accepted(rc = rdVESetMediaLookupFilter(media, lookup.constData())))
        qWarning() << "look-up table refused:" << rc;
    return 1;
}

}  // namespace

int64_t collageLengthUs(const CollageSpec& spec) {
    int64_t total = 0;
    for (const CollageCell& cell : spec.cells) {
        if (!cell.holdsMedia()) continue;
        total = spec.sequential ? total + cell.trimDuration_us : std::max(total, cell.trimDuration_us);
    }
    return total;
}

std::vector<int64_t> cellStartsUs(const CollageSpec& spec) {
    std::vector<int64_t> starts;
    int64_t running = 0;
    for (const CollageCell& cell : spec.cells) {
        starts.push_back(spec.sequential && cell.holdsMedia() && cell.isVideo ? running : 0);
        if (spec.sequential && cell.holdsMedia()) running += cell.trimDuration_us;
    }
    return starts;
}

MediaFacts probeCollageMedia(const QString& path) {
    MediaFacts facts;
    int64_t duration_us = 0;
    unsigned char audio[528];
    unsigned char video[548];
    std::memset(audio, 0, sizeof audio);
    std::memset(video, 0, sizeof video);
    const QByteArray utf8 = path.toUtf8();
    if (!accepted(rdVEGetMediaInfoLite(utf8.constData(), &duration_us, audio, video))) return facts;
    int32_t width = 0, height = 0;
    std::memcpy(&width, video + 132, 4);
    std::memcpy(&height, video + 136, 4);
    if (width <= 0 || height <= 0) return facts;
    facts.ok = true;
    facts.width = width;
    facts.height = height;
    facts.isVideo = duration_us > 0;
    facts.duration_us = facts.isVideo ? duration_us : kPictureLength_us;
    return facts;
}

int64_t probeDurationUs(const QString& path) {
    int64_t duration_us = 0;
    unsigned char audio[528];
    unsigned char video[548];
    std::memset(audio, 0, sizeof audio);
    std::memset(video, 0, sizeof video);
    const int32_t rc = rdVEGetMediaInfoLite(path.toUtf8().constData(), &duration_us, audio, video);
    return accepted(rc) ? duration_us : rc < 0 ? rc : -1;
}

bool isUsableLookupTable(const QString& path) { return editing::isUsableLookupFile(path.toStdString()); }

namespace {

// A new scene of the video over [0, end_us); null with the failing code in *rc.
VEScene* addCollageScene(VEVirualVideo& video, int64_t end_us, int32_t* rc) {
    auto scene = std::make_unique<VEScene>(0, end_us);
    if (!scene->hScene()) {
        *rc = -7;
        return nullptr;
    }
    VEScene* added = video.addScene(std::move(scene));
    if (!added) *rc = -7;
    return added;
}

// The file as a new media at the top of the scene; null when the engine cannot use it.
void* addCollageMedia(VEScene& scene, const QString& path) {
    auto media = std::make_unique<VEMedia>(path);
    media->filePath = path;
    VEMedia* added = scene.addMedia(std::move(media));
    return added ? added->hMedia() : nullptr;
}

}  // namespace

int32_t fillCollage(VEVirualVideo& video, const CollageSpec& spec) {
    const int64_t total_us = collageLengthUs(spec);
    const int64_t scene_end_us = total_us > 0 ? total_us : kEmptyCollageLength_us;
    const std::vector<int64_t> starts = cellStartsUs(spec);
    const QByteArray lookup = spec.lookupPath.toUtf8();
    int32_t rc = 1;
    for (size_t i = 0; i < spec.cells.size(); ++i) {
        const CollageCell& cell = spec.cells[i];
        if (!cell.holdsMedia() || total_us <= 0) continue;
        VEScene* scene = addCollageScene(video, total_us, &rc);
        if (!scene) return rc;
        const int64_t start_us = starts[i];
        const int64_t cut_end_us = cell.trimStart_us + cell.trimDuration_us;
        if (start_us > 0) {
            // The first used frame waits in the cell until the cell's turn.
            void* still = addCollageMedia(*scene, cell.path);
            if (!still) return -3;
            if (!accepted(rc = placeMedia(still, cell, 0, start_us, cell.trimStart_us, cell.trimStart_us + 1, 0.0f,
                                          lookup)))
                return rc;
        }
        void* media = addCollageMedia(*scene, cell.path);
        if (!media) return -3;
        if (!accepted(rc = placeMedia(media, cell, cell.isVideo ? start_us : 0, total_us, cell.isVideo ? cell.trimStart_us : 0,
                                      cell.isVideo ? cut_end_us : 0, cell.isVideo ? cell.volume : 0.0f, lookup)))
            return rc;
    }
    if (!spec.borderPath.isEmpty()) {
        VEScene* scene = addCollageScene(video, scene_end_us, &rc);
        if (!scene) return rc;
        void* border = addCollageMedia(*scene, spec.borderPath);
        if (!border) return -3;
        if (!accepted(rc = rdVESetMediaFactor(border, 0.0f))) return rc;
        if (!accepted(rc = rdVESetMediaDisplayMode(border, 3))) return rc;
        if (!accepted(rc = rdVESetMediaShowRect(border, SLIDE_RECT{0, 0, 1, 1}))) return rc;
    }
    if (spec.music && !spec.music->path.isEmpty() && total_us > 0) {
        const CollageMusic& music = *spec.music;
        auto track = std::make_unique<VEAudio>(music.path);
        track->sourceStart_us = music.sourceStart_us;
        track->sourceEnd_us = music.sourceDuration_us > 0 ? music.sourceStart_us + music.sourceDuration_us : 0;
        track->timelineStart_us = 0;
        track->timelineEnd_us = total_us;
        track->audioFactor = music.volume;
        if (!video.addAudio(std::move(track))) return -3;
    }
    return 1;
}

}  // namespace kestrel::session
