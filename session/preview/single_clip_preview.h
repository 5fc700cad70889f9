#pragma once
// The engine preview of the single-clip tools: one file in one scene, played, paused and
// sought, with the tool's effect on it (a 3D filter stage or the five face values) and the
// process-wide face model. Windows use it instead of the engine's C interface.
#include <QObject>
#include <QString>
#include <array>
#include <memory>


namespace kestrel::session {

class VEMedia;
class VEVirualVideo;

struct SingleClipInfo {
    int64_t duration_us = 0;        // 5 s for a picture
    int width = 0, height = 0;
    bool picture = false;
};

enum class BeautyValue { Smoothing, Brightening, Tone, Slimming, EyeEnlarging };

class SingleClipPreview : public QObject {
    Q_OBJECT
public:
    explicit SingleClipPreview(QObject* parent = nullptr);
    ~SingleClipPreview() override;

    // Probes and previews the file (paused at 0); false when the file cannot be read. The old
    // preview, its filter and its face values go.
    bool open(const QString& path, bool picture, int view_width, int view_height);
    const SingleClipInfo& info() const { return info_; }
    bool isOpen() const { return static_cast<bool>(video_); }
    // The engine's view; the window places it (it is deleted with the preview).
    QObject* view() const { return view_; }

    void play();      // from the start after the end, else where it was
    void pause();
    void seek(int64_t position_us);
    int64_t positionUs() const;
    void setVolume(double factor);

    // 3D: replaces the filter stage; an empty or unreadable path leaves none. False when refused.
    bool setFilter(const QString& config_path);
    // Face values (ranges of the beauty tool); false when the engine refused the value.
    bool setBeauty(BeautyValue which, int value);

    // The landmark model for face slimming and eye enlarging, in pairs.
    static bool loadFaceModel(const QString& path);
    static void releaseFaceModel();

Q_SIGNALS:
    // The preview played to its end (main thread).
    void playFinished();

private:
    void close();

    std::unique_ptr<VEVirualVideo> video_;
    VEMedia* media_ = nullptr;   // kept by the video's scene
    void* filter_ = nullptr;
    QObject* view_ = nullptr;
    SingleClipInfo info_;
    bool ended_ = false;
};

}  // namespace kestrel::session
