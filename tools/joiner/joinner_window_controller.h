#pragma once
// The joiner's window, opened without a file. Until the joiner itself lands it is an empty
// window; closing it brings the home screen back.
#include <QWidget>

namespace joiner {

class JoinnerWindowController : public QWidget {
    Q_OBJECT
public:
    explicit JoinnerWindowController(QWidget* parent = nullptr);

protected:
    // Tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace joiner
