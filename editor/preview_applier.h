#pragma once
// How a panel's change reaches the preview: the window gathers its whole edit state and
// re-applies the parts named (session::PreviewPart) through the session's binding. A panel used
// without a window applies its own share the same way.
#include <functional>

#include "session/edit/edit_bindings.h"

namespace kestrel::editor {

using PreviewApplier = std::function<void(unsigned parts, const session::PreviewContext& context)>;

}  // namespace kestrel::editor
