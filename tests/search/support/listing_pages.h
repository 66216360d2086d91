#pragma once

// Result pages in the catalogue's markup, for the parser tests and the benchmark.

#include <cstddef>
#include <string>

namespace pricelookup::test {

struct Entry {
    std::string name = "Nokia N73";
    std::string spec = "\xC8\xFD\xC6\xB5 GSM";  // GBK text
    std::string price_label = "\xB2\xCE\xBF\xBC\xBC\xDB\xA3\xBA";
    std::string price = "1999";
    std::string date = "2008-05-06";
    std::string picture = "http://img.example.com/p/1.jpg";
};

// One product entry exactly as the catalogue writes it.
std::string entry_markup(const Entry& entry);

// A page of about `size` bytes with `entries` complete entries among navigation,
// script and text filler, like a real result page.
std::string typical_page(int entries, std::size_t size);

// A page of about `size` bytes made of entries whose price markup is missing.
std::string hostile_page(std::size_t size);

inline constexpr std::string_view hostile_unit = "<img alt=\"x\" id=1 title=''>spec</li><li>";

}  // namespace pricelookup::test
