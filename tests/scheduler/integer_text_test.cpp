#include "scheduler/integer_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(FormatInteger, WritesWhatPercentDWrites) {
    const struct {
        int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {7, "7"},
        {-5, "-5"},
        {18000, "18000"},
        {2147460, "2147460"},
        {kMax, "2147483647"},
        {kMin, "-2147483648"},
        {100, "100"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatInteger(c.value), c.text) << c.value;
    }
}

struct ParseCase {
    std::string text;
    int32_t value;
};

TEST(ParseInteger, ReadsWhatUsersType) {
    const ParseCase cases[] = {
        {"", 0},
        {"5", 5},
        {"0010", 10},
        {"+7", 7},
        {"-5", -5},
        {"  \t\n\v\f\r42", 42},
        {"7分钟", 7},
        {"12.9", 12},
        {"1 2", 1},
        {"abc", 0},
        {"分钟", 0},
        {"-", 0},
        {"+", 0},
        {"+-3", 0},
        {"--3", 0},
        {"- 3", 0},
        {"3 ", 3},
        {"0x1F", 0},
        {" 10分钟", 10},
        {std::string("4\0"
                     "2",
                     3),
         4},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ParseInteger, FullWidthFormsCountAsAscii) {
    const ParseCase cases[] = {
        {"１０", 10},  // full-width digits
        {"０１２３４５６７８９", 123456789},
        {"－５", -5},        // full-width minus
        {"＋８", 8},         // full-width plus
        {"\u3000１０", 10},  // ideographic space
        {"\u3000 \u3000\t9", 9},
        {"1０2", 102},  // mixed widths
        {"１０分钟", 10},
        {"１．５", 1},   // full-width full stop ends the number
        {"Ａ1", 0},      // a full-width letter is not a digit
        {"\u00a01", 0},  // no-break space is not white space here
        {"\u20001", 0},  // nor the en quad
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ParseInteger, BrokenUtf8EndsTheNumber) {
    const ParseCase cases[] = {
        {"1\xEF", 1},
        {"1\xEF\xBC", 1},
        {"\xEF\xBC\x91", 1},  // "１" in full
        {"\xEF\xBC", 0},
        {"\xFF"
         "5",
         0},
        {"5\x80"
         "5",
         5},
        {"\xE3\x80", 0},  // cut-off ideographic space
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value);
    }
}

// A long run of digits must never wrap back into the accepted range: "4294967301" is 2^32 + 5.
TEST(ParseInteger, SaturatesBeyondThe32BitRange) {
    const ParseCase cases[] = {
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"4294967301", kMax},
        {"4294967296", kMax},
        {"99999999999999999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-4294967301", kMin},
        {"-99999999999999999999999999", kMin},
        {"０００００００００００００２１４７４８３６４７", kMax},
        {"４２９４９６７３０１", kMax},
        {"00000000000000000000000000005", 5},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
    }
}

TEST(ParseInteger, RoundTripsEveryFormattedValue) {
    for (int32_t value : {kMin, kMin + 1, -35792, -1, 0, 1, 59, 60, 35791, 35792, kMax - 1, kMax}) {
        EXPECT_EQ(ParseInteger(FormatInteger(value)), value);
    }
}

}  // namespace
