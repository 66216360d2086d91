// Keyword matching on GBK texts: substrings on character boundaries, ASCII letters
// without case, the second byte of a double-byte character never read as a letter.

#include <gtest/gtest.h>

#include "catalogue/keyword_match.h"

namespace pricelookup::catalogue {
namespace {

struct Case {
    const char* what;
    std::string_view keyword;
    std::string_view text;
    bool expected;
};

// 电 B5E7, 视 CAD3, 丄 8141 (second byte 'A'), 乤 8161 (second byte 'a').
const Case cases[] = {
    {"whole Chinese word", "\xB5\xE7\xCA\xD3", "55\xD3\xA2\xB4\xE7 \xB5\xE7\xCA\xD3", true},
    {"second character alone", "\xCA\xD3", "\xB5\xE7\xCA\xD3", true},
    {"halves of two characters", "\xE7\xCA", "\xB5\xE7\xCA\xD3", false},
    {"first half of a character", "\xB5", "\xB5\xE7\xCA\xD3", false},
    {"ASCII letters of another case", "hdr 4k", "X55 HDR 4K", true},
    {"upper-case keyword, lower-case text", "PRO", "Book 15 pro", true},
    {"letter against the second byte of a character", "a", "\x81\x61", false},
    {"upper-case letter against the second byte", "A", "\x81\x41", false},
    {"folding does not touch the second byte", "\x81\x61", "\x81\x41", false},
    {"a double-byte character is compared exactly", "\x81\x41", "x\x81\x41y", true},
    {"empty keyword in a text", "", "\xB5\xE7\xCA\xD3", true},
    {"empty keyword in the empty text", "", "", true},
    {"keyword longer than the text", "4K HDR", "4K", false},
    {"absent word", "\xB1\xF9\xCF\xE4", "\xB5\xE7\xCA\xD3", false},
    {"digits and space", "55 ", "55 inch", true},
};

TEST(KeywordIn, Cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(keyword_in(c.keyword, c.text), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace pricelookup::catalogue
