#pragma once
// The collage's live preview: an engine virtual video at the preview's frame size, rebuilt from
// the collage values on every change, with its transport. The window places the engine's view
// (a QWidget) and never touches the engine's scenes or media.
#include "session/edit/collage_composition.h"

#include <QObject>
#include <memory>

namespace kestrel::session {

class CollagePreview : public QObject {
    Q_OBJECT
public:
    explicit CollagePreview(QObject* parent = nullptr);
    ~CollagePreview() override;

    // A new virtual video and view of that frame size (the old view goes with the old video);
    // the view to place (a QWidget*), or null when the engine refused.
    void* recreate(int width, int height);
    void* view() const { return view_; }

    // Replaces the whole composition; the preview is left paused at 0. 1 or the engine's code.
    int32_t rebuild(const CollageSpec& spec);

    void play();        // from the current position
    void pause();
    void seek(int64_t position_us);
    void refresh();
    void setVolume(float volume);
    bool playing() const { return playing_; }
    int64_t positionUs() const;
    int64_t totalUs() const { return total_us_; }

Q_SIGNALS:
    // The preview reached its end (main thread).
    void playFinished();

private:
    static int onFinished(void* context);
    void release();

    void* handle() const;

    std::unique_ptr<VEVirualVideo> video_;
    void* view_ = nullptr;
    bool started_ = false;
    bool playing_ = false;
    int64_t total_us_ = 0;
    float volume_ = 1.0f;
};

}  // namespace kestrel::session
