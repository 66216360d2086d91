// The guarded parser against the plain Boost.Regex search on generated pages: the
// match lists must be the same record for record.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "search/listing_chain.h"
#include "search/listing_parser.h"

namespace pricelookup::search {
namespace {

// A small deterministic generator (the standard distributions differ between
// library implementations, this does not).
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint32_t next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_state >> 33);
    }
    std::size_t below(std::size_t n) { return next() % n; }
    bool chance(std::size_t percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

class PageGenerator {
public:
    explicit PageGenerator(std::uint64_t seed) : m_random(seed) {}

    std::string page() {
        std::string page;
        const std::size_t segments = 1 + m_random.below(5);
        for (std::size_t s = 0; s < segments; ++s) {
            switch (m_random.below(4)) {
                case 0: page += filler(); break;
                case 1: page += entry(/*truncate=*/false); break;
                default: page += entry(/*truncate=*/true); break;
            }
        }
        return page;
    }

private:
    // Literal text in lower, upper or mixed case, as pages may write their markup.
    std::string cased(std::string_view text, std::size_t mode) {
        std::string out(text);
        for (char& c : out) {
            const bool upper = mode == 1 || (mode == 2 && m_random.chance(50));
            if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        return out;
    }

    // Bytes that stand in fields and gaps: text, markup, lone line breaks, GBK
    // characters, rare zero bytes, and pieces of the entry markup itself.
    std::string filler() {
        static const std::vector<std::string> pieces = {
            "a", "Z", "7", " ", "\"", "'", "<", ">", "=", "/", "\n", "\r", "\r\n", "\x0C",
            "\xC4\xE3", "\xBA\xC3", "\xB0\r", "\xFE", "<li>", "</li>", "<b>", "</b>", "alt=\"",
            "\" id=", "title=''>", "date\">", "img src=\"", "\" alt=", "<span class=\"price\">"};
        std::string out;
        const std::size_t count = m_random.below(6);
        for (std::size_t i = 0; i < count; ++i) {
            if (m_random.chance(1)) {
                out.push_back('\0');
            } else {
                out += pieces[m_random.below(pieces.size())];
            }
        }
        return out;
    }

    std::string entry(bool truncate) {
        static const std::vector<std::string> literals =
            detail::chain_literals(listing_pattern_text);
        const std::size_t mode = m_random.below(4) == 0 ? 1 + m_random.below(2) : 0;
        // A truncated entry loses one literal, or stops after one.
        const std::size_t damaged = truncate ? m_random.below(literals.size()) : literals.size();
        const bool cut_after = m_random.chance(50);
        std::string out = "<li><img ";
        for (std::size_t k = 0; k < literals.size(); ++k) {
            if (k == damaged && cut_after) break;
            if (k != damaged) out += cased(literals[k], mode);
            if (k + 1 < literals.size()) out += filler();
        }
        if (damaged == literals.size()) out += "\"x\">";
        return out;
    }

    Random m_random;
};

TEST(ListingDifferential, GuardedParserAgreesWithPlainSearchOnGeneratedPages) {
    const ListingPattern pattern;
    PageGenerator generator(20240611);
    constexpr int page_count = 4000;
    int pages_with_matches = 0;
    int pages_with_several = 0;
    int pages_the_guard_cut_short = 0;
    for (int i = 0; i < page_count; ++i) {
        const std::string page = generator.page();
        const MatchList plain = find_listing_matches_unguarded(pattern, page);
        const MatchList guarded = find_listing_matches(pattern, page);
        ASSERT_EQ(guarded.records, plain.records) << "page " << i << ": " << testing::PrintToString(page);
        EXPECT_FALSE(guarded.ended_by_engine_error);
        if (!plain.records.empty()) ++pages_with_matches;
        if (plain.records.size() > 1) ++pages_with_several;
        if (page.find("alt=\"") != std::string::npos && plain.records.empty()) {
            ++pages_the_guard_cut_short;
        }
    }
    // The generator must exercise both outcomes, or the comparison proves little.
    EXPECT_GT(pages_with_matches, page_count / 5);
    EXPECT_GT(pages_with_several, page_count / 50);
    EXPECT_GT(pages_the_guard_cut_short, page_count / 10);
}

}  // namespace
}  // namespace pricelookup::search
