#include "catalogue/request_log.h"

#include "catalogue/percent_encoding.h"

namespace pricelookup::catalogue {

std::string log_safe(std::string_view bytes) {
    return percent_encode(bytes, [](unsigned char c) {
        return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
    });
}

std::string request_log_line(std::string_view remote, std::string_view method,
                             std::string_view target, std::string_view version, int status,
                             std::size_t body_bytes) {
    return log_safe(remote) + " \"" + log_safe(method) + " " + log_safe(target) + " " +
           log_safe(version) + "\" " + std::to_string(status) + " " + std::to_string(body_bytes);
}

}  // namespace pricelookup::catalogue
