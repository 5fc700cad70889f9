#pragma once
// A rectangle as the editing engine takes it: fractions of the frame (left, top, right, bottom).
namespace kestrel::session {

struct SlideRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

}  // namespace kestrel::session
