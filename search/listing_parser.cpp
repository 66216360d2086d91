#include "search/listing_parser.h"

#include <boost/regex.hpp>
#include <locale>
#include <new>
#include <stdexcept>

#include "search/listing_chain.h"

namespace pricelookup::search {

struct ListingPattern::Engine {
    boost::regex regex;
    bool compiled = false;
};

ListingPattern::ListingPattern() : m_engine(std::make_unique<Engine>()) {
    // The locale goes in before the pattern: case folding is then plain ASCII
    // whatever locale the user runs in.
    m_engine->regex.imbue(std::locale::classic());
    try {
        m_engine->regex.assign(listing_pattern_text.begin(), listing_pattern_text.end(),
                               boost::regex::perl | boost::regex::icase);
        m_engine->compiled = true;
    } catch (const boost::regex_error&) {
        m_engine->compiled = false;
    }
}

ListingPattern::~ListingPattern() = default;
ListingPattern::ListingPattern(ListingPattern&&) noexcept = default;
ListingPattern& ListingPattern::operator=(ListingPattern&&) noexcept = default;

bool ListingPattern::compiled() const { return m_engine && m_engine->compiled; }

namespace {

GroupSpan span_of(const boost::csub_match& group, const char* text_begin) {
    GroupSpan span;
    span.matched = group.matched;
    if (group.matched) {
        span.offset = static_cast<std::int32_t>(group.first - text_begin);
        span.length = static_cast<std::int32_t>(group.length());
    }
    return span;
}

// Successive searches from the start of the text, each one starting where the last
// match ended, for as long as a match may begin at or before `last_start`.
MatchList search_from_start(const boost::regex& regex, std::string_view text,
                            std::size_t last_start) {
    MatchList list;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    std::size_t position = 0;
    boost::cmatch match;
    while (position <= last_start) {
        try {
            // Always the whole rest of the text, exactly as an unguarded search asks:
            // the engine's work limit grows with the length it is given.
            if (!boost::regex_search(begin + position, end, match, regex, boost::match_default)) {
                break;
            }
        } catch (const std::runtime_error&) {
            // The work limit or the backtracking stack was exceeded: what was found
            // before stays.
            list.ended_by_engine_error = true;
            break;
        } catch (const std::bad_alloc&) {
            // The engine found no memory for its state: an error of the engine like
            // the others, and what was found before stays too.
            list.ended_by_engine_error = true;
            break;
        }
        MatchRecord record;
        for (std::size_t g = 0; g < record.groups.size(); ++g) {
            record.groups[g] = span_of(match[static_cast<int>(g)], begin);
        }
        list.records.push_back(record);
        position = static_cast<std::size_t>(match[0].second - begin);
    }
    return list;
}

std::string_view searchable_text(std::string_view page_text) {
    return page_text.substr(0, page_text.find('\0'));
}

}  // namespace

// Why the guard never changes the records: a match starting at an "alt=\"" needs
// the other literals after it in order, so past the latest start with a complete
// chain no search can succeed, and the searches up to it are made exactly as the
// unguarded ones (same start, same end, same flags). Up to that start every search
// succeeds: its leftmost "alt=\"" has a complete chain, and the engine's first,
// all-lazy attempt there takes the earliest occurrences, which is that chain. So
// the engine does no backtracking worth the name and its work limit, which grows
// with the text still to search, is not reached. The one difference is in the
// flag: where the unguarded search ends in the engine's error on a start that
// cannot complete, the guarded one stops before it, with the same records and no
// error.
MatchList find_listing_matches(const ListingPattern& pattern, std::string_view page_text) {
    static const std::vector<std::string> literals = detail::chain_literals(listing_pattern_text);
    const std::string_view text = searchable_text(page_text);
    if (!pattern.compiled() || text.empty()) return {};
    const std::size_t last_start = detail::latest_chain_start(text, literals);
    if (last_start == std::string_view::npos) return {};
    return search_from_start(pattern.engine().regex, text, last_start);
}

MatchList find_listing_matches_unguarded(const ListingPattern& pattern,
                                         std::string_view page_text) {
    const std::string_view text = searchable_text(page_text);
    if (!pattern.compiled() || text.empty()) return {};
    return search_from_start(pattern.engine().regex, text, text.size());
}

std::string group_text(const MatchRecord& record, std::string_view page_text, int group) {
    if (group < 1 || group > listing_group_count) return {};
    const GroupSpan& span = record.groups[static_cast<std::size_t>(group)];
    if (!span.matched || span.length <= 0 || span.offset < 0) return {};
    const auto offset = static_cast<std::size_t>(span.offset);
    if (offset >= page_text.size()) return {};
    return std::string(page_text.substr(offset, static_cast<std::size_t>(span.length)));
}

}  // namespace pricelookup::search
