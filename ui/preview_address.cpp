#include "ui/preview_address.h"

#include <algorithm>
#include <array>

namespace pricelookup::ui {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool starts_with_folded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char p, char t) { return p == lower(t); });
}

bool is_control(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

bool is_previewable_address(std::string_view address) {
    // A browser drops tabs and line breaks inside an address and so would find a
    // different address than the one checked here: no control character at all.
    if (std::any_of(address.begin(), address.end(), is_control)) return false;

    constexpr std::array<std::string_view, 2> schemes{"http://", "https://"};
    const auto scheme = std::find_if(schemes.begin(), schemes.end(), [address](std::string_view s) {
        return starts_with_folded(address, s);
    });
    if (scheme == schemes.end()) return false;

    // The authority runs up to the path, the query or the fragment.
    const std::string_view rest = address.substr(scheme->size());
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    // A browser reads a backslash as a slash in a web address: refuse the ambiguity.
    if (authority.find_first_of("\\ ") != std::string_view::npos) return false;
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    // The host, without its port: a bracketed IPv6 literal, or up to the colon.
    std::string_view host = authority;
    if (host.starts_with('[')) {
        const auto close = host.find(']');
        if (close == std::string_view::npos) return false;
        // Only a port may follow the literal.
        const std::string_view after = host.substr(close + 1);
        return close > 1 && (after.empty() || after.starts_with(':'));
    }
    host = host.substr(0, host.find(':'));
    return !host.empty();
}

}  // namespace pricelookup::ui
