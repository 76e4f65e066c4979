#pragma once
// The model name of a discovery reply: it starts at frame byte 18 and is followed by "-x-".
// Every '-' with another '-' two places after it ends one name candidate, so a reply can name
// several devices (each longer than the one before). The LAN search and the serial reply
// parser scan with this one function; they differ only in where the scan ends.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "link/byte_reader.h"

namespace panoptix {

inline constexpr size_t kModelNameOffset = 18;
inline constexpr uint8_t kModelNameSeparator = '-';

enum class ScanStep { Continue, Stop };

// Calls on_name with the name bytes (frame bytes 18 to k - 1) for every k from 18 on where
// bytes k and k + 2 are both '-' and k + 2 lies before end_bound; a byte the reader does not
// hold never matches. Stops early when on_name says so.
void ScanModelNames(const ByteReader& frame, size_t end_bound,
                    const std::function<ScanStep(std::span<const uint8_t> name)>& on_name);

// Each byte widened to one UTF-16 character, as names are shown.
std::u16string WidenBytes(std::span<const uint8_t> bytes);

}  // namespace panoptix
