#include "scheduler/integer_text.h"

#include <limits>

namespace {

// What one character of the text counts as: its ASCII form for ASCII, full-width forms
// (U+FF01 to U+FF5E) and the ideographic space (U+3000); '\0' for anything else, which ends a
// number. Advances pos past the character; a broken UTF-8 sequence also counts as '\0'.
char NextCharacter(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return static_cast<char>(lead);
    }
    if (pos + 3 <= text.size() && (lead & 0xF0) == 0xE0) {
        const auto b1 = static_cast<unsigned char>(text[pos + 1]);
        const auto b2 = static_cast<unsigned char>(text[pos + 2]);
        if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80) {
            pos += 3;
            const unsigned codePoint = ((lead & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
            if (codePoint == 0x3000) {
                return ' ';
            }
            if (codePoint >= 0xFF01 && codePoint <= 0xFF5E) {
                return static_cast<char>(codePoint - 0xFEE0);
            }
            return '\0';
        }
    }
    ++pos;
    return '\0';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatInteger(int32_t value) {
    // Built from an unsigned magnitude so that INT32_MIN needs no special case.
    const bool negative = value < 0;
    uint32_t magnitude =
        negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char digits[12];
    char* end = digits + sizeof digits;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        *--p = '-';
    }
    return std::string(p, end);
}

int32_t ParseInteger(std::string_view utf8Text) {
    size_t pos = 0;
    char c = '\0';
    do {
        if (pos >= utf8Text.size()) {
            return 0;
        }
        c = NextCharacter(utf8Text, pos);
    } while (IsSpace(c));

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        if (pos >= utf8Text.size()) {
            return 0;
        }
        c = NextCharacter(utf8Text, pos);
    }

    // One past INT32_MAX is the magnitude of INT32_MIN; anything beyond it saturates there.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (IsDigit(c)) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
        if (pos >= utf8Text.size()) {
            break;
        }
        c = NextCharacter(utf8Text, pos);
    }

    if (negative) {
        return static_cast<int32_t>(-magnitude);
    }
    return static_cast<int32_t>(magnitude < kLimit ? magnitude : kLimit - 1);
}
