#pragma once
// Every window of the application, opened as the user opens it: the home screen, its About box,
// the two alerts, the export and settings dialogs, the open panel, and each tool window opened
// from its home tile with a generated clip (the ten editor tiles open the editor on their own
// tool). The screenshot program and the all-windows text-fit test go through this one list.
#include "app/main_interface.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace kestrel::test {

class TempDir;

// The names of the windows, in the order the gallery opens them (no application needed).
const std::vector<std::string>& galleryWindowNames();

class WindowGallery {
public:
    // Generates the media the tools open; the language must be chosen before.
    WindowGallery();
    ~WindowGallery();
    WindowGallery(const WindowGallery&) = delete;
    WindowGallery& operator=(const WindowGallery&) = delete;

    // Opens and shows the named window and lets it settle; nullptr when it did not open.
    QWidget* open(const std::string& name);
    // Closes what open showed (a tool window hands back to the home screen).
    void close();

private:
    QWidget* openTile(int tag);
    void settle();

    std::unique_ptr<TempDir> media_;
    QString clip_;
    app::MainInterface ui_;
    QPointer<QWidget> opened_;
    QPointer<QObject> openedController_;  // the controller of a tool window opened from its tile
    std::unique_ptr<QWidget> owned_;  // a dialog the gallery built itself
    bool fromTile_ = false;
};

}  // namespace kestrel::test
