#pragma once
// The cell trim window: plays the cell's video, sets the used part of it on a trim bar (start and
// end handles, play head), crops the cell's picture with the editor's crop overlay over the
// playing picture, and sets the cell's loudness (0 to 1, with a mute that silences only the
// preview). OK hands the result back for the cell it was opened for; Cancel or closing changes
// nothing. A picture cell gets the crop only.
#include "session/edit/collage_composition.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/volume_progress_slider.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace kestrel::editor {
class RDUICliper;
}
namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::collage {

class TrimPlayer;

class CollageTrimWindow : public QWidget,
                          private widgets::RDCutProgressViewDelegate,
                          private widgets::VolumeProgressSliderDelegate {
    Q_OBJECT
public:
    using Result = std::function<void(int64_t start_us, int64_t duration_us, const session::CellEdges& crop, float volume)>;
    CollageTrimWindow(const session::CollageCell& cell, const session::CellEdges& crop, Result result,
                      QWidget* parent = nullptr);
    ~CollageTrimWindow() override;

    QWidget* playerArea = nullptr;
    widgets::RDCutProgressView* trimBar = nullptr;
    QLabel* durationLabel = nullptr;
    QLabel* currentTimeLabel = nullptr;
    QLabel* endTimeLabel = nullptr;
    widgets::ZorButton* playBtn = nullptr;
    widgets::ZorButton* stopBtn = nullptr;
    widgets::ZorButton* volumeBtn = nullptr;
    widgets::VolumeProgressSlider* volumeSlider = nullptr;
    QPushButton* okBtn = nullptr;
    QPushButton* cancelBtn = nullptr;

    editor::RDUICliper* cliper() const { return cliper_; }
    TrimPlayer* player() const { return player_; }
    // The crop as the overlay shows it, from the top-left corner.
    session::CellEdges currentCrop() const;
    int64_t startUs() const { return start_us_; }
    int64_t endUs() const { return end_us_; }
    bool muted() const { return muted_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTransport(QWidget* bar);
    void placeCrop(const session::CollageCell& cell, const session::CellEdges& crop);
    void togglePlay();
    void stopPlay();
    void toggleMute();
    void showTimes();
    void showTransport();

    void actionMouseDownForCutProgressViewBlock(widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(widgets::RDCutProgressView*, float) override;
    void actionProgressForProgressSliderBlock(widgets::VolumeProgressSlider*, float progress) override;

    TrimPlayer* player_ = nullptr;
    QLabel* picture_ = nullptr;
    editor::RDUICliper* cliper_ = nullptr;
    Result result_;
    int64_t length_us_ = 0;
    int64_t start_us_ = 0, end_us_ = 0;
    float volume_ = 1.0f;
    bool muted_ = false;
};

}  // namespace kestrel::tools::collage
