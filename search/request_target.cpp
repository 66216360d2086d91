#include "search/request_target.h"

namespace pricelookup::search {
namespace {

bool may_stand_in_target(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return false;  // control bytes, space, DEL, non-ASCII
    switch (c) {
        case '"': case '<': case '>': case '\\': case '^': case '`':
        case '{': case '|': case '}': case '[': case ']': case '#':
            return false;
        default:
            return true;
    }
}

}  // namespace

std::string escape_request_target(std::string_view object) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(object.size());
    for (const char ch : object) {
        const auto c = static_cast<unsigned char>(ch);
        if (may_stand_in_target(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 0x0F]);
        }
    }
    return out;
}

}  // namespace pricelookup::search
