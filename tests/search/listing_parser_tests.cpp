#include "search/listing_parser.h"

#include <gtest/gtest.h>

#include <locale>

#include "tests/search/support/listing_pages.h"

namespace pricelookup::search {
namespace {

using test::Entry;
using test::entry_markup;

std::vector<std::vector<std::string>> rows_of(std::string_view page) {
    const ListingPattern pattern;
    const MatchList list = find_listing_matches(pattern, page);
    std::vector<std::vector<std::string>> rows;
    for (const MatchRecord& record : list.records) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int g = 1; g <= listing_group_count; ++g) row.push_back(group_text(record, page, g));
    }
    return rows;
}

std::vector<std::string> fields_of(const Entry& e) {
    return {e.name, e.spec, e.price_label, e.price, e.date, e.picture};
}

TEST(ListingParser, PatternCompiles) { EXPECT_TRUE(ListingPattern().compiled()); }

TEST(ListingParser, TwoEntriesGiveTwoRecordsInPageOrder) {
    Entry first;
    Entry second{"Moto V3", "\xB7\xAD\xB8\xC7", "", "899", "2008-05-07", "http://i/2.jpg"};
    const std::string page = "<ul>" + entry_markup(first) + entry_markup(second) + "</ul>";
    const auto rows = rows_of(page);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], fields_of(first));
    EXPECT_EQ(rows[1], fields_of(second));
}

TEST(ListingParser, RecordsHoldOffsetsIntoThePage) {
    const std::string prefix = "<p>\xC4\xE3\xBA\xC3</p>";
    const std::string page = prefix + entry_markup(Entry{});
    const MatchList list = find_listing_matches(ListingPattern(), page);
    ASSERT_EQ(list.records.size(), 1u);
    const MatchRecord& record = list.records[0];
    const std::size_t alt = page.find("alt=\"");
    EXPECT_EQ(record.groups[0].offset, static_cast<std::int32_t>(alt));
    EXPECT_EQ(record.groups[0].length,
              static_cast<std::int32_t>(page.rfind("alt=") + 4 - alt));
    EXPECT_EQ(record.groups[1].offset, static_cast<std::int32_t>(alt + 5));
    EXPECT_TRUE(record.groups[1].matched);
    EXPECT_FALSE(list.ended_by_engine_error);
}

struct PageCase {
    const char* name;
    std::string page;
    std::vector<std::vector<std::string>> rows;
};

Entry with_spec(std::string spec) {
    Entry e;
    e.spec = std::move(spec);
    return e;
}

std::string capitalised_entry() {
    return "<LI><IMG ALT=\"Nokia\" ID=p1 TITLE=''>GSM</LI><LI><SPAN CLASS=\"PRICE\">Ref<B CLASS='F20'>"
           "1999</B></SPAN><B CLASS=\"DATE\">2008</B><IMG SRC=\"http://I/1.JPG\" ALT=\"Nokia\">";
}

std::string entry_with_linefeed_before_price() {
    std::string e = entry_markup(Entry{});
    const std::size_t price = e.find("<span class=\"price\">");
    e.insert(price, "\n");
    return e;
}

std::string entry_without_date() {
    std::string e = entry_markup(Entry{});
    const std::size_t date = e.find("date\">");
    e.erase(date, 6);
    return e;
}

Entry second_entry() {
    return Entry{"Moto", "spec2", "label2", "899", "2009-01-01", "http://i/2.jpg"};
}

class ListingPage : public testing::TestWithParam<PageCase> {};

TEST_P(ListingPage, GivesTheRowsOfItsEntries) {
    EXPECT_EQ(rows_of(GetParam().page), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ListingPage,
    testing::Values(
        PageCase{"empty_page", "", {}},
        PageCase{"no_entry_opening", "<img src=\"a\" title=''>x</li><li><span class=\"price\">", {}},
        PageCase{"linefeed_between_pieces", entry_with_linefeed_before_price(),
                 {fields_of(Entry{})}},
        PageCase{"linefeed_and_cr_inside_spec", entry_markup(with_spec("a\nb\rc")),
                 {fields_of(with_spec("a\nb\rc"))}},
        PageCase{"capital_markup_keeps_page_case", capitalised_entry(),
                 {{"Nokia", "GSM", "Ref", "1999", "2008", "http://I/1.JPG"}}},
        PageCase{"empty_price_label",
                 entry_markup(Entry{"N", "S", "", "1", "D", "P"}),
                 {{"N", "S", "", "1", "D", "P"}}},
        PageCase{"spec_with_tags", entry_markup(with_spec("<i>GSM</i> <br>3G")),
                 {fields_of(with_spec("<i>GSM</i> <br>3G"))}},
        PageCase{"missing_date_stretches_into_next_entry",
                 entry_without_date() + entry_markup(second_entry()),
                 {{"Nokia N73", Entry{}.spec, Entry{}.price_label, "1999", "2009-01-01",
                   "http://i/2.jpg"}}},
        PageCase{"zero_byte_ends_the_text",
                 entry_markup(Entry{}) + std::string(1, '\0') + entry_markup(second_entry()),
                 {fields_of(Entry{})}},
        PageCase{"zero_byte_inside_an_entry",
                 "<img alt=\"x\" id=1" + std::string(1, '\0') + entry_markup(Entry{}).substr(30),
                 {}}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

// Case rules of a Turkish-like user locale: 'I' lowers to a dotless i and 'i'
// uppers to a dotted I, so "TITLE" and "title" are no longer the same word there.
class DotlessCtype : public std::ctype<char> {
protected:
    char do_tolower(char c) const override {
        return c == 'I' ? '\xFD' : std::ctype<char>::do_tolower(c);
    }
    const char* do_tolower(char* begin, const char* end) const override {
        for (char* c = begin; c != end; ++c) *c = do_tolower(*c);
        return end;
    }
    char do_toupper(char c) const override {
        return c == 'i' ? '\xDD' : std::ctype<char>::do_toupper(c);
    }
    const char* do_toupper(char* begin, const char* end) const override {
        for (char* c = begin; c != end; ++c) *c = do_toupper(*c);
        return end;
    }
};

class GlobalLocale {
public:
    explicit GlobalLocale(const std::locale& locale) : m_previous(std::locale::global(locale)) {}
    ~GlobalLocale() { std::locale::global(m_previous); }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

private:
    std::locale m_previous;
};

TEST(ListingParser, CaseFoldingIsPlainAsciiWhateverTheUserLocale) {
    const GlobalLocale turkish_like(std::locale(std::locale::classic(), new DotlessCtype));
    ASSERT_NE(std::use_facet<std::ctype<char>>(std::locale()).tolower('I'), 'i');
    EXPECT_EQ(rows_of(capitalised_entry()),
              (std::vector<std::vector<std::string>>{
                  {"Nokia", "GSM", "Ref", "1999", "2008", "http://I/1.JPG"}}));
}

TEST(GroupText, IsEmptyForGroupsOutsideOneToSixAndForGroupsThatDidNotTakePart) {
    const std::string page = entry_markup(Entry{});
    const MatchList list = find_listing_matches(ListingPattern(), page);
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_EQ(group_text(list.records[0], page, 0), "");
    EXPECT_EQ(group_text(list.records[0], page, 7), "");
    MatchRecord unmatched = list.records[0];
    unmatched.groups[4].matched = false;
    EXPECT_EQ(group_text(unmatched, page, 4), "");
    EXPECT_EQ(group_text(unmatched, page, 5), Entry{}.date);
}

}  // namespace
}  // namespace pricelookup::search
