#pragma once
// One clip shown by a CutItemView: its time range in seconds and its thumbnail.
#include <QPixmap>

namespace kestrel::widgets {

struct CutItem {
    bool selected = false;
    float startTime = 0;
    float endTime = 0;
    QPixmap thumbImage;
};

}  // namespace kestrel::widgets
