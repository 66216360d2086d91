#include "search/page_text.h"

namespace pricelookup::search {

std::string bytes_to_text(std::string_view bytes) {
    return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string remove_line_breaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (text.size() - i >= 2) {
        if (text[i] == '\r' && text[i + 1] == '\n') {
            i += 2;
        } else if (static_cast<unsigned char>(text[i]) >= 0x80) {
            // Lead byte of a double-byte character: the trail byte goes with it.
            out.append(text, i, 2);
            i += 2;
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
    out.append(text, i);
    return out;
}

}  // namespace pricelookup::search
