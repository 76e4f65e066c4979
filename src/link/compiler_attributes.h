#pragma once
// Compiler-specific attributes behind names of our own: the code reads the same everywhere, and
// a compiler without an attribute simply goes without the check it gives.
#if defined(__GNUC__) || defined(__clang__)
// The function takes a printf-style format as parameter format_index (counted from 1) and its
// values from parameter first_value on; the compiler checks calls against the format.
#define PANOPTIX_PRINTF_FORMAT(format_index, first_value) \
    __attribute__((format(printf, format_index, first_value)))
#else
#define PANOPTIX_PRINTF_FORMAT(format_index, first_value)
#endif
