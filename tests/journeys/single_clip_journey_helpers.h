#pragma once
// The 3D converter's and face beauty's way out: the window's export button, the output folder
// set in the dialog it opens, Start, and the dialog closed once the export ended.
#include <string>

namespace kestrel::tools::shared {
class SingleClipFrame;
}

namespace kestrel::test::journey {

// Returns the file the export wrote into folder ("" when it did not end done); the dialog must
// show neither a re-encode nor a graphics-processor choice (these tools render with fixed settings).
std::string exportThroughDialog(tools::shared::SingleClipFrame& window, const std::string& folder);

}  // namespace kestrel::test::journey
