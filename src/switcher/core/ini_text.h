#pragma once
// Reading and changing one key of an INI file's text, as the profile-string functions see it:
// "[section]" lines open sections, "key=value" lines hold values; section and key names compare
// without letter case and values lose the blanks around them. Changing a key rewrites that one
// line and keeps every other line (comments, other keys, line ends) exactly as it was.
#include <string>
#include <string_view>

namespace panoptix {

// The value, at most 99 characters; "" when the section or the key is missing.
std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key);

// The text with key of section set to value. A missing key is added after the last line of its
// section, a missing section at the end of the text.
std::string WriteIniValue(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value);

}  // namespace panoptix
