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

    void play();
    void pause();
    void resume();
    void seek(int64_t position_us);
    int64_t positionUs() const;
    int64_t totalUs() const;
    bool hasContent() const { return hasContent_; }

Q_SIGNALS:
    // Playback reached the end (main thread).
    void playFinished();

private:
    bool rebuild(int width, int height);
    bool addShown(const QString& path, int64_t start_us, int64_t end_us);
    bool startPreview(float fps);
    void* handle() const;
    static int onFinished(void* context);

    std::unique_ptr<VEVirualVideo> video_;
    void* view_ = nullptr;
    bool hasContent_ = false;
    struct Guard;
    Guard* guard_ = nullptr;
};

}  // namespace kestrel::session
