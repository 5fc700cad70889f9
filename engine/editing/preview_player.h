#pragma once
// Plays a virtual video on the system clock (no sound device is assumed) on its own thread:
// each picture is composited from the current composition and handed to the surface. The
// play-finish callback runs on that thread.
#include "engine/editing/composition.h"
#include "engine/editing/compositor.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace kestrel::editing {

class PreviewSurface;

// The picture size of a preview: the frame size, narrowed to the display ratio when one is set.
void previewCanvasSize(const VirtualVideo& video, int* width, int* height);

class PreviewPlayer {
public:
    PreviewPlayer(VirtualVideo* video, std::shared_ptr<PreviewSurface> surface);
    ~PreviewPlayer();  // joins the thread

    void playFromStart();
    void pause();
    void resume();
    void stop();
    void seek(int64_t position_us);
    void refresh();
    int64_t positionUs();
    void setFinishCallback(RDVEPlayFinishCallback callback, void* context);
    // The last picture drawn (for tests and snapshots of the preview).
    Canvas lastPicture();

private:
    void loop();
    int64_t positionLocked() const;

    VirtualVideo* video_;
    std::shared_ptr<PreviewSurface> surface_;
    Compositor compositor_{FaceDetection::InBackground};

    std::mutex mutex_;
    std::condition_variable wake_;
    bool quit_ = false;
    bool playing_ = false;
    bool redraw_ = false;
    int64_t base_us_ = 0;                                   // position when playing began
    std::chrono::steady_clock::time_point base_clock_;
    RDVEPlayFinishCallback callback_ = nullptr;
    void* context_ = nullptr;
    Canvas last_;
    std::thread thread_;
};

}  // namespace kestrel::editing
