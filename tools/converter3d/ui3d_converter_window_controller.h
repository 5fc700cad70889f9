#pragma once
// The 3D converter's window, sized by the opener. Until the converter itself lands it shows the
// file it was opened with; closing it brings the home screen back.
#include "widgets/tool_window.h"

#include <QString>

namespace converter3d {

class UI3DConverterWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit UI3DConverterWindowController(QWidget* parent = nullptr);

    // The input path, handed over by the opener before the window is first shown.
    const QString& videoPath() const { return videoPath_; }
    void setVideoPath(const QString& value) { videoPath_ = value; }

protected:
    void windowDidLoad() override;

private:
    QString videoPath_;
};

}  // namespace converter3d
