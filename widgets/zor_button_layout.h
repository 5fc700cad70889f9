#pragma once
// The look arithmetic of ZorButton, free of any widget: which picture and text colour a state
// shows, and where title and picture go. Coordinates are the button's own, top-left origin.
#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <optional>

#include "widgets/zor_position.h"

namespace kestrel::widgets {

// Where a platform button puts its picture relative to its title (the platform's numbering).
enum class ImagePosition {
    NoImage = 0, ImageOnly = 1, ImageLeft = 2, ImageRight = 3, ImageBelow = 4,
    ImageAbove = 5, ImageOverlaps = 6, ImageLeading = 7, ImageTrailing = 8,
};

struct ZorStateInput {
    bool enabled = true;
    bool hover = false;    // isUp
    bool pressed = false;  // isDown
    bool selected = false;
};

// One picture per look; a null pixmap is an unset one.
struct ZorPictures {
    QPixmap normal, on, down, selected, disable;
};

struct ZorTextColors {
    QColor content, on, down, select, disable;  // invalid = unset
};

// The content picture for a state, with its fallbacks; null when none applies.
const QPixmap* zorContentPicture(const ZorPictures& pictures, const ZorStateInput& state);
// The background picture for a state, without fallback; null when the state has none.
const QPixmap* zorBackgroundPicture(const ZorPictures& pictures, const ZorStateInput& state);
// Text colour: selected over pressed over hover over normal; grey 173 when disabled and unset.
QColor zorTitleColor(const ZorTextColors& colors, const ZorStateInput& state);

struct ZorLayoutInput {
    QSizeF bounds;               // W x H
    QRectF text;                 // measured title: x, y, width, height (empty without title)
    QSizeF picture;              // content picture size, empty without one
    ImagePosition imagePosition = ImagePosition::NoImage;
    qint64 contentImagePosition = 0;  // 0 centred block, 1 left edge, 2 right edge
    float leftIconWidth = 0;
    std::optional<kestrel::widgets::ZorPosition> titlePosition;
    // Right-to-left text: a leading picture sits at the right, the title to its left.
    bool rightToLeft = false;
};

// Rectangle the title is drawn in.
QRectF zorTitleRect(const ZorLayoutInput& in);
// Top-left corner of the content picture (drawn at its own size).
QPointF zorPictureOrigin(const ZorLayoutInput& in);

}  // namespace kestrel::widgets
