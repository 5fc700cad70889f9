#pragma once
// The background music's trim window: plays the music file and sets the used part of it, on a
// range bar (start and end handles, play head), at the play head (set start, set end, each
// keeping the ends 2 % of the file apart), back to the file's ends (reset), or typed into the
// hour, minute, second and millisecond fields. "Play selection" repeats the used part. OK hands
// the part back; the music plays from the collage's start and never past its end.
#include "widgets/rd_cut_progress_view.h"
#include "widgets/volume_progress_slider.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::shared {
class TimeFieldGroup;
}

namespace kestrel::tools::collage {

class TrimPlayer;

class CollageMusicWindow : public QWidget,
                           private widgets::RDCutProgressViewDelegate,
                           private widgets::VolumeProgressSliderDelegate {
    Q_OBJECT
public:
    using Result = std::function<void(int64_t start_us, int64_t duration_us)>;
    // duration_us: the file's length as probed; used_*: the part now used (duration 0: to the end).
    CollageMusicWindow(const QString& path, int64_t duration_us, int64_t used_start_us, int64_t used_duration_us,
                       Result result, QWidget* parent = nullptr);
    ~CollageMusicWindow() override;

    QLabel* pathTextField = nullptr;
    widgets::RDCutProgressView* rangeBar = nullptr;
    QLabel* startTimeLabel = nullptr;  // the play position
    QLabel* durationLabel = nullptr;   // the used part's length
    QLabel* endTimeLabel = nullptr;    // the file's length
    widgets::ZorButton* playBtn = nullptr;
    widgets::ZorButton* playSelectedBtn = nullptr;
    widgets::ZorButton* stopBtn = nullptr;
    widgets::ZorButton* volumeBtn = nullptr;
    widgets::VolumeProgressSlider* volumeSlider = nullptr;
    shared::TimeFieldGroup* startFields = nullptr;
    shared::TimeFieldGroup* endFields = nullptr;
    widgets::ZorButton* startDoneBtn = nullptr;  // start at the play head
    widgets::ZorButton* endDoneBtn = nullptr;    // end at the play head
    widgets::ZorButton* resetStartBtn = nullptr;
    widgets::ZorButton* resetEndBtn = nullptr;
    QPushButton* okBtn = nullptr;
    QPushButton* cancelBtn = nullptr;

    TrimPlayer* player() const { return player_; }
    int64_t startUs() const { return start_us_; }
    int64_t endUs() const { return end_us_; }
    int64_t lengthUs() const { return length_us_; }
    // Playing the selection over and over.
    bool loopingSelection() const { return loopSelection_ && player_ && isPlaying(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build(const QString& path);
    QWidget* buildTimeRow(bool start);
    void changeLanguage();
    bool isPlaying() const;
    void togglePlay(bool selection);
    void stopPlay();
    void toggleMute();
    void tick(int64_t position_us);
    void setStartAtPlayHead();
    void setEndAtPlayHead();
    void typedTime(bool start);
    // Takes a new range (kept inside the file and never shorter than the shortest) and shows it.
    void setRange(int64_t start_us, int64_t end_us);
    void showRange();
    void showTransport();

    void actionMouseDownForCutProgressViewBlock(widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(widgets::RDCutProgressView*, float) override;
    void actionProgressForProgressSliderBlock(widgets::VolumeProgressSlider*, float progress) override;

    TrimPlayer* player_ = nullptr;
    Result result_;
    int64_t length_us_ = 0;
    int64_t start_us_ = 0, end_us_ = 0;
    bool loopSelection_ = false;
    bool muted_ = false;
    QLabel* heading_ = nullptr;
    QLabel* pathCaption_ = nullptr;
    QLabel* startCaption_ = nullptr;
    QLabel* endCaption_ = nullptr;
    QLabel* lengthCaption_ = nullptr;
};

}  // namespace kestrel::tools::collage
