#pragma once
// The editor's subtitle panel (tool type 32): loads one subtitle file ("ass", "ssa", "srt") for
// the open video, picks its font file, its colour (srt only) and its vertical position, and shows
// it on the preview at once. The export takes subtitleParamForExport() (see subtitle_record.h).
#include "editor/preview_applier.h"
#include <QColor>
#include <QMenu>
#include <QStringList>
#include <QWidget>

#include "editor/subtitle/subtitle_file.h"
#include "editor/watermark/panel_controls.h"
#include "model/simple_data.h"
#include "widgets/volume_progress_slider.h"

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::editor {

class SubtitlePanel : public QWidget, public kestrel::widgets::VolumeProgressSliderDelegate, public kestrel::widgets::RDTextFieldDelegate {
public:
    explicit SubtitlePanel(QWidget* parent = nullptr);
    ~SubtitlePanel() override;

    // The open file and its preview (not owned); the panel starts from the file's own settings.
    void setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData);
    // The subtitle's changes go to the preview through this (the panel applies its own share when unset).
    void setPreviewApplier(PreviewApplier apply) { previewApplier_ = std::move(apply); }
    // The user's turn of the picture in degrees (the caption's height follows it); 0 when unset.
    void setUserTurn(std::function<int32_t()> turn) { userTurn_ = std::move(turn); }
    void setFontFolder(const QString& folder) { fontFolder_ = folder; }
    // Where the panel's refusals are told (the window's alert).
    void setAlertPresenter(panel::AlertPresenter presenter) { alertPresenter_ = std::move(presenter); }

    // Checks and loads a file; nothing changes when it is refused.
    SubtitleCheck loadSubtitleFile(const QString& path);
    // Menu items: 0 no subtitle, 1.. files loaded (newest first), last: load another file.
    void chooseSubtitleMenuItem(int index);
    void chooseFont(int index);
    void changeSubtitleColor(const QColor& colour);
    void setPositionProgress(float progress);
    void placeSubtitle(int place);  // 0 top, 1 centre, 2 bottom
    void stepPosition(int delta);

    const kestrel::model::SubtitleParam& subtitleParam() const { return subtitleParam_; }
    // What the export burns in: the settings with the colour chosen last.
    kestrel::model::SubtitleParam subtitleParamForExport() const;
    QStringList subtitleMenuTitles() const;
    bool colourEnabled() const;
    // The button naming the subtitle shown ("No Subtitle" or the file's name), and the controls.
    kestrel::widgets::ZorButton* subtitleButton() const { return subtitleTypeBtn_; }
    kestrel::widgets::ZorButton* fontButton() const { return subtitleFontStyleBtn_; }
    kestrel::widgets::ZorButton* colourButton() const { return colorWellBtn_; }
    kestrel::widgets::ZorButton* placeButton(int place) const { return placeButtons_[size_t(place)]; }
    kestrel::widgets::VolumeProgressSlider* positionSlider() const { return positionSlider_; }
    kestrel::widgets::RDTextField* positionField() const { return positionField_; }
    void changelanguage();

    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;

private:
    void buildUi();
    void rebuildSubtitleMenu();
    void rebuildFontMenu();
    void ensureFontList();
    void sendRecord();
    void applyPosition(int position);
    int videoHeight() const;
    void openLoadPanel();
    // The colour, font and position controls: on for a loaded srt file; off for none, and off
    // with a tool tip saying why for an ass or ssa file, which keeps its own styles.
    void enableFileControls();
    void positionFieldCommitted();

    kestrel::player::DIVuverIzizud* player_ = nullptr;
    PreviewApplier previewApplier_;
    panel::AlertPresenter alertPresenter_;
    std::function<int32_t()> userTurn_;
    kestrel::model::SimpleDataPtr fileData_;
    kestrel::model::SubtitleParam subtitleParam_;
    QString fontFolder_;
    QStringList loadedFiles_;
    QString captionPath_;
    QColor captionColor_;
    int selectSubtitleMenuItemIndex_ = 0;

    QMenu* subtitleMenu_ = nullptr;
    QMenu* fontMenu_ = nullptr;
    kestrel::widgets::ZorButton* subtitleTypeBtn_ = nullptr;
    kestrel::widgets::ZorButton* subtitleFontStyleBtn_ = nullptr;
    kestrel::widgets::ZorButton* colorWellBtn_ = nullptr;
    std::array<kestrel::widgets::ZorButton*, 3> placeButtons_{};
    std::array<kestrel::widgets::ZorButton*, 2> positionSteppers_{};
    kestrel::widgets::VolumeProgressSlider* positionSlider_ = nullptr;
    kestrel::widgets::RDTextField* positionField_ = nullptr;
    QList<QLabel*> titledLabels_;
};

}  // namespace kestrel::editor
