#pragma once
// One clip of the easy cutter, in seconds of the source file.
#include <QImage>

namespace kestrel::model {

struct CutterTimeItem {
    float start = 0;     // s
    float end = 0;       // s
    QImage thumb;
    float duration = 0;  // s
    bool selected = false;

    bool operator==(const CutterTimeItem&) const = default;
};

}  // namespace kestrel::model
