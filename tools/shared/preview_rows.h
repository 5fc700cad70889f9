#pragma once
// The preview column's parts that the reverse tool and the GIF maker show alike: the preview's
// panel with the cut bar under it, the three times under the bar, and the playback row.
#include <QSize>
#include <QString>
#include <functional>

#include "widgets/rd_cut_progress_view.h"
#include "widgets/volume_progress_slider.h"

class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QWidget;

namespace kestrel::widgets {
class ZorButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::shared {

// The panel the player's picture fills (at least minimumSize) and the cut bar over the whole
// source, both added to column.
struct PreviewArea {
    QWidget* panel = nullptr;
    widgets::RDCutProgressView* cutBar = nullptr;
};
PreviewArea previewArea(QWidget* parent, QVBoxLayout* column, QSize minimumSize, widgets::RDCutProgressViewDelegate* cutDelegate);

// The range's start on the left, the shown time in the middle, the range's end on the right;
// the outer two read left to right in every language.
struct TimeLabelRow {
    QHBoxLayout* layout = nullptr;
    QLabel* left = nullptr;
    QLabel* middle = nullptr;
    QLabel* right = nullptr;
};
TimeLabelRow timeLabelRow(QWidget* parent);

// Centred, left to right: play, play range, stop, mute, then the volume slider.
struct PlaybackRow {
    QHBoxLayout* layout = nullptr;
    widgets::ZorButton* play = nullptr;
    widgets::ZorButton* playRange = nullptr;
    widgets::ZorButton* mute = nullptr;
    widgets::VolumeProgressSlider* volume = nullptr;
};
struct PlaybackRowLook {
    QString playStem;       // the play button's state pictures
    QString playRangeName;  // the play-range button's object name
    float volume = 1.0f;    // the slider's starting level, 0 to 1
};
// makeStop makes the tool's own stop control (a plain or a graphic button) under the parent given,
// in its place among the others; the tool keeps it.
PlaybackRow playbackRow(QWidget* parent, const PlaybackRowLook& look, const std::function<QWidget*(QWidget*)>& makeStop,
                        widgets::VolumeProgressSliderDelegate* volumeDelegate);

}  // namespace kestrel::tools::shared
