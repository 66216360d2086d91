#include "tests/search/support/listing_pages.h"

namespace pricelookup::test {
namespace {

// Markup of the kind that surrounds the entries: attributes, links, scripts and
// GBK text, but no entry opening.
std::string filler_block(int index) {
    const std::string n = std::to_string(index);
    return "<div class=\"nav-item\" id=\"n" + n + "\"><a href=\"/index.php?c=Cat&id=" + n +
           "\" title=\"\xCA\xD6\xBB\xFA " + n + "\" target=\"_blank\">\xCA\xD6\xBB\xFA\xB1\xA8"
           "\xBC\xDB " + n + "</a><span class='hint'>\xD7\xEE\xD0\xC2\xC9\xCF\xCA\xD0</span>"
           "<script type=\"text/javascript\">var s" + n + " = {id: " + n +
           ", url: '/x.php?i=" + n + "'};</script></div>\n";
}

}  // namespace

std::string entry_markup(const Entry& e) {
    return "<li class=\"item\"><a href=\"/p/1.html\"><img alt=\"" + e.name +
           "\" id=p1 width=100 title=''>" + e.spec + "</li><li class=\"price\"><span class=\"price\">" +
           e.price_label + "<b class='f20'>" + e.price + "</b></span></li>\n<li>\xB1\xA8\xBC\xDB"
           "<b class=\"date\">" + e.date + "</b></li><li><a href=\"/p/1.html\"><img src=\"" +
           e.picture + "\" alt=\"" + e.name + "\"></a></li>\n";
}

std::string typical_page(int entries, std::size_t size) {
    const std::string entry = entry_markup(Entry{});
    const std::size_t filler_total =
        size > entry.size() * static_cast<std::size_t>(entries)
            ? size - entry.size() * static_cast<std::size_t>(entries) : 0;
    // Header, entries each followed by a share of filler, footer.
    const std::size_t share = filler_total / static_cast<std::size_t>(entries + 2);
    std::string page = "<html><head><title>\xB2\xFA\xC6\xB7\xCB\xD1\xCB\xF7</title></head><body>\n";
    int block = 0;
    auto add_filler = [&](std::size_t amount) {
        const std::size_t target = page.size() + amount;
        while (page.size() < target) page += filler_block(block++);
    };
    add_filler(share * 2);
    for (int i = 0; i < entries; ++i) {
        page += entry;
        add_filler(share);
    }
    page += "</body></html>\n";
    return page;
}

std::string hostile_page(std::size_t size) {
    std::string page;
    page.reserve(size + hostile_unit.size());
    while (page.size() < size) page += hostile_unit;
    return page;
}

}  // namespace pricelookup::test
