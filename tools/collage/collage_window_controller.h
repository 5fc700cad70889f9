#pragma once
// The collage maker's window, opened without a file and sized by the opener. Until the collage
// maker itself lands it is an empty window; closing it brings the home screen back.
#include <QWidget>

namespace collage {

class CollageWindowController : public QWidget {
    Q_OBJECT
public:
    explicit CollageWindowController(QWidget* parent = nullptr);

protected:
    // Tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace collage
