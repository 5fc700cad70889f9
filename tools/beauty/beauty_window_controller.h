#pragma once
// The face beauty tool's window (a video or a picture), sized by the opener. Until the tool
// itself lands it shows the file it was opened with; closing it brings the home screen back.
#include "widgets/tool_window.h"

#include <QString>

namespace beauty {

class BeautyWindowController : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit BeautyWindowController(QWidget* parent = nullptr);

    // The input path, handed over by the opener before the window is first shown.
    const QString& videoPath() const { return videoPath_; }
    void setVideoPath(const QString& value) { videoPath_ = value; }

protected:
    void windowDidLoad() override;

private:
    QString videoPath_;
};

}  // namespace beauty
