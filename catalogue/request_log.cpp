#include "catalogue/request_log.h"

namespace pricelookup::catalogue {

std::string log_safe(std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 0x0F]);
        }
    }
    return out;
}

std::string request_log_line(std::string_view remote, std::string_view method,
                             std::string_view target, std::string_view version, int status,
                             std::size_t body_bytes) {
    return log_safe(remote) + " \"" + log_safe(method) + " " + log_safe(target) + " " +
           log_safe(version) + "\" " + std::to_string(status) + " " + std::to_string(body_bytes);
}

}  // namespace pricelookup::catalogue
