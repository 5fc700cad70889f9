#include "editor/watermark/editor_side_panels.h"

#include <QVBoxLayout>

#include "editor/music/music_panel.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/watermark_panel.h"

namespace kestrel::editor {

namespace {

template <typename Panel>
Panel* fill(QWidget* container) {
    auto* panel = new Panel(container);
    auto* layout = container->layout() ? container->layout() : new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    return panel;
}

}  // namespace

EditorSidePanels::EditorSidePanels(QWidget* waterView, QWidget* captionView, QWidget* musicView)
    : watermark_(fill<WatermarkPanel>(waterView)), subtitle_(fill<SubtitlePanel>(captionView)), music_(fill<MusicPanel>(musicView)) {}

void EditorSidePanels::setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData) {
    watermark_->setPlayer(player, fileData);
    subtitle_->setPlayer(player, fileData);
    music_->setPlayer(player, std::move(fileData));
}

void EditorSidePanels::setPreviewApplier(const PreviewApplier& apply) {
    watermark_->setPreviewApplier(apply);
    subtitle_->setPreviewApplier(apply);
    music_->setPreviewApplier(apply);
}

void EditorSidePanels::setUserTurn(const std::function<int32_t()>& turn) {
    watermark_->setUserTurn(turn);
    subtitle_->setUserTurn(turn);
}

void EditorSidePanels::setVideoPreviewPause(std::function<void()> pause) {
    watermark_->setVideoPreviewPause(pause);
    music_->setVideoPreviewPause(std::move(pause));
}

void EditorSidePanels::setAlertPresenter(const std::function<void(const QString&)>& presenter) {
    watermark_->setAlertPresenter(presenter);
    subtitle_->setAlertPresenter(presenter);
    music_->setAlertPresenter(presenter);
}

void EditorSidePanels::previewWillPlay() {
    music_->videoWillPlay();
    watermark_->setEditingAllowed(false);
    music_->enableMusicEdit(false);
}

void EditorSidePanels::previewDidPause() {
    watermark_->setEditingAllowed(true);
    music_->enableMusicEdit(!music_->musicList().isEmpty());
}

void EditorSidePanels::changesize() { watermark_->changesize(); }

void EditorSidePanels::enableEdit(bool enabled) {
    for (QWidget* panel : std::initializer_list<QWidget*>{watermark_, subtitle_, music_}) panel->setEnabled(enabled);
    if (RDWaterView* overlay = watermark_->watermarkView()) overlay->setEnabled(enabled);
}

void EditorSidePanels::changelanguage() {
    watermark_->changelanguage();
    subtitle_->changelanguage();
    music_->changelanguage();
}

void EditorSidePanels::fillEditState(session::EditState& state) const {
    state.watermarks = watermark_->waterMarkList();
    state.subtitle = subtitle_->subtitleParamForExport();
    state.originalVolume = music_->originalVolume();
    state.music = music_->musicList();
    state.removeOriginalSound = music_->removeOriginalMusic();
}

}  // namespace kestrel::editor
