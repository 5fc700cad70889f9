#pragma once
// The editor's top-level widget: tells its controller about closing, resizing and full screen.
#include <QWidget>
#include <functional>

namespace kestrel::editor {

class EditorWindow : public QWidget {
public:
    std::function<void()> onClose;
    std::function<void()> onResize;
    std::function<void(bool fullScreen)> onFullScreen;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
};

}  // namespace kestrel::editor
