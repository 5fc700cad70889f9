#pragma once
// What the effect panel and the export need of the editor window, and nothing more: the frame
// the panel lives in, the export button, the preview's transport, the open file and the edits.
// The window implements it; the export attachment sees the window only through it.
#include <QString>

#include "model/simple_data.h"
#include "session/edit/edit_state.h"

class QWidget;

namespace exportkit {
class ExportDialogBase;
}
namespace kestrel::player {
class DIVuverIzizud;
}
namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::editor {

class KxfxView;

class EditorExportHost {
public:
    virtual ~EditorExportHost() = default;

    // The window (dialogs open over it), the effect panel's frame and the export button.
    virtual QWidget* hostWindow() = 0;
    virtual QWidget* effectFrame() = 0;
    virtual kestrel::widgets::ZorButton* exportButton() = 0;
    virtual bool isMagicEnhance() const = 0;

    // The preview, its transport and the parts of the edit state it shows.
    virtual kestrel::player::DIVuverIzizud* rdPlayer() const = 0;
    virtual bool isPlaying() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void showEditStateParts(unsigned parts) = 0;
    // The player bar's volume control shows the volume (0..2).
    virtual void showVolume(double volume) = 0;
    // Background music the panels play on their own stops.
    virtual void stopPanelAudio() = 0;

    // The open file, the folder exports go to, and every edit as one value (the effect panel's
    // share from effectPanel, which may be null).
    virtual kestrel::model::SimpleDataPtr fileData() const = 0;
    virtual QString outputPath() const = 0;
    virtual void followRememberedOutputFolder() = 0;
    virtual session::EditState editStateWith(const KxfxView* effectPanel) = 0;

    virtual void enableEdit(bool enable) = 0;
    virtual void setExportProgressWindow(exportkit::ExportDialogBase* dialog) = 0;
};

}  // namespace kestrel::editor
