#pragma once
// The editor window's three side panels (watermark, subtitle, music) as one piece: placed into
// the window's panel containers, told about the open file, the preview's play and pause and the
// window's size and language, and read by the export.
#include <QWidget>
#include <functional>

#include "editor/preview_applier.h"
#include "model/simple_data.h"
#include "session/edit/edit_state.h"

namespace kestrel::player {
class DIVuverIzizud;
}

namespace kestrel::editor {

class WatermarkPanel;
class SubtitlePanel;
class MusicPanel;

class EditorSidePanels {
public:
    // Each panel fills its container (the window's watermark, caption and music views).
    EditorSidePanels(QWidget* waterView, QWidget* captionView, QWidget* musicView);

    // A file was opened (or the preview rebuilt): the panels start over on it.
    void setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData);
    // How the panels' changes reach the preview (the window re-applies its edit state).
    void setPreviewApplier(const PreviewApplier& apply);
    // The user's turn of the picture in degrees, which the watermark frame and caption follow.
    void setUserTurn(const std::function<int32_t()>& turn);
    // The window's pause of the video preview, used when the music preview starts and when a
    // watermark or music is added.
    void setVideoPreviewPause(std::function<void()> pause);
    // How the panels tell the user of a refused value or file (the window's alert).
    void setAlertPresenter(const std::function<void(const QString&)>& presenter);
    // The video preview starts: the music preview stops, the mix is rebuilt, the watermark
    // overlay hides and every checked watermark is drawn by the player.
    void previewWillPlay();
    // The video preview paused or stopped: editing comes back.
    void previewDidPause();
    void changesize();
    void changelanguage();
    // The window's editing switch (off while an export runs): every control of the three panels
    // and the watermark overlay follow it; each control keeps its own state for when it is back.
    void enableEdit(bool enabled);
    // The panels' shares of the edit state: watermarks, subtitle, music and the level of the
    // video's own sound.
    void fillEditState(session::EditState& state) const;

    WatermarkPanel* watermarkPanel() const { return watermark_; }
    SubtitlePanel* subtitlePanel() const { return subtitle_; }
    MusicPanel* musicPanel() const { return music_; }

private:
    WatermarkPanel* watermark_ = nullptr;
    SubtitlePanel* subtitle_ = nullptr;
    MusicPanel* music_ = nullptr;
};

}  // namespace kestrel::editor
