#pragma once
// The split-screen collage as plain values, and the one routine that turns it into scenes of a
// virtual video, so that the preview and the export are built alike: one scene per cell holding
// media, the border picture over all cells, at most one music track.
//
// Rules kept in both: in sequential play each cell takes its turn in layout order (pictures too,
// for their length) and a video cell shows its first used frame until its turn; in simultaneous
// play everything starts at 0. Picture cells are shown for the whole collage. The look-up filter
// colours the cells, never the border. The music ends with the collage.
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel::session {

// Edges as fractions, counted from the top-left corner.
struct CellEdges {
    double left = 0, top = 0, right = 1, bottom = 1;
    bool operator==(const CellEdges&) const = default;
};

struct CollageCell {
    QString path;                  // empty: the cell holds nothing
    bool isVideo = false;
    int width = 0, height = 0;     // picture size as stored
    int64_t mediaDuration_us = 0;  // a picture counts kPictureLength_us
    int64_t trimStart_us = 0;
    int64_t trimDuration_us = 0;
    float volume = 1.0f;
    int angle = 0;                 // 0, 90, 180, 270 clockwise
    bool mirrorHorizontal = false;
    bool mirrorVertical = false;
    CellEdges show;                // the cell in the frame
    CellEdges clip;                // the part of the turned, mirrored picture shown

    bool holdsMedia() const { return !path.isEmpty() && trimDuration_us > 0; }
};

struct CollageMusic {
    QString path;
    int64_t sourceStart_us = 0;
    int64_t sourceDuration_us = 0;  // 0: to the end of the file
    float volume = 1.0f;
};

struct CollageSpec {
    std::vector<CollageCell> cells;   // layout order
    bool sequential = false;
    QString lookupPath;               // .cube table; empty: no filter
    QString borderPath;               // transparent picture of the border lines; empty: none
    std::optional<CollageMusic> music;
};

constexpr int64_t kPictureLength_us = 3'000'000;
// Shown by the border scene when no cell holds media.
constexpr int64_t kEmptyCollageLength_us = 3'000'000;

// Length of the collage: the longest cell, or all cells one after another.
int64_t collageLengthUs(const CollageSpec& spec);
// When each cell's media starts on the collage's time line (0 for cells without media).
std::vector<int64_t> cellStartsUs(const CollageSpec& spec);

struct MediaFacts {
    bool ok = false;
    bool isVideo = false;
    int width = 0, height = 0;
    int64_t duration_us = 0;          // kPictureLength_us for a still picture
};
// Probes a file for a cell: ok only when it holds a picture.
MediaFacts probeCollageMedia(const QString& path);

// Length of any media file (sound included); negative when it cannot be read.
int64_t probeDurationUs(const QString& path);

// A .cube colour table the engine can apply (downloaded tables are checked before use).
bool isUsableLookupTable(const QString& path);

class VEVirualVideo;

// Adds the collage's scenes and music to an empty virtual video, which keeps them; 1 on
// success, else the failing engine code. A look-up table the engine refuses is left out.
int32_t fillCollage(VEVirualVideo& video, const CollageSpec& spec);

}  // namespace kestrel::session
