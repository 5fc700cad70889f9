// The probe half of the C interface.
#include "engine/mediacore/handle_registry.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/snapshot.h"
#include "engine/mediacore/stream_records.h"

#include <mutex>

namespace kestrel::mediacore {
namespace {

// Probe handles are used from the main thread, but a lock keeps two callers of one handle apart.
struct OpenedMedia {
    std::unique_ptr<engine::MediaInput> input;
    std::mutex mutex;
};

HandleRegistry<OpenedMedia>& openedMedia() {
    static HandleRegistry<OpenedMedia> registry;
    return registry;
}

}  // namespace
}  // namespace kestrel::mediacore

using namespace kestrel;
using kestrel::mediacore::openedMedia;
using kestrel::mediacore::OpenedMedia;

extern "C" {

void* MediaOpen(const char* path) {
    if (!path) return nullptr;
    auto media = std::make_shared<OpenedMedia>();
    media->input = engine::MediaInput::open(path);
    if (!media->input) return nullptr;
    return openedMedia().add(std::move(media));
}

int32_t MediaGetInfo(void* handle, MediaAudioInfo* audio, MediaVideoInfo* video) {
    std::shared_ptr<OpenedMedia> media = openedMedia().find(handle);
    if (!media) return -1;
    std::lock_guard lock(media->mutex);
    const engine::MediaInput& input = *media->input;
    if (audio) {
        if (input.bestAudioStream() >= 0) mediacore::fillAudioInfo(input, input.bestAudioStream(), audio);
        else *audio = MediaAudioInfo{};
    }
    if (video) {
        if (input.bestVideoStream() >= 0) mediacore::fillVideoInfo(input, input.bestVideoStream(), video);
        else *video = MediaVideoInfo{};
    }
    return 1;
}

int64_t MediaGetDuration(void* handle) {
    std::shared_ptr<OpenedMedia> media = openedMedia().find(handle);
    if (!media) return -1;
    return media->input->durationUs();
}

int32_t MediaSnapshot(void* handle, int64_t time_us, int32_t width, int32_t height, uint8_t* buffer, int32_t) {
    std::shared_ptr<OpenedMedia> media = openedMedia().find(handle);
    if (!media) return -1;
    std::lock_guard lock(media->mutex);
    return engine::toInt(mediacore::snapshotBGRA(*media->input, time_us, width, height, buffer));
}

int32_t MediaClose(void* handle) { return openedMedia().remove(handle) ? 1 : -1; }

}  // extern "C"
