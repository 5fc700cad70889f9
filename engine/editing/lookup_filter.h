#pragma once
// Colour look-up tables for media: a 3D table in the .cube text form (LUT_3D_SIZE N followed by
// N^3 rows of red, green and blue, red changing fastest), applied by libavfilter's lut3d through
// the shared filter-graph builder, so the preview and the export colour a picture alike.
#include <string>

namespace kestrel::editing {

// Largest table edge accepted; bigger tables gain nothing visible and cost memory.
constexpr int kMaxLookupSize = 128;

// True when the file is a readable .cube 3D table of 2..kMaxLookupSize levels with every row
// present; otherwise false with the reason in error.
bool isUsableLookupFile(const std::string& path, std::string* error = nullptr);

// The filter-chain text (for VideoSettings::effect_chains) that applies the table at path;
// the path is escaped for both levels of the filter-graph syntax.
std::string lookupFilterChain(const std::string& path);

}  // namespace kestrel::editing
