#include "widgets/zor_button_layout.h"

#include <algorithm>
#include <cmath>

namespace kestrel::widgets {
namespace {

const QPixmap* present(const QPixmap& p) { return p.isNull() ? nullptr : &p; }

// The first rule that applies: disabled, hover (pressed or not), selected, then pressed or normal.
const QPixmap* candidate(const ZorPictures& p, const ZorStateInput& s) {
    if (!s.enabled) return present(p.disable);
    if (s.hover) return present(s.pressed ? p.down : p.on);
    if (s.selected) return present(p.selected);
    return present(s.pressed ? p.down : p.normal);
}

}  // namespace

const QPixmap* zorContentPicture(const ZorPictures& pictures, const ZorStateInput& state) {
    const QPixmap* chosen = candidate(pictures, state);
    if (!chosen) chosen = present(state.selected ? pictures.selected : pictures.normal);
    if (!chosen) chosen = present(pictures.normal);
    if (state.selected && state.enabled && present(pictures.selected)) chosen = &pictures.selected;
    return chosen;
}

const QPixmap* zorBackgroundPicture(const ZorPictures& pictures, const ZorStateInput& state) {
    return candidate(pictures, state);
}

QColor zorTitleColor(const ZorTextColors& colors, const ZorStateInput& state) {
    if (!state.enabled) return colors.disable.isValid() ? colors.disable : QColor(173, 173, 173);
    QColor color = colors.content;
    if (state.hover && colors.on.isValid()) color = colors.on;
    if (state.pressed && colors.down.isValid()) color = colors.down;
    if (state.selected && colors.select.isValid()) color = colors.select;
    return color;
}

QRectF zorTitleRect(const ZorLayoutInput& in) {
    const qreal W = in.bounds.width();
    const qreal H = in.bounds.height();
    const qreal tw = in.text.width();
    const qreal th = in.text.height();
    const qreal tx = std::max<qreal>(in.text.x(), 0);
    const bool hasPicture = !in.picture.isEmpty();
    const qreal iw = hasPicture ? in.picture.width() : 0;
    qreal x = 0;
    qreal y = 0;
    if (in.imagePosition == ImagePosition::ImageAbove) {
        x = (W - tw) / 2;
        y = H - th;
    } else if (in.imagePosition == ImagePosition::ImageLeading) {
        x = in.rightToLeft ? W - iw - tw : iw;
        y = (H - th) / 2;
    } else if (hasPicture || in.leftIconWidth != 0) {
        const float content = std::max(in.leftIconWidth, 0.0f) + static_cast<float>(iw) + static_cast<float>(tw);
        y = (H - th) / 2;
        if (in.contentImagePosition == 1) x = iw;
        else if (in.contentImagePosition == 2) x = (W - content) / 2;
        else x = iw + (W - content) / 2 + in.leftIconWidth;
    } else if (!in.titlePosition) {
        x = (W - tw) / 2;
        y = std::floor((H - th) / 2);
    } else {
        const kestrel::widgets::ZorPosition& inset = *in.titlePosition;
        x = tx;
        y = (H - th) / 2;
        if (inset.left != 0) x = tx + inset.left;
        if (inset.right != 0) x = x + (W - tw - inset.right);
        if (inset.top > 0) y = inset.top;
    }
    return QRectF(x, y, tw, th);
}

QPointF zorPictureOrigin(const ZorLayoutInput& in) {
    const qreal W = in.bounds.width();
    const qreal H = in.bounds.height();
    const qreal iw = in.picture.width();
    const qreal ih = in.picture.height();
    const qreal tw = in.text.width();
    if (in.imagePosition == ImagePosition::ImageAbove) return QPointF((W - iw) / 2, 0);
    if (in.imagePosition == ImagePosition::ImageLeading) return QPointF(in.rightToLeft ? W - iw : 0, (H - ih) / 2 + 1);
    if (in.contentImagePosition == 1) return QPointF(0, (H - ih) / 2);
    if (in.contentImagePosition == 2) return QPointF(static_cast<float>(W - iw), (H - ih) / 2);
    return QPointF((W - (iw + tw)) / 2, (H - ih) / 2);
}

}  // namespace kestrel::widgets
