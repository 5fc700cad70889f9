#pragma once
// The frame every tool window shares: the dark window look, a load step at the first show (the
// opener hands over its options before showing the window), and "WillCloseNotification" posted
// while the window is still on screen, so the home screen is back before it goes.
#include <QString>
#include <QWidget>

class QLabel;

namespace kestrel::widgets {

// The dark window look every tool window shares (also for windows that host a tool's view).
void applyToolWindowLook(QWidget* window);

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolWindow(QWidget* parent = nullptr);

protected:
    // Reads what the opener handed over; runs once, at the first show.
    virtual void windowDidLoad() {}

    // Shows a path in the middle of the window (tools whose own window has not landed yet).
    void showPath(const QString& path);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* pathLabel_ = nullptr;
    bool loaded_ = false;
};

}  // namespace kestrel::widgets
