#pragma once
// A flipped view (origin at its top-left corner) that draws one picture stretched over itself.
// The sliders use it for their track and fill.
#include "widgets/named_image_view.h"

namespace kestrel::widgets {

class XJFlippedView : public NamedImageView {
    Q_OBJECT
public:
    explicit XJFlippedView(QWidget* parent = nullptr);

    void setBackNormalImage(const QPixmap& image) { setImage(image); }
    QPixmap backNormalImage() const { return image(); }
};

}  // namespace kestrel::widgets
