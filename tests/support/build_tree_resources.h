#pragma once
// Programs run from the build folder (tests, screenshots, galleries) sit away from the build's
// Resources folder, where the program's own lookup would not find it.

namespace kestrel::test {

// Points $KESTREL_RESOURCES at the build's Resources folder unless it is set already.
// Call it before the application object exists.
void useBuildTreeResources();

}  // namespace kestrel::test
