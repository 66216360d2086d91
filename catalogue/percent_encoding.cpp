#include "catalogue/percent_encoding.h"

namespace pricelookup::catalogue {

std::string percent_encode(std::string_view bytes, bool (*keep)(unsigned char)) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (keep(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 0x0F]);
        }
    }
    return out;
}

}  // namespace pricelookup::catalogue
