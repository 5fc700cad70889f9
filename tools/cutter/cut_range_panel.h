#pragma once
// The preview and cut-range panel both cutters share: the preview player with play, play-range
// and stop, the two-handle cut bar, start and stop time boxes, set-start and set-end buttons,
// the length of the range, mute and volume, and a snapshot of the shown frame. The panel holds
// one range of one file; its owner writes the range into its records when rangeEdited arrives.
// Keys while the panel's window is active: Space plays or pauses, Left and Right step back and
// forward by a tenth of a second, I and O set the start and end at the play position.
//
// The two cutters differ in their rules:
// - batch: hundredths of a second; a typed value outside the file or past the other end is
//   taken to the nearest valid one when the field is committed; range play stops at its end.
// - easy: milliseconds; a typed time applies while it is typed whenever the range stays valid,
//   and a committed one that leaves no valid range is refused with its message (the field stays
//   in edit); range play repeats the range; set start and set end keep the ends 2 % of the
//   file apart.
// In both, a range is never shorter than one unit of its time fields, however it is made.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "widgets/rd_cut_progress_view.h"
#include "widgets/volume_progress_slider.h"

class QLabel;
class QMenu;
class QTimer;
namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

class TimeBox;

enum class CutRules { Batch, Easy };

class CutRangePanel : public QWidget,
                      public kestrel::widgets::RDCutProgressViewDelegate,
                      public kestrel::widgets::VolumeProgressSliderDelegate {
    Q_OBJECT
public:
    explicit CutRangePanel(CutRules rules, QWidget* parent = nullptr);
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
    // The shortest range: one unit of the time fields.
    int64_t unitUs() const;
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
    bool isPlayingRange() const { return playing_ && playingRange_; }
    // Steps the position (negative steps back); playback goes on where it was playing.
    void stepBy(int64_t delta_us);
    void setStartAtPosition();
    void setStopAtPosition();
    // Back to the whole file.
    void resetRange();

    // Commits the time field being typed in, as leaving it would; false when its value was
    // refused (the field stays in edit).
    bool commitEditingField();

    // Writes the shown frame as "png", "jpg" or "bmp" into the folder; the path, or empty.
    QString snapshot(const QString& folder);
    void setSnapshotFormat(const QString& format) { snapshotFormat_ = format; }

    // The preview's volume (0..2) as the slider sets it, and what is heard: 0 while muted.
    double volume() const { return volume_; }
    double effectiveVolume() const { return muted_ ? 0.0 : volume_; }

    // A view the preview area shows while no file is loaded (the window's logo).
    void setIdleView(QWidget* view);

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
    kestrel::widgets::VolumeProgressSlider* volumeSlider() const { return volumeSlider_; }
    QLabel* durationValueLabel() const { return durationValue_; }
    QLabel* elapsedLabel() const { return elapsedLabel_; }
    QWidget* playerArea() const { return playerArea_; }
    // A row under the time boxes where a window adds its own buttons.
    QWidget* extraRow() const { return extraRow_; }

    // RDCutProgressViewDelegate
    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    // VolumeProgressSliderDelegate
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float progress) override;

Q_SIGNALS:
    // The user changed the range.
    void rangeEdited(int64_t start_us, int64_t stop_us);
    // The user moved the volume (0..2).
    void volumeEdited(double volume);
    // The snapshot button was pressed (the owner knows the folder).
    void snapshotRequested();
    // A typed time was refused; the owner shows the text (a modal alert).
    void alertRequested(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void tick();
    void showRange();
    void boxTyped(bool startBox);
    bool boxCommitted(bool startBox);
    void boxStepped(bool startBox, int field, int delta);
    void commitRange(int64_t start_us, int64_t stop_us);
    void updateTransport();
    void placePlayerView();
    void setVolume(double volume);
    void toggleMute();

    CutRules rules_;
    int fractionDigits_;
    QString path_;
    int64_t duration_us_ = 0;
    int64_t start_us_ = 0, stop_us_ = 0;
    bool playing_ = false, playingRange_ = false;
    bool editingEnabled_ = true;
    bool committing_ = false;
    // Easy cutter: the range when typing began, given back when the typed time is refused.
    bool typing_ = false;
    int64_t typedFromStart_us_ = 0, typedFromStop_us_ = 0;
    double volume_ = 1.0;
    bool muted_ = false;
    QString snapshotFormat_;
    std::unique_ptr<kestrel::player::DIVuverIzizud> player_;
    QTimer* timer_ = nullptr;

    QWidget* playerArea_ = nullptr;
    QWidget* idleView_ = nullptr;
    QLabel* audioPicture_ = nullptr;
    QLabel* elapsedLabel_ = nullptr;
    QLabel* totalLabel_ = nullptr;
    kestrel::widgets::ZorButton *playBtn_ = nullptr, *playRangeBtn_ = nullptr, *stopBtn_ = nullptr;
    kestrel::widgets::ZorButton *formatBtn_ = nullptr, *snapshotBtn_ = nullptr, *muteBtn_ = nullptr;
    kestrel::widgets::ZorButton *setStartBtn_ = nullptr, *setStopBtn_ = nullptr;
    kestrel::widgets::VolumeProgressSlider* volumeSlider_ = nullptr;
    kestrel::widgets::RDCutProgressView* cutBar_ = nullptr;
    TimeBox* startBox_ = nullptr;
    TimeBox* stopBox_ = nullptr;
    QLabel *startCaption_ = nullptr, *stopCaption_ = nullptr, *durationCaption_ = nullptr, *durationValue_ = nullptr;
    QWidget* extraRow_ = nullptr;
    QMenu* formatMenu_ = nullptr;
};

}  // namespace kestrel::tools::cutter
