#pragma once
// The easy cutter's window. Until the cutter itself lands it shows the file it was opened
// with; closing it brings the home screen back.
#include "widgets/tool_window.h"

#include <QString>

namespace kestrel::tools::cutter {

class EasyCutterWindowcontroller : public kestrel::widgets::ToolWindow {
    Q_OBJECT
public:
    explicit EasyCutterWindowcontroller(QWidget* parent = nullptr);

    // The input path, handed over by the opener before the window is first shown.
    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

protected:
    void windowDidLoad() override;

private:
    QString filePath_;
};

}  // namespace kestrel::tools::cutter
