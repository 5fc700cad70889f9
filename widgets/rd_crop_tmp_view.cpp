#include "widgets/rd_crop_tmp_view.h"

#include <QPaintEvent>
#include <QPainter>

namespace kestrel::widgets {

void RDCropTmpView::paintEvent(QPaintEvent* event) {
    if (!backgroundColor_.isValid()) return;
    QPainter painter(this);
    painter.fillRect(event->rect(), backgroundColor_);
}

}  // namespace kestrel::widgets
