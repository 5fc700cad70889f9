#pragma once
// Shared helpers of the editor export tests: one generated clip per program, the editor's output
// choice in the user defaults, an export driven through the real dialog, and frames as RGB24.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/export_controller.h"
#include "engine/player/DIVuverIzizud.h"
#include "tests/support/user_input.h"  // waitUntil

namespace kestrel::test {

// 320x240, 25 fps, 2 s H.264 + AAC, a key frame every 12 frames.
const std::string& standardClip();

// Stores the editor's nine choice keys: those given, every other one removed.
void setEditorChoice(const std::map<QString, QString>& titles);

// An editor window's export: the record of a file, the edits the window would hand over, and
// the failure alerts shown.
struct ExportHarness {
    explicit ExportHarness(const std::string& input);
    ~ExportHarness();

    // Opens a fresh dialog with the output folder and presses its Start.
    void start(const std::string& folder);
    // Presses the dialog's button while exporting (the stop question answered with OK).
    void pressStop();
    bool waitForEnd();

    QWidget window;
    kestrel::model::SimpleDataPtr record;
    kestrel::session::EditState edits;
    kestrel::editor::EditorExportController run;
    QStringList alerts;
};

// Files in a folder (names only), sorted.
QStringList filesIn(const std::string& folder);

// The preview's frame as RGB24, width and height written back.
std::vector<unsigned char> snapshotRGB(player::DIVuverIzizud& p, int* width, int* height);

}  // namespace kestrel::test
