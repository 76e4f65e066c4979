#pragma once
// Text between the command line (UTF-8) and the labels of the devices (UTF-16 code units).
#include <optional>
#include <string>
#include <string_view>

namespace panoptix::cli {

// nullopt when the bytes are not well-formed UTF-8. Characters beyond the BMP become pairs.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace panoptix::cli
