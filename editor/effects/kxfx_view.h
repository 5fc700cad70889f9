#pragma once
// The editor's effect, colour and speed panel (effect tool; also the filter, speed and
// image-enhancement tiles): speed, brightness, contrast and saturation sliders with their value
// fields, the effect list, the magic-enhance toggle and a reset. Every change reaches the
// preview through the window's edit state at once; the export takes the same state
// (fillEditState). The player-bar volume slider is handled here too (action_volueSlider).
#include <QList>
#include <algorithm>
#include <QWidget>
#include <functional>

#include "editor/effects/effect_collection_view_item.h"
#include "editor/effects/effect_item.h"
#include "model/simple_data.h"
#include "session/edit/edit_state.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::editor {

class KxfxView : public QWidget,
                 public EffectCollectionViewItemDelegate,
                 public kestrel::widgets::VolumeProgressSliderDelegate {
    Q_OBJECT
public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 470;

    explicit KxfxView(QWidget* parent = nullptr);
    KxfxView(const QList<EffectItem>& effectTypes, QWidget* parent);
    ~KxfxView() override;

    // The preview (not owned; null while no file is open) and the open file's record.
    void setPlayer(kestrel::player::DIVuverIzizud* player) { player_ = player; }
    void setFileData(kestrel::model::SimpleDataPtr fileData) { fileData_ = std::move(fileData); }
    // How the editor pauses and resumes its preview (its timers follow); the player's own
    // pause and play when unset.
    void setPreviewControl(std::function<void()> pause, std::function<void()> play);
    // Told the new speed, so the editor can show the duration at that speed.
    void setSpeedChangedBlock(std::function<void(double speed)> block) { speedChangedBlock_ = std::move(block); }
    // Told the level (0..2) a reset went back to, so the player bar's volume slider follows.
    void setVolumeResetBlock(std::function<void(double volume)> block) { volumeResetBlock_ = std::move(block); }

    // The window was opened for image enhancement: the toggle starts on.
    void setIsMagicEnhance(bool on);
    // Once after the window's set-up: magic enhance reaches the preview when the window was
    // opened for it; the speed field becomes editable.
    void magicEnhanceAction();
    void changelanguage();
    // Sliders disabled exactly when editing is off; the reset enabled with it.
    void enableEdit(bool enabled);
    // After the preview was (re)made: sliders and fields from the values; colour, volume and
    // the checked effects sent again.
    void refreshPlayerView();

    // The player-bar volume slider: volume = 2 x progress, sent to the preview at once.
    void action_volueSlider(float progress);
    // Takes a volume (0..2) without telling the preview; refreshPlayerView sends it.
    void setVolume(double volume) { volume_ = std::clamp(volume, 0.0, 2.0); }
    void actionEffectReset();
    void toggleMagicEnhance();

    // The values the preview and the export use.
    int brightness() const;
    int contrast() const;
    int saturation() const;
    double volume() const { return volume_; }
    double speed() const;
    bool magicEnhanceOn() const;
    const QList<EffectItem>& effectTypes() const { return effectTypes_; }
    int64_t selectedEffectIndex() const { return selectedEffectIndex_; }
    const QList<EffectCollectionViewItem*>& effectItems() const { return items_; }
    // The panel's share of the edit state: effects, magic enhance, colour, speed, preview volume.
    void fillEditState(kestrel::session::EditState& state) const;
    // How a change reaches the preview: the window re-applies its whole edit state (the parts
    // named); unset, the panel applies its own share.
    void setPreviewApplier(std::function<void(unsigned parts)> apply) { previewApplier_ = std::move(apply); }

    // EffectCollectionViewItemDelegate
    void selectEffectCollectionViewItem(EffectCollectionViewItem* item, QMouseEvent* event) override;
    void checkEffectCollectionViewItem(EffectCollectionViewItem* item, QMouseEvent* event) override;

    // VolumeProgressSliderDelegate (the panel's own four sliders)
    void actionMouseDownForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;

    // Outlets.
    kestrel::widgets::VolumeProgressSlider* speedSlider = nullptr;
    kestrel::widgets::VolumeProgressSlider* brightnessSlider = nullptr;
    kestrel::widgets::VolumeProgressSlider* contrastSlider = nullptr;
    kestrel::widgets::VolumeProgressSlider* saturationSlider = nullptr;
    kestrel::widgets::RDTextField* speedValueLabel = nullptr;
    kestrel::widgets::RDTextField* brightnessValueLabel = nullptr;
    kestrel::widgets::RDTextField* contrastValueLabel = nullptr;
    kestrel::widgets::RDTextField* saturationValueLabel = nullptr;
    QLabel* hueLabel = nullptr;
    QLabel* speedLabel = nullptr;
    QLabel* effectLabel = nullptr;
    QLabel* brightnessLabel = nullptr;
    QLabel* contrastLabel = nullptr;
    QLabel* saturationLabel = nullptr;
    QLabel* speedCustomLabel = nullptr;
    QScrollArea* filterScrollView = nullptr;
    QWidget* filterDocumentView = nullptr;
    kestrel::widgets::ZorButton* effectReset = nullptr;
    kestrel::widgets::ZorButton* magicEnhance = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // How a child follows the panel's size (see resizeEvent).
    enum class Anchor { Widen, PinRight, FillDown, BelowList };
    void anchor(QWidget* widget, Anchor how);
    void fitResetAndToggle();
    void initEffectView();
    QWidget* makeBox(const QRect& frame, bool framed);
    kestrel::widgets::VolumeProgressSlider* makeSlider(const QRect& frame, float progress);
    kestrel::widgets::RDTextField* makeValueField(const QRect& frame, const QString& text);
    QLabel* makeLabel(const QRect& frame, bool dimmed);
    void reloadEffectList();
    // ClearImageEffect, the checked entries in list order, then magic enhance; a redraw while paused.
    void rebuildEffects();
    void applyPreview(unsigned parts);
    bool previewPlaying() const;
    void colourFieldEdited(kestrel::widgets::RDTextField* field);
    void speedChanged(float progress);
    void setSpeed(double speed);
    // The speed field was left or Return pressed: a typed speed, held to the slider's range.
    void speedFieldCommitted();
    void colourSliderChanged(kestrel::widgets::VolumeProgressSlider* slider, float progress);

    kestrel::player::DIVuverIzizud* player_ = nullptr;
    kestrel::model::SimpleDataPtr fileData_;
    std::function<void(unsigned parts)> previewApplier_;
    double speed_ = 1.0;
    std::function<void()> pausePreview_, playPreview_;
    std::function<void(double)> speedChangedBlock_;
    std::function<void(double)> volumeResetBlock_;
    QList<EffectItem> effectTypes_;
    QList<EffectCollectionViewItem*> items_;
    QVBoxLayout* listLayout_ = nullptr;
    int64_t selectedEffectIndex_ = 0;
    bool isMagicEnhance_ = false;
    int brightness_ = 0, contrast_ = 0, saturation_ = 0;
    double volume_ = 1.0;
    bool resumeAfterDrag_ = false;
};

// The slider mappings of the panel.
float speedForProgress(float progress);
float progressForSpeed(double speed);
int brightnessForProgress(float progress);
int contrastForProgress(float progress);  // contrast and saturation
float progressForBrightness(int value);
float progressForContrast(int value);

}  // namespace kestrel::editor
