#pragma once
// The GIF maker's live preview: one virtual video of the editing engine, rebuilt for the whole
// video or for the photo list, with play, pause, seek and the position. The engine's preview
// view is handed to the window to place; it ends paused at its first frame after every rebuild.
#include <QObject>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace kestrel::session {

class VEVirualVideo;

class GifPreview : public QObject {
    Q_OBJECT
public:
    explicit GifPreview(QObject* parent = nullptr);
    ~GifPreview() override;

    // The whole video at the given preview size; false when the engine refused it.
    bool showVideo(const QString& path, int width, int height);
    // The photos, one slot of 1/fps each, in a width x height frame.
    bool showPhotos(const QStringList& photos, double fps, int width, int height);

    // The engine's preview view (a QWidget*), null before the first show. The caller places it.
    void* view() const { return view_; }

    // The volume of the video's sound, 0 (silent) to 1 (as recorded); kept across rebuilds.
    void setVolume(double factor);
    double volume() const { return volume_; }

    void play();
    void pause();
    void resume();
    void seek(int64_t position_us);
    int64_t positionUs() const;
    int64_t totalUs() const;
    bool hasContent() const { return hasContent_; }
    // Whether the preview plays now (from play or resume until a pause, a rebuild or its end).
    bool playing() const { return playing_; }

Q_SIGNALS:
    // Playback reached the end (main thread).
    void playFinished();

private:
    bool rebuild(int width, int height);
    void* addShown(const QString& path, int64_t start_us, int64_t end_us);
    bool startPreview(float fps);
    void* handle() const;
    static int onFinished(void* context);

    std::unique_ptr<VEVirualVideo> video_;
    void* view_ = nullptr;
    void* media_ = nullptr;  // the video's media in the preview (photos have no sound)
    double volume_ = 1.0;
    bool hasContent_ = false;
    bool playing_ = false;
    struct Guard;
    Guard* guard_ = nullptr;
};

}  // namespace kestrel::session
