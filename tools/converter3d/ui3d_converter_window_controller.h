#pragma once
// The 3D converter: the single-clip frame with six 3D modes. The chosen mode's filter runs as
// the engine's filter stage on the preview and on the export; a newly opened clip starts in
// red/cyan.
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
    // Applies mode tag 1..6 to the preview, as its button does.
    void applyMode(int tag);
    const QString& effectPath() const { return effectPath_; }

    std::array<QPushButton*, 6> modeButtons{};

protected:
    void mediaOpened() override;
    bool fillExport(kestrel::session::SingleClipExport& settings) override;
    void changeLanguage() override;

private:
    QString effectPath_;
};

}  // namespace converter3d
