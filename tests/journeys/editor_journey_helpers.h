#pragma once
// What every editor journey does the same way: a generated clip opened in the window of one
// tile, the window shown and active, alerts collected, a profile clicked in the format bar, and
// the export run by the window's own Export button and the dialog's Start.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <string>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"

namespace kestrel::test {

class EditorJourney {
public:
    // Opens the clip in the editor as the tile of tool does (magic enhance for that tile).
    EditorJourney(int64_t tool, const std::string& clip, bool magicEnhance = false);
    ~EditorJourney();

    EditVideoWindowController* controller() const { return window_; }
    EditVideoWindowController::Views& views() const { return window_->views(); }
    QWidget* widget() const { return window_->window(); }
    const QStringList& alerts() const { return alerts_; }

    // Clicks the profile named (e.g. "MP4") in the format bar's open category.
    bool clickProfile(const QString& name);
    // Presses Export, sets the dialog's folder, presses its Start and waits for the end; the
    // written file, or an empty text when nothing was written.
    std::string exportWithButton(const TempDir& folder);

private:
    QPointer<EditVideoWindowController> window_;
    QStringList alerts_;
};

// The MP4 profile's frame (1280x720): the picture fitted inside keeping its shape, black around
// it. A reference's own edit goes between the fit (kFitToProfile) and the padding (kPadToProfile)
// where the export draws it on the fitted picture.
inline constexpr const char* kFitToProfile = "scale=1280:720:force_original_aspect_ratio=decrease:flags=bicubic";
inline constexpr const char* kPadToProfile = "pad=1280:720:(ow-iw)/2:(oh-ih)/2:black,setsar=1,format=yuv420p";
inline constexpr const char* kFitInProfile = "scale=1280:720:force_original_aspect_ratio=decrease:flags=bicubic,"
                                             "pad=1280:720:(ow-iw)/2:(oh-ih)/2:black,setsar=1,format=yuv420p";

// What an encoded export keeps of a lossless reference, frame by frame.
CompareOptions journeyTolerance();

// A clip of testsrc2 pictures and a 440 Hz tone (or none), 25 fps.
std::string makeJourneyClip(const TempDir& dir, const std::string& name, double seconds, int width, int height,
                            bool withSound = true);

}  // namespace kestrel::test
