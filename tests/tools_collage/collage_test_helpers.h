#pragma once
// The collage window driven through its own controls, and generated media for it.
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/collage/collage_window_controller.h"

#include <QPointer>

class QComboBox;
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

namespace kestrel::test {

// A 320x240 clip of one colour with a tone, of the given length.
std::string colourClip(const TempDir& dir, const std::string& name, const std::string& colour, double seconds);
// A 400x300 picture of one colour.
std::string colourPicture(const TempDir& dir, const std::string& name, const std::string& colour);
// A sound-only file.
std::string toneFile(const TempDir& dir, const std::string& name, double seconds);

// A shown collage window with alerts and open panels answered by the test.
struct CollageHarness {
    CollageHarness();
    ~CollageHarness();
    tools::collage::CollageWindowController& w() { return *window; }

    // The layout list's row clicked.
    void chooseLayout(int row);
    // An entry of one of the window's pop-up boxes, clicked in the list the box opens.
    void choose(QComboBox* box, int index);
    // Files put into cells through the open panel an empty cell opens on a click.
    void fillCell(int cell, const std::string& path);
    // The export button, then Start in the dialog with the output folder; waits for the end.
    // Returns the written file, or "" when the export did not finish done.
    std::string exportTo(const std::string& folder);

    QPointer<tools::collage::CollageWindowController> window;
    QStringList alerts;
    QStringList panelAnswers;  // paths the next open panels return, first first
};

// Mean RGB of a small square around (x, y) of an exported frame.
struct Mean {
    double r = 0, g = 0, b = 0;
};
Mean meanAt(const std::vector<unsigned char>& rgb, int width, int x, int y, int half = 6);

}  // namespace kestrel::test
