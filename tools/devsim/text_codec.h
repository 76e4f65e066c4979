#pragma once
// Text conversions of the simulator: window labels travel as UTF-16 code units (low byte
// first), the log and the state file are UTF-8, and a log line must stay one printable line.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace panoptix::devsim {

// UTF-8 to UTF-16; nullopt when the text is not valid UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Little-endian UTF-16 code units from bytes; an odd last byte forms a unit with a zero high
// byte. The text ends early at a zero unit.
std::u16string DecodeUtf16Le(std::span<const uint8_t> bytes);

// Code units as bytes, low byte first, without terminator.
std::string EncodeUtf16Le(std::u16string_view text);

// The text in double quotes for a log line: quotes, backslashes and control characters are
// escaped so that the line stays one line.
std::string QuoteForLog(std::string_view utf8_text);

// Bytes of a received text shown in a log line: printable ASCII as is, the rest as \xNN.
std::string PrintableBytes(std::span<const uint8_t> bytes);

// "0x%02X".
std::string HexByte(uint8_t value);

// Four octets in dotted notation.
std::string DottedQuad(std::span<const uint8_t, 4> octets);

}  // namespace panoptix::devsim
