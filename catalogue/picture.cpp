#include "catalogue/picture.h"

#include <array>
#include <string_view>
#include <vector>

namespace pricelookup::catalogue {
namespace {

// Narrow literals of this program are GBK; the card is UTF-8, so its own texts
// are written as UTF-8 literals.
std::string utf8(std::u8string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::string xml_text(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out.push_back(c);
                break;
        }
    }
    return out;
}

// The name cut into lines of at most `width` characters, at most `max_lines` of
// them, the last one ending in an ellipsis when the name is longer.
std::vector<std::string> wrapped(std::string_view name, std::size_t width, std::size_t max_lines) {
    std::vector<std::string> lines(1);
    std::size_t in_line = 0;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = 1;
        while (i + length < name.size() &&
               (static_cast<unsigned char>(name[i + length]) & 0xC0u) == 0x80u) {
            ++length;
        }
        if (in_line == width) {
            if (lines.size() == max_lines) {
                lines.back() += utf8(u8"…");
                return lines;
            }
            lines.emplace_back();
            in_line = 0;
        }
        lines.back().append(name.substr(i, length));
        ++in_line;
        i += length;
    }
    return lines;
}

// A background colour picked from the id, so that neighbouring cards differ.
std::string_view colour_of(std::string_view id) {
    static constexpr std::array<std::string_view, 6> colours = {"#e8f1fb", "#fdf0e6", "#eaf7ec",
                                                                "#f6ecf8", "#fbf8e3", "#e9f4f6"};
    std::size_t sum = 0;
    for (const char c : id) sum += static_cast<unsigned char>(c);
    return colours[sum % colours.size()];
}

}  // namespace

std::string picture_svg(const Product& product) {
    const ProductTexts& t = product.utf8;
    const std::string width = std::to_string(picture_width);
    const std::string height = std::to_string(picture_height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" + height +
           "\" viewBox=\"0 0 " + width + " " + height + "\">\n";
    out += "<rect x=\"0.5\" y=\"0.5\" width=\"" + std::to_string(picture_width - 1) +
           "\" height=\"" + std::to_string(picture_height - 1) + "\" rx=\"8\" fill=\"" +
           std::string(colour_of(product.id)) + "\" stroke=\"#99a\"/>\n";
    out += "<g font-family=\"WenQuanYi Micro Hei, Noto Sans CJK SC, sans-serif\" fill=\"#223\">\n";
    int y = 30;
    for (const std::string& line : wrapped(t.name, 14, 3)) {
        out += "<text x=\"12\" y=\"" + std::to_string(y) + "\" font-size=\"15\">" + xml_text(line) +
               "</text>\n";
        y += 22;
    }
    out += "<text x=\"12\" y=\"118\" font-size=\"13\">" + xml_text(t.label) +
           "<tspan font-size=\"20\" fill=\"#c00\">" + xml_text(t.price) + "</tspan>" +
           utf8(u8"元") + "</text>\n";
    out += "<text x=\"12\" y=\"146\" font-size=\"12\" fill=\"#667\">" + utf8(u8"报价时间：") +
           xml_text(t.date) + "</text>\n";
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace pricelookup::catalogue
