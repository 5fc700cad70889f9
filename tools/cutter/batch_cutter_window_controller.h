#pragma once
// The batch cutter's window, opened without a file. Until the cutter itself lands it is an
// empty window; closing it brings the home screen back.
#include <QWidget>

namespace cutter {

class BatchCutterWindowController : public QWidget {
    Q_OBJECT
public:
    explicit BatchCutterWindowController(QWidget* parent = nullptr);

protected:
    // Tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace cutter
