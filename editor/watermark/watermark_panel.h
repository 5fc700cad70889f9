#pragma once
// The editor's watermark panel (tool type 16): the list of text, picture and video watermarks,
// the selected one's time range, size and transparency, its font and colour, and the placement
// overlay over the preview. Every change reaches the preview player at once; the export reads
// waterMarkList() (see watermark_export.h).
#include "editor/preview_applier.h"
#include <QList>
#include <QPointer>
#include <QSizeF>
#include <QWidget>
#include <array>

#include "editor/watermark/panel_controls.h"
#include "editor/watermark/rd_water_view.h"
#include "editor/watermark/water_mark_collection_view_item.h"
#include "model/simple_data.h"
#include "widgets/volume_progress_slider.h"

class QVBoxLayout;

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::editor {

class WatermarkPanel : public QWidget,
                       public RDWaterViewDelegate,
                       public WaterMarkCollectionViewItemDelegate,
                       public kestrel::widgets::RDTextFieldDelegate,
                       public kestrel::widgets::VolumeProgressSliderDelegate {
public:
    enum TimeGroupIndex { kStart = 0, kDuration = 1, kFileStart = 2, kFileEnd = 3 };

    explicit WatermarkPanel(QWidget* parent = nullptr);
    ~WatermarkPanel() override;

    // The open file and its preview (not owned). The overlay is laid over the player's view,
    // fitted to the picture; the list is emptied for a new file.
    void setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData);
    // The watermarks go to the preview through this (the panel applies its own share when unset).
    void setPreviewApplier(PreviewApplier apply) { previewApplier_ = std::move(apply); }
    // How adding a watermark pauses a playing video preview (the window's own pause, so its
    // buttons and tick follow); without one the player is paused directly.
    void setVideoPreviewPause(std::function<void()> pause) { pauseVideoPreview_ = std::move(pause); }
    // Where the panel's refusals are told (the window's alert).
    void setAlertPresenter(panel::AlertPresenter presenter) { alertPresenter_ = std::move(presenter); }
    // The user's turn of the picture in degrees (the watermark frame follows it); 0 when unset.
    void setUserTurn(std::function<int32_t()> turn) { userTurn_ = std::move(turn); }
    // Call when the player's view changed size: the overlay follows the picture.
    void changesize();

    QList<kestrel::model::WaterParam>& waterMarkList() { return waterMarkList_; }
    int selectedWaterMarkIndex() const { return selectedWaterMarkIndex_; }
    RDWaterView* watermarkView() const { return watermarkView_; }

    // The add, delete and list actions (also what the buttons and rows do).
    void addTextWaterMark();
    // False, with nothing added, when the file gives no picture.
    bool addPictureWaterMark(const QString& path);
    void deleteWaterMark();
    void selectWaterMark(int index);
    void checkWaterMark(int index);
    void changeWaterMarkText(int index, const QString& text);
    // Runs the open panel for a picture or video.
    void imagemarkAction();

    // Steps the edited field of a time group, the size or the transparency by delta (+1 or -1).
    void stepTimeGroup(TimeGroupIndex group, int delta);
    void stepWidth(int delta);
    void stepHeight(int delta);
    void stepAlpha(int delta);
    void setKeepAspectRatio(bool keep);
    // Font and colour of the selected text watermark.
    void changeWaterFont(const QFont& font);
    void changeColor(const QColor& colour);

    // The preview started (false) or paused/stopped (true): editing is allowed only while paused.
    void setEditingAllowed(bool allowed);
    // Fills the panel and the overlay from the selected watermark.
    void refreshWaterTime();
    // Redraws every checked watermark on the player; with editing set the selected one is left
    // to the overlay.
    void refreshPlayerWaterMark(bool editing);
    void changelanguage();

    panel::TimeGroup& timeGroup(TimeGroupIndex index) { return timeGroups_[index]; }
    kestrel::widgets::RDTextField* widthField() const { return wmWidthField_; }
    kestrel::widgets::RDTextField* heightField() const { return wmHeightField_; }
    kestrel::widgets::RDTextField* alphaField() const { return wmAlphaField_; }
    QList<WaterMarkCollectionViewItem*> listItems() const { return items_; }
    kestrel::widgets::ZorButton* textButton() const { return textmarkBtn_; }
    kestrel::widgets::ZorButton* pictureButton() const { return imagemarkBtn_; }
    kestrel::widgets::ZorButton* keepAspectButton() const { return wmkeepaspectRatioBtn_; }

    // RDWaterViewDelegate
    void actionMouseMoveEndForWaterViewBlock(RDWaterView* view, const QRectF& waterRect) override;
    void actionMouseMovedForWaterViewBlock(RDWaterView* view, const QRectF& waterRect) override;
    // WaterMarkCollectionViewItemDelegate
    void selectWaterMarkCollectionViewItem(WaterMarkCollectionViewItem* item) override;
    void checkWaterMarkCollectionViewItem(WaterMarkCollectionViewItem* item) override;
    void changeWaterMarkTextCollectionViewItem(WaterMarkCollectionViewItem* item, const QString& waterText) override;
    // RDTextFieldDelegate: remembers which field of a group the steppers act on.
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;
    // VolumeProgressSliderDelegate: the transparency slider.
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;

protected:
    // The overlay is shown only while the panel is: elsewhere the player draws every watermark.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildUi();
    void reloadData();
    bool hasSelection() const { return selectedWaterMarkIndex_ >= 0 && selectedWaterMarkIndex_ < waterMarkList_.size(); }
    kestrel::model::WaterParam* selectedMark() { return hasSelection() ? &waterMarkList_[selectedWaterMarkIndex_] : nullptr; }
    void initWatermarkView();
    QRectF videoRectInPlayer() const;
    QSizeF videoSize() const;
    double fileDurationSeconds() const;
    void storeBox();
    void fitTextBox(kestrel::model::WaterParam& mark);
    void appendNewMark(kestrel::model::WaterParam mark);
    void readTimeGroup(TimeGroupIndex group);
    void enableWaterChildView(bool flag);
    void placeOverlayForSelection();
    void showFontPanel();
    void showColourPanel();
    void pauseVideoPreview();
    void showAlert(const QString& message);

    kestrel::player::DIVuverIzizud* player_ = nullptr;
    PreviewApplier previewApplier_;
    std::function<int32_t()> userTurn_;
    std::function<void()> pauseVideoPreview_;
    panel::AlertPresenter alertPresenter_;
    kestrel::model::SimpleDataPtr fileData_;
    QList<kestrel::model::WaterParam> waterMarkList_;
    int selectedWaterMarkIndex_ = -1;
    QPointer<RDWaterView> watermarkView_;
    bool editingAllowed_ = true;

    QVBoxLayout* listLayout_ = nullptr;
    QList<WaterMarkCollectionViewItem*> items_;
    kestrel::widgets::ZorButton* textmarkBtn_ = nullptr;
    kestrel::widgets::ZorButton* imagemarkBtn_ = nullptr;
    kestrel::widgets::ZorButton* deletedmarkBtn_ = nullptr;
    kestrel::widgets::ZorButton* waterFontBtn_ = nullptr;
    kestrel::widgets::ZorButton* waterColorBtn_ = nullptr;
    kestrel::widgets::ZorButton* wmkeepaspectRatioBtn_ = nullptr;
    std::array<panel::TimeGroup, 4> timeGroups_{};
    std::array<kestrel::widgets::RDTextField*, 4> editedFields_{};
    std::array<std::array<kestrel::widgets::ZorButton*, 2>, 4> timeSteppers_{};
    kestrel::widgets::RDTextField* wmWidthField_ = nullptr;
    kestrel::widgets::RDTextField* wmHeightField_ = nullptr;
    kestrel::widgets::RDTextField* wmAlphaField_ = nullptr;
    std::array<kestrel::widgets::ZorButton*, 6> valueSteppers_{};
    kestrel::widgets::VolumeProgressSlider* wmAlphaProgressView_ = nullptr;
    QWidget* wmfontStyleBackView_ = nullptr;
    QWidget* wmsizeBackgroundView_ = nullptr;
    QWidget* watermarkContent3View_ = nullptr;
    QList<QLabel*> titledLabels_;
};

}  // namespace kestrel::editor
