#include "ui/gbk_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <stdexcept>

namespace pricelookup::ui {
namespace {

// Code page 936 as glibc names it: GBK with 0x80 as the euro sign.
constexpr const char* gbk_name = "CP936";
constexpr std::string_view replacement_character = "\xEF\xBF\xBD";

// One iconv descriptor per direction, opened on first use and kept: the program
// converts on every control operation, and opening a descriptor loads a table.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between GBK and UTF-8");
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    enum class Stop { done, invalid, incomplete };

    // Converts as much of `in` as it can, appending to `out`; `in` is advanced past
    // what was converted. Stops at the first sequence the target cannot take.
    Stop convert(std::string_view& in, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        char buffer[1024];
        while (!in.empty()) {
            char* in_ptr = const_cast<char*>(in.data());
            std::size_t in_left = in.size();
            char* out_ptr = buffer;
            std::size_t out_left = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &in_ptr, &in_left, &out_ptr, &out_left);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
            in.remove_prefix(in.size() - in_left);
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (error == E2BIG) continue;
            return error == EINVAL ? Stop::incomplete : Stop::invalid;
        }
        return Stop::done;
    }

private:
    iconv_t m_cd;
};

bool is_gbk_lead_byte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool is_gbk_trail_byte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Length of the character (or broken sequence) at the start of `utf8`: the lead byte
// and the continuation bytes it announces that are really there.
std::size_t utf8_character_length(std::string_view utf8) {
    const auto lead = static_cast<unsigned char>(utf8[0]);
    std::size_t announced = 1;
    if (lead >= 0xC2 && lead <= 0xDF) announced = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) announced = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) announced = 4;
    std::size_t length = 1;
    while (length < announced && length < utf8.size() &&
           (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

}  // namespace

std::string utf8_from_gbk(std::string_view gbk) {
    thread_local Converter converter("UTF-8", gbk_name);
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    while (true) {
        switch (converter.convert(gbk, out)) {
            case Converter::Stop::done:
                return out;
            case Converter::Stop::incomplete:
                out += replacement_character;
                return out;
            case Converter::Stop::invalid: {
                // A well-formed but unassigned double-byte code is one bad character;
                // otherwise only the offending byte is bad, and what follows it (often
                // plain ASCII) is converted as usual.
                const auto lead = static_cast<unsigned char>(gbk[0]);
                const bool pair = gbk.size() >= 2 && is_gbk_lead_byte(lead) &&
                                  is_gbk_trail_byte(static_cast<unsigned char>(gbk[1]));
                out += replacement_character;
                gbk.remove_prefix(pair ? 2 : 1);
                break;
            }
        }
    }
}

std::string gbk_from_utf8(std::string_view utf8) {
    thread_local Converter converter(gbk_name, "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    while (true) {
        switch (converter.convert(utf8, out)) {
            case Converter::Stop::done:
                return out;
            case Converter::Stop::incomplete:
                out += '?';
                return out;
            case Converter::Stop::invalid: {
                out += '?';
                utf8.remove_prefix(utf8_character_length(utf8));
                break;
            }
        }
    }
}

}  // namespace pricelookup::ui
