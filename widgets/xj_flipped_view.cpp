#include "widgets/xj_flipped_view.h"

#include "platform/frame.h"

namespace kestrel::widgets {

XJFlippedView::XJFlippedView(QWidget* parent) : NamedImageView(parent) {
    platform::setFlipped(this, true);
    setImageScaling(ImageScaling::AxesIndependently);
}

}  // namespace kestrel::widgets
