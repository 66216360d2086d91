#include "catalogue/result_page.h"

#include "catalogue/keyword_match.h"
#include "catalogue/page_markup.h"

namespace pricelookup::catalogue {
namespace {

std::string pager(std::string_view keyword, std::int64_t page, std::size_t page_count) {
    const auto last = static_cast<std::int64_t>(page_count);
    std::string out = "<div class=\"pager\">";
    if (page > 1 && page - 1 <= last) {
        out += "<a href=\"" + search_link(keyword, page - 1) + "\">上一页</a> ";
    }
    for (std::int64_t n = 1; n <= last; ++n) {
        if (n == page) {
            out += "<span class=\"current\">" + std::to_string(n) + "</span> ";
        } else {
            out += "<a href=\"" + search_link(keyword, n) + "\">" + std::to_string(n) + "</a> ";
        }
    }
    if (page >= 0 && page < last) {
        out += "<a href=\"" + search_link(keyword, page + 1) + "\">下一页</a>";
    }
    out += "</div>";
    out += crlf;
    return out;
}

}  // namespace

std::vector<const Product*> matching_products(const std::vector<Product>& products,
                                              std::string_view keyword) {
    std::vector<const Product*> matches;
    for (const Product& product : products) {
        if (keyword_in(keyword, product.gbk.name) ||
            keyword_in(keyword, product.gbk.specification)) {
            matches.push_back(&product);
        }
    }
    return matches;
}

std::vector<const Product*> page_slice(const std::vector<const Product*>& matches,
                                       std::optional<std::int64_t> page) {
    if (!page || *page < 1) return {};
    // Checked before multiplying, so that a huge page number cannot overflow.
    const auto index = static_cast<std::uint64_t>(*page - 1);
    if (index >= (matches.size() + entries_per_page - 1) / entries_per_page) return {};
    const std::size_t first = static_cast<std::size_t>(index) * entries_per_page;
    const std::size_t end = std::min(first + entries_per_page, matches.size());
    return {matches.begin() + static_cast<std::ptrdiff_t>(first),
            matches.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::string picture_address(std::string_view host, std::string_view id) {
    return "http://" + std::string(host) + "/images/" + std::string(id) + ".svg";
}

std::string entry_markup(const Product& product, std::string_view host) {
    const ProductTexts& t = product.gbk;
    const std::string picture = picture_address(host, product.id);
    std::string out;
    out += "<div class=\"item\">";
    out += crlf;
    out += "<div class=\"name\"><a href=\"" + picture + "\" alt=\"" + t.name + "\" id=\"p" +
           product.id + "\" target=\"_blank\">" + t.name + "</a></div>";
    out += crlf;
    out += "<ul class=\"info\"><li class=\"params\" title=''>" + t.specification +
           "</li><li class=\"quote\">";
    out += "\n";
    out += "<span class=\"price\">" + t.label + "<b class='f20'>" + t.price + "</b></span>";
    out += "\n";
    out += "<span class=\"time\">报价时间：<b class=\"date\">" + t.date + "</b></span></li></ul>";
    out += crlf;
    out += "<div class=\"pic\"><img src=\"" + picture + "\" alt=\"" + t.name +
           "\" width=\"120\" height=\"80\"></div>";
    out += crlf;
    out += "</div>";
    out += crlf;
    return out;
}

std::string result_page(const std::vector<Product>& products, std::string_view keyword,
                        std::optional<std::int64_t> page, std::string_view host) {
    const std::vector<const Product*> matches = matching_products(products, keyword);
    const std::vector<const Product*> shown = page_slice(matches, page);
    const std::size_t page_count = (matches.size() + entries_per_page - 1) / entries_per_page;
    const std::string shown_keyword = html_text(keyword);

    std::string out = page_top("“" + shown_keyword + "”的报价");
    out += "<div class=\"summary\">共找到 <b>" + std::to_string(matches.size()) + "</b> 件与“" +
           shown_keyword + "”相关的产品";
    if (page)
        out += "，第 " + std::to_string(*page) + " 页，共 " + std::to_string(page_count) + " 页";
    out += "</div>";
    out += crlf;
    out += "<div class=\"list\">";
    out += crlf;
    for (const Product* product : shown) out += entry_markup(*product, host);
    if (shown.empty()) {
        out += "<p class=\"empty\">本页没有产品。</p>";
        out += crlf;
    }
    out += "</div>";
    out += crlf;
    out += pager(keyword, page.value_or(0), page_count);
    out += page_bottom();
    return out;
}

}  // namespace pricelookup::catalogue
