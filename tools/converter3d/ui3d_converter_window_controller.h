#pragma once
// The 3D converter: the single-clip frame with six 3D modes. The chosen mode's filter runs as
// the engine's filter stage on the preview and on the export; a newly opened clip starts in
// red/cyan. A mode whose settings file is missing or unreadable is refused with a note naming
// it, and never checked; with no mode in use the export is refused with that note.
#include "tools/shared/single_clip_frame.h"

#include <QString>
#include <array>

class QPushButton;

namespace converter3d {

class UI3DConverterWindowController : public kestrel::tools::shared::SingleClipFrame {
    Q_OBJECT
public:
    explicit UI3DConverterWindowController(QWidget* parent = nullptr);

    // The six mode folders under "3d/", by button tag 1 to 6.
    static QString modeFolder(int tag);
    // Applies mode tag 1..6 to the preview, as its button does; false (with a note) when the
    // mode's settings cannot be used, the mode in use then staying.
    bool applyMode(int tag);
    // The mode in use, 0 for none.
    int modeInUse() const { return modeInUse_; }
    const QString& effectPath() const { return effectPath_; }

    std::array<QPushButton*, 6> modeButtons{};

protected:
    void mediaOpened() override;
    bool fillExport(kestrel::session::SingleClipExport& settings) override;
    void changeLanguage() override;

private:
    void checkModeInUse();

    QString effectPath_;
    int modeInUse_ = 0;
    QString modeProblem_;
};

}  // namespace converter3d
