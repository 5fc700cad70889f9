#pragma once
// The editor's music panel (tool type 64): background-music items added from audio or video
// files, listed newest first, checked, selected and deleted; for the selected item its place on
// the video's time line, the used part of its file, fades, repeat and volume, edited in time
// rows and on two range bars, and played in a music preview of its own. The checked items are
// mixed into the video preview (addDubbingWithPlayer) and into the export (music_mix.h).
#include "editor/preview_applier.h"
#include <QList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "editor/music/music_collection_view_item.h"
#include "editor/watermark/panel_controls.h"
#include "model/music_info.h"
#include "model/simple_data.h"
#include "widgets/music_range_slider.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/volume_progress_slider.h"

class QVBoxLayout;
class QLabel;

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::editor {

class MusicPanel : public QWidget,
                   public MusicCollectionViewItemDelegate,
                   public kestrel::widgets::RDTextFieldDelegate,
                   public kestrel::widgets::VolumeProgressSliderDelegate,
                   public kestrel::widgets::MusicRangeSliderDelegate,
                   public kestrel::widgets::RDCutProgressViewDelegate {
public:
    enum TimeRow { kPositionStart = 0, kPositionLength = 1, kPruneStart = 2, kPruneLength = 3 };

    explicit MusicPanel(QWidget* parent = nullptr);
    ~MusicPanel() override;

    // The video preview (not owned) and its file; the list is kept.
    void setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData);
    // The mix and the levels go to the preview through this (the panel applies its own share when unset).
    void setPreviewApplier(PreviewApplier apply) { previewApplier_ = std::move(apply); }
    // How the music preview pauses a playing video preview (the window's own pause, so its
    // buttons and tick follow); without one the player is paused directly.
    void setVideoPreviewPause(std::function<void()> pause) { pauseVideoPreview_ = std::move(pause); }
    // Where the panel's refusals are told (the window's alert).
    void setAlertPresenter(panel::AlertPresenter presenter) { alertPresenter_ = std::move(presenter); }

    const QList<kestrel::model::MusicInfo>& musicList() const { return musicList_; }
    int selectedMusicIndex() const { return selectedMusicIndex_; }
    bool removeOriginalMusic() const;
    // Volume of the video's own sound, 0..1.
    double originalVolume() const;

    // Adds files (newest first in the list); files without sound are refused and named in the
    // result.
    QStringList addMusicFiles(const QStringList& paths);
    // The selected item's mute button and volume slider.
    kestrel::widgets::ZorButton* itemMuteButton() const { return musicItemVolueBtn_; }
    kestrel::widgets::VolumeProgressSlider* itemVolumeSlider() const { return musicItemVolueSlider_; }
    // The check box that shows the selected item's trim, with its range bar.
    kestrel::widgets::ZorButton* pruneButton() const { return pruneMusicBtn_; }
    void loadMusicAction();
    void selectMusic(int index);
    void checkMusic(int index);
    void deleteMusic();
    // A new file: every item goes and the panel starts empty.
    void removeAllMusic();
    void toggleFadeIn();
    void toggleFadeOut();
    void toggleRepeat();
    void togglePrune();
    void toggleRemoveOriginal();
    void setItemVolume(float volume);
    // The mute button of the video's own sound: silent, or back to the level it had.
    void toggleOriginalMute();
    kestrel::widgets::ZorButton* originalMuteButton() const { return originalVolumeBtn_; }
    kestrel::widgets::VolumeProgressSlider* originalVolumeSlider() const { return originalVolumeSlider_; }
    kestrel::widgets::ZorButton* addButton() const { return loadmusicBtn_; }
    kestrel::widgets::ZorButton* removeOriginalButton() const { return removeOriginalmusicBtn_; }
    // Steps the edited field of a row by delta and reads the row back.
    void stepRow(TimeRow row, int delta);
    // Reads a row's four fields back into the selected item (typed input, when a field is left)
    // and shows what the item keeps.
    void readRow(TimeRow row);
    panel::TimeGroup& timeRow(TimeRow row) { return rows_[row]; }

    // The music preview.
    void playOrPauseAudio();
    void stopAudio();
    void playPrune();
    bool isAudioPlaying() const { return isaudioplaying_; }
    // The video preview is about to play: the music preview stops and the mix is rebuilt.
    void videoWillPlay();
    void addDubbingWithPlayer();
    void enableMusicEdit(bool flag);
    void refreshMusicTimeField(int index);
    void changelanguage();

    kestrel::widgets::MusicRangeSlider* positionBar() const { return musicRangSlider_; }
    kestrel::widgets::RDCutProgressView* pruneBar() const { return pruneRangSlider_; }
    // The rows of the list, in list order.
    const QList<MusicCollectionViewItem*>& listItems() const { return items_; }

    // Delegates.
    void selectMusicCollectionViewItem(MusicCollectionViewItem* item) override;
    void checkMusicCollectionViewItem(MusicCollectionViewItem* item) override;
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void changeRangeValue(kestrel::widgets::MusicRangeSlider* slider) override;
    void changeProgress(kestrel::widgets::MusicRangeSlider* slider) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView* view, float startvalue, float stopvalue,
                                                 int64_t handleType) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Fade in, fade out and repeat share one row: titles that need more than the row take a
    // smaller size, down to the floor.
    void fitToggleRow();

    void buildUi();
    void reloadData();
    void showEmptyList();
    bool hasSelection() const { return selectedMusicIndex_ >= 0 && selectedMusicIndex_ < musicList_.size(); }
    kestrel::model::MusicInfo* selectedInfo() { return hasSelection() ? &musicList_[selectedMusicIndex_] : nullptr; }
    double videoDuration() const;
    double musicDuration() const;
    void initmusicPlayer(const QString& path);
    // Pauses a playing video preview the window's way (the player's own pause without a window).
    void pauseVideoPreview();
    void updateMusicSlider();
    void changeMusicPlayerSlider();
    void writeRows(const kestrel::model::MusicInfo& info);
    // Stores a row's typed time in the selected item; false when it was ignored or refused.
    bool storeRow(TimeRow row);

    kestrel::player::DIVuverIzizud* player_ = nullptr;
    PreviewApplier previewApplier_;
    void applyPreview(unsigned parts);
    kestrel::model::SimpleDataPtr fileData_;
    std::unique_ptr<kestrel::player::DIVuverIzizud> rdmusicPlayer_;
    bool isaudioplaying_ = false;
    std::function<void()> pauseVideoPreview_;
    panel::AlertPresenter alertPresenter_;
    bool playingPrune_ = false;
    QTimer audioTimer_;
    QList<kestrel::model::MusicInfo> musicList_;
    int selectedMusicIndex_ = -1;

    QVBoxLayout* listLayout_ = nullptr;
    QList<MusicCollectionViewItem*> items_;
    kestrel::widgets::ZorButton* loadmusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* deletedMusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* fadeInBtn_ = nullptr;
    kestrel::widgets::ZorButton* fadeOutBtn_ = nullptr;
    kestrel::widgets::ZorButton* repeatMusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* pruneMusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* removeOriginalmusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* musicItemVolueBtn_ = nullptr;
    float volumeBeforeMute_ = 1.0f;  // what unmuting the selected item gives back
    kestrel::widgets::ZorButton* musicItemPlayPauseBtn_ = nullptr;
    kestrel::widgets::ZorButton* musicItemStopBtn_ = nullptr;
    kestrel::widgets::ZorButton* playPruneMusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* stopPruneMusicBtn_ = nullptr;
    kestrel::widgets::ZorButton* pruneMusicLeftBtn_ = nullptr;
    kestrel::widgets::ZorButton* pruneMusicRightBtn_ = nullptr;
    kestrel::widgets::MusicRangeSlider* musicRangSlider_ = nullptr;
    kestrel::widgets::RDCutProgressView* pruneRangSlider_ = nullptr;
    kestrel::widgets::VolumeProgressSlider* musicItemVolueSlider_ = nullptr;
    kestrel::widgets::VolumeProgressSlider* originalVolumeSlider_ = nullptr;
    kestrel::widgets::ZorButton* originalVolumeBtn_ = nullptr;
    float originalVolumeBeforeMute_ = 1.0f;
    QLabel* musicItemVoluelabel_ = nullptr;
    QWidget* pruneContentView_ = nullptr;
    std::array<panel::TimeGroup, 4> rows_{};
    std::array<kestrel::widgets::RDTextField*, 4> editedFields_{};
    std::array<std::array<kestrel::widgets::ZorButton*, 2>, 4> steppers_{};
    QList<QLabel*> titledLabels_;
};

}  // namespace kestrel::editor
