#pragma once
// Where the preview's pictures go: a toolkit view on the other side, kept out of engine headers.
#include "engine/editing/compositor.h"

#include <memory>

namespace kestrel::editing {

class PreviewSurface {
public:
    virtual ~PreviewSurface() = default;
    // The QWidget* to show.
    virtual void* widget() = 0;
    // Called on the preview thread with each new picture.
    virtual void present(const Canvas& canvas) = 0;
    // Deletes the view if no one took it into a window.
    virtual void release() = 0;
};

// Null when no application object exists to own a view.
std::shared_ptr<PreviewSurface> createPreviewSurface(int width, int height);

}  // namespace kestrel::editing
