#include "session/model/ve_audio.h"

#include "engine/editing/rdve.h"
#include "platform/bookmarks.h"

namespace kestrel::session {

VEAudio::VEAudio(const QString& path) : filePath(path) {
    platform::EMBookmark::defaultShareBookmark().BookmarkStartAccessingSecurityScopedResourceWithFilePath(path);
}

VEAudio::~VEAudio() {
    if (audio_) rdVEDeleteAudioMedia(audio_);
}

std::unique_ptr<VEAudio> VEAudio::copy() const {
    std::unique_ptr<VEAudio> audio(new VEAudio(*this));
    audio->audio_ = nullptr;
    audio->video_ = nullptr;
    return audio;
}

}  // namespace kestrel::session
