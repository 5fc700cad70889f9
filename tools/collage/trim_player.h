#pragma once
// The preview player of the collage's trim windows: one file, played, paused, stopped and sought
// through the engine's preview player, with a tenth-of-a-second tick while it plays. Whether it
// plays is asked of the player itself. A press on the trim bar holds playback until the release.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class QTimer;
class QWidget;

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::tools::collage {

class TrimPlayer : public QObject {
    Q_OBJECT
public:
    // area: where the picture is shown (filled by the player's view); null plays the sound only.
    TrimPlayer(const QString& path, QWidget* area, QObject* parent = nullptr);
    ~TrimPlayer() override;

    bool isOpen() const { return player_ != nullptr; }
    // The file's length as the player reads it; 0 when it could not be opened.
    int64_t lengthUs() const;
    int64_t positionUs() const;
    bool playing() const;

    void play();
    void pause();
    // Halts and goes back to the start.
    void stop();
    void seekUs(int64_t time_us);
    void setVolume(double factor);
    // Picture as the cell shows it: turned clockwise, then mirrored.
    void setOrientation(int angle, bool mirrorHorizontal, bool mirrorVertical);

    // A press on the trim bar holds playback; the release resumes it when it was playing.
    void holdForPress();
    void releasePress();

    // Lays the player's view over the whole area again (after the area was resized).
    void fitView();

Q_SIGNALS:
    // Each tick while playing, with the play position.
    void ticked(int64_t position_us);
    // Playback reached the end of the file; the player is back at the start, paused.
    void ended();

private:
    std::unique_ptr<player::DIVuverIzizud> player_;
    QWidget* area_ = nullptr;
    QTimer* timer_ = nullptr;
    bool resumeAfterPress_ = false;
};

}  // namespace kestrel::tools::collage
