#include "search/listing_chain.h"

#include <array>
#include <cstdint>

namespace pricelookup::search::detail {
namespace {

constexpr std::string_view lazy_gap = ".*?";

constexpr unsigned char ascii_lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// A literal prepared for backward Horspool search with ASCII case folding.
class FoldedLiteral {
public:
    explicit FoldedLiteral(std::string_view literal) {
        for (const char c : literal) m_folded.push_back(static_cast<char>(ascii_lower(byte(c))));
        m_skip.fill(m_folded.size());
        // For the byte at the window start, the distance to the nearest place further
        // right in the literal where that byte occurs: the next window that can match.
        for (std::size_t k = m_folded.size(); k-- > 1;) m_skip[byte(m_folded[k])] = k;
    }

    // Start of the last occurrence lying wholly before `end`, or npos.
    std::size_t find_last(std::string_view text, std::size_t end) const {
        const std::size_t m = m_folded.size();
        if (m == 0) return end;
        if (end < m) return std::string_view::npos;
        std::size_t j = end - m;
        for (;;) {
            if (equal_at(text, j)) return j;
            const std::size_t shift = m_skip[ascii_lower(byte(text[j]))];
            if (j < shift) return std::string_view::npos;
            j -= shift;
        }
    }

private:
    static unsigned char byte(char c) { return static_cast<unsigned char>(c); }

    bool equal_at(std::string_view text, std::size_t j) const {
        for (std::size_t i = 0; i < m_folded.size(); ++i) {
            if (ascii_lower(byte(text[j + i])) != byte(m_folded[i])) return false;
        }
        return true;
    }

    std::string m_folded;
    std::array<std::size_t, 256> m_skip{};
};

}  // namespace

std::vector<std::string> chain_literals(std::string_view gap_pattern) {
    std::vector<std::string> literals;
    std::string current;
    for (std::size_t i = 0; i < gap_pattern.size();) {
        if (gap_pattern.substr(i, lazy_gap.size()) == lazy_gap) {
            literals.push_back(current);
            current.clear();
            i += lazy_gap.size();
        } else {
            // The parentheses around a capturing gap are not text to be found.
            if (gap_pattern[i] != '(' && gap_pattern[i] != ')') current.push_back(gap_pattern[i]);
            ++i;
        }
    }
    literals.push_back(current);
    std::erase_if(literals, [](const std::string& s) { return s.empty(); });
    return literals;
}

std::size_t latest_chain_start(std::string_view text, const std::vector<std::string>& literals) {
    // Right to left, each literal takes its last occurrence that ends where the next
    // one starts at the latest; these are the latest positions any chain can use.
    std::size_t end = text.size();
    for (auto it = literals.rbegin(); it != literals.rend(); ++it) {
        end = FoldedLiteral(*it).find_last(text, end);
        if (end == std::string_view::npos) return end;
    }
    return end;
}

}  // namespace pricelookup::search::detail
