#include "tests/support/build_tree_resources.h"

#include <cstdlib>

#ifndef KESTREL_BUILD_RESOURCES_DIR
#error "KESTREL_BUILD_RESOURCES_DIR must be defined by the build"
#endif

namespace kestrel::test {

void useBuildTreeResources() { setenv("KESTREL_RESOURCES", KESTREL_BUILD_RESOURCES_DIR, 0); }

}  // namespace kestrel::test
