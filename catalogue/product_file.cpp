#include "catalogue/product_file.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>

#include "ui/gbk_codec.h"

namespace pricelookup::catalogue {
namespace {

constexpr std::size_t field_count = 6;

struct Fault {
    std::string what;
};

std::vector<std::string_view> split_tabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

// The next code point of strict UTF-8 (no overlong forms, no surrogates), or none.
std::optional<char32_t> next_code_point(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + i]);
        if ((c & 0xC0u) != 0x80u) return std::nullopt;
        value = (value << 6) | (c & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return value;
}

std::string code_point_name(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// A character has a place in the pages when it is printable ASCII other than the
// markup's own < > & ", or when GBK writes it as one double-byte character. (The
// euro sign, a single byte 0x80 in code page 936, is refused: readers of GBK text
// take every byte from 0x80 up as the first of two.)
std::optional<Fault> check_character(char32_t c, std::string_view utf8_character) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
        return Fault{"holds the control character " + code_point_name(c)};
    }
    if (c == '<' || c == '>' || c == '&' || c == '"') {
        return Fault{std::string("holds '") + static_cast<char>(c) +
                     "', which the page markup cannot carry"};
    }
    if (c < 0x80) return std::nullopt;
    const std::string gbk = ui::gbk_from_utf8(utf8_character);
    const bool double_byte = gbk.size() == 2 && static_cast<unsigned char>(gbk[0]) >= 0x81 &&
                             static_cast<unsigned char>(gbk[0]) <= 0xFE;
    if (!double_byte || ui::utf8_from_gbk(gbk) != utf8_character) {
        return Fault{"holds " + code_point_name(c) + ", which has no GBK form"};
    }
    return std::nullopt;
}

std::optional<Fault> check_text(std::string_view text, std::string_view field) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const auto c = next_code_point(text, pos);
        if (!c) return Fault{std::string(field) + " is not valid UTF-8"};
        if (auto fault = check_character(*c, text.substr(start, pos - start))) {
            return Fault{std::string(field) + " " + fault->what};
        }
    }
    return std::nullopt;
}

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool is_id(std::string_view text) {
    return all_digits(text) && text.size() <= 9 && text[0] != '0';
}

bool is_price(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (!all_digits(whole) || whole.size() > 12) return false;
    if (point == std::string_view::npos) return true;
    const std::string_view cents = text.substr(point + 1);
    return all_digits(cents) && cents.size() <= 2;
}

int number_of(std::string_view digits) {
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

bool is_date(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    const std::string_view year = text.substr(0, 4), month = text.substr(5, 2),
                           day = text.substr(8, 2);
    if (!all_digits(year) || !all_digits(month) || !all_digits(day)) return false;
    const int y = number_of(year), m = number_of(month), d = number_of(day);
    if (m < 1 || m > 12 || d < 1) return false;
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int last = days[static_cast<std::size_t>(m - 1)] + (m == 2 && leap ? 1 : 0);
    return d <= last;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::optional<Fault> parse_line(std::string_view line, Product& product) {
    const std::vector<std::string_view> fields = split_tabs(line);
    if (fields.size() != field_count) {
        return Fault{"expected 6 fields separated by tabs, found " + std::to_string(fields.size())};
    }
    const std::string_view id = fields[0], name = fields[1], specification = fields[2],
                           label = fields[3], price = fields[4], date = fields[5];
    if (!is_id(id)) {
        return Fault{"id " + quoted(id) + " is not a number from 1 to 999999999"};
    }
    if (name.empty()) return Fault{"name is empty"};
    if (specification.empty()) return Fault{"specification line is empty"};
    const std::array<std::pair<std::string_view, std::string_view>, 3> texts = {
        {{name, "name"}, {specification, "specification line"}, {label, "price label"}}};
    for (const auto& [text, field] : texts) {
        if (auto fault = check_text(text, field)) return fault;
    }
    if (!is_price(price)) {
        return Fault{"price " + quoted(price) + " is not an amount in yuan (at most two decimals)"};
    }
    if (!is_date(date)) return Fault{"date " + quoted(date) + " is not a date YYYY-MM-DD"};

    product.id = std::string(id);
    product.utf8 = {std::string(name), std::string(specification), std::string(label),
                    std::string(price), std::string(date)};
    product.gbk = {ui::gbk_from_utf8(name), ui::gbk_from_utf8(specification),
                   ui::gbk_from_utf8(label), std::string(price), std::string(date)};
    return std::nullopt;
}

}  // namespace

ProductFile parse_product_file(std::string_view text, std::string_view file_name) {
    ProductFile file;
    const auto fail = [&](std::size_t line_number, const std::string& what) {
        file.products.clear();
        file.error = std::string(file_name) + ":" + std::to_string(line_number) + ": " + what;
        return file;
    };
    constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
    if (text.starts_with(byte_order_mark)) text.remove_prefix(byte_order_mark.size());

    std::map<std::string, std::size_t, std::less<>> line_of_id;
    std::size_t line_number = 0;
    while (!text.empty()) {
        ++line_number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.starts_with('#')) continue;

        Product product;
        if (auto fault = parse_line(line, product)) return fail(line_number, fault->what);
        const auto [it, fresh] = line_of_id.emplace(product.id, line_number);
        if (!fresh) {
            return fail(line_number, "id " + product.id + " is already used on line " +
                                         std::to_string(it->second));
        }
        file.products.push_back(std::move(product));
    }
    if (file.products.empty()) file.error = std::string(file_name) + ": holds no products";
    return file;
}

}  // namespace pricelookup::catalogue
