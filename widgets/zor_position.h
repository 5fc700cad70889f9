#pragma once
// Four edges (top, left, bottom, right): a button's title insets, or a rectangle by its edges.
namespace kestrel::widgets {

struct ZorPosition {
    float top = 0;
    float left = 0;
    float bottom = 0;
    float right = 0;

    ZorPosition() = default;
    ZorPosition(float top_, float left_, float bottom_, float right_)
        : top(top_), left(left_), bottom(bottom_), right(right_) {}
};

}  // namespace kestrel::widgets
