#pragma once
#include <string>

namespace kestrel::engine {

// Family name stored in a TrueType/OpenType font file (the first face of a collection), read
// from its "name" table; "" when the file is not a font. Subtitle styles name fonts by family.
std::string fontFamilyName(const std::string& font_file);

}  // namespace kestrel::engine
