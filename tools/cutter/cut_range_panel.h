#pragma once
// The preview and cut-range panel both cutters share: the preview player with play, play-range
// and stop, the two-handle cut bar, start and stop time boxes, set-start and set-end buttons,
// the length of the range, mute and volume, and a snapshot of the shown frame. The panel holds
// one range of one file; its owner writes the range into its records when rangeEdited arrives.
// Keys while the panel's window is active: Space plays or pauses, Left and Right step back and
// forward by five seconds, I and O set the start and end at the play position.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "widgets/rd_cut_progress_view.h"

class QLabel;
class QMenu;
class QSlider;
class QTimer;
namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

class TimeBox;

class CutRangePanel : public QWidget, public kestrel::widgets::RDCutProgressViewDelegate {
    Q_OBJECT
public:
    // fractionDigits: 2 (hundredths, the batch cutter) or 3 (milliseconds, the easy cutter).
    explicit CutRangePanel(int fractionDigits, QWidget* parent = nullptr);
    ~CutRangePanel() override;

    // Shows a file: a new preview at the range start. The range is clamped to the file.
    void loadFile(const QString& path, double duration_s, bool hasPicture, double volume, int64_t start_us, int64_t stop_us);
    // No file: the preview goes and every control is disabled.
    void unload();
    bool hasFile() const { return !path_.isEmpty(); }

    // Sets the range shown (no rangeEdited).
    void setRange(int64_t start_us, int64_t stop_us);
    int64_t startUs() const { return start_us_; }
    int64_t stopUs() const { return stop_us_; }
    int64_t durationUs() const { return duration_us_; }
    // The keep-outside look of the bar (remove mode).
    void setRemoveLook(bool removeRange);

    // The play position in microseconds.
    int64_t positionUs() const;
    void seekUs(int64_t us);
    void play();
    void playRange();
    void pause();
    void stop();
    bool isPlaying() const { return playing_; }
    // Steps the position; negative steps back.
    void stepBy(int64_t delta_us);
    void setStartAtPosition();
    void setStopAtPosition();
    // Back to the whole file.
    void resetRange();

    // Writes the shown frame as "png", "jpg" or "bmp" into the folder; the path, or empty.
    QString snapshot(const QString& folder);
    void setSnapshotFormat(const QString& format) { snapshotFormat_ = format; }

    // Enables or disables every control that edits the range (off while a run works).
    void setEditingEnabled(bool enabled);
    void retranslate();
    // Times read left to right in every language; called after the window set its text direction.
    void keepTimesLeftToRight();

    // Parts, for the windows that place extra controls and for tests.
    TimeBox* startBox() const { return startBox_; }
    TimeBox* stopBox() const { return stopBox_; }
    kestrel::widgets::RDCutProgressView* cutBar() const { return cutBar_; }
    kestrel::widgets::ZorButton* playButton() const { return playBtn_; }
    kestrel::widgets::ZorButton* playRangeButton() const { return playRangeBtn_; }
    kestrel::widgets::ZorButton* stopButton() const { return stopBtn_; }
    kestrel::widgets::ZorButton* setStartButton() const { return setStartBtn_; }
    kestrel::widgets::ZorButton* setStopButton() const { return setStopBtn_; }
    kestrel::widgets::ZorButton* snapshotButton() const { return snapshotBtn_; }
    kestrel::widgets::ZorButton* snapshotFormatButton() const { return formatBtn_; }
    kestrel::widgets::ZorButton* muteButton() const { return muteBtn_; }
    QSlider* volumeSlider() const { return volumeSlider_; }
    QLabel* durationValueLabel() const { return durationValue_; }
    QWidget* playerArea() const { return playerArea_; }
    // A row under the time boxes where a window adds its own buttons.
    QWidget* extraRow() const { return extraRow_; }

    // RDCutProgressViewDelegate
    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;

Q_SIGNALS:
    // The user changed the range.
    void rangeEdited(int64_t start_us, int64_t stop_us);
    // The user moved the volume (0..2).
    void volumeEdited(double volume);
    // The snapshot button was pressed (the owner knows the folder).
    void snapshotRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void tick();
    void showRange();
    void applyBoxes(bool startEdited);
    void commitRange(int64_t start_us, int64_t stop_us);
    void updateTransport();
    void placePlayerView();
    void setVolume(double volume);

    int fractionDigits_;
    QString path_;
    int64_t duration_us_ = 0;
    int64_t start_us_ = 0, stop_us_ = 0;
    bool playing_ = false, playingRange_ = false;
    bool editingEnabled_ = true;
    double volume_ = 1.0;
    bool muted_ = false;
    QString snapshotFormat_;
    std::unique_ptr<kestrel::player::DIVuverIzizud> player_;
    QTimer* timer_ = nullptr;

    QWidget* playerArea_ = nullptr;
    QLabel* audioPicture_ = nullptr;
    QLabel* elapsedLabel_ = nullptr;
    QLabel* totalLabel_ = nullptr;
    kestrel::widgets::ZorButton *playBtn_ = nullptr, *playRangeBtn_ = nullptr, *stopBtn_ = nullptr;
    kestrel::widgets::ZorButton *formatBtn_ = nullptr, *snapshotBtn_ = nullptr, *muteBtn_ = nullptr;
    kestrel::widgets::ZorButton *setStartBtn_ = nullptr, *setStopBtn_ = nullptr;
    QSlider* volumeSlider_ = nullptr;
    kestrel::widgets::RDCutProgressView* cutBar_ = nullptr;
    TimeBox* startBox_ = nullptr;
    TimeBox* stopBox_ = nullptr;
    QLabel *startCaption_ = nullptr, *stopCaption_ = nullptr, *durationCaption_ = nullptr, *durationValue_ = nullptr;
    QWidget* extraRow_ = nullptr;
    QMenu* formatMenu_ = nullptr;
};

}  // namespace kestrel::tools::cutter
