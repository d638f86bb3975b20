// Any bytes at all through the parser: no crash, no undefined behaviour, and for plain ASCII the
// same value as strtoll clamped to 32 bits.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scheduler/integer_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int32_t value = ParseInteger(text);

    if (ParseInteger(FormatInteger(value)) != value) {
        std::abort();
    }

    const bool plainAscii = std::all_of(text.begin(), text.end(), [](char c) {
        return c > 0 && static_cast<unsigned char>(c) < 0x80;
    });
    if (plainAscii) {
        errno = 0;
        const long long wide = std::strtoll(text.c_str(), nullptr, 10);
        const long long clamped = wide > INT32_MAX   ? INT32_MAX
                                  : wide < INT32_MIN ? INT32_MIN
                                                     : wide;
        if (clamped != value) {
            std::abort();
        }
    }
    return 0;
}
