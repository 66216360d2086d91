#include "catalogue/page_markup.h"

#include <array>

#include "catalogue/percent_encoding.h"

namespace pricelookup::catalogue {
namespace {

bool is_lead_byte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

bool is_trail_byte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// The categories the navigation bar links to, as searches.
constexpr std::array<std::string_view, 10> categories = {
    "电视", "冰箱", "洗衣机", "空调", "手机", "笔记本", "相机", "显示器", "平板", "耳机"};

}  // namespace

std::string html_text(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (is_lead_byte(b)) {
            if (i + 1 < gbk.size() && is_trail_byte(static_cast<unsigned char>(gbk[i + 1]))) {
                out.append(gbk.substr(i, 2));
                ++i;
            } else {
                out.push_back('?');
            }
            continue;
        }
        switch (b) {
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
            case '\'':
                out += "&#39;";
                break;
            default:
                out.push_back(b < 0x20 || b >= 0x7F ? '?' : gbk[i]);
                break;
        }
    }
    return out;
}

std::string query_component(std::string_view bytes) {
    return percent_encode(bytes, [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == '_' || c == '~';
    });
}

std::string search_link(std::string_view keyword, long long page) {
    return "/index.php?c=SearchList&amp;keyword=" + query_component(keyword) +
           "&amp;page=" + std::to_string(page);
}

std::string page_top(std::string_view title_gbk) {
    std::string out;
    out += "<!DOCTYPE html>";
    out += crlf;
    out += "<html lang=\"zh-CN\">";
    out += crlf;
    out += "<head>";
    out += crlf;
    out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">";
    out += crlf;
    out += "<title>";
    out += title_gbk;
    out += " - 样品电器报价库</title>";
    out += crlf;
    out +=
        "<style>body{font:14px sans-serif;margin:0 auto;max-width:960px}"
        ".item{border-bottom:1px solid #ddd;padding:8px 0}.price b{color:#c00}"
        ".nav a{margin-right:12px}</style>";
    out += crlf;
    out += "</head>";
    out += crlf;
    out += "<body>";
    out += crlf;
    out +=
        "<div class=\"header\"><a href=\"/index.php\">样品电器报价库</a> 电器市场行情 "
        "每日更新</div>";
    out += crlf;
    out += "<div class=\"nav\"><a href=\"/index.php\">首页</a>";
    for (const std::string_view category : categories) {
        out += "<a href=\"" + search_link(category, 1) + "\">";
        out += category;
        out += "</a>";
    }
    out += "</div>";
    out += crlf;
    out +=
        "<form class=\"search\" action=\"/index.php\" method=\"get\">"
        "<input type=\"hidden\" name=\"c\" value=\"SearchList\">"
        "<input type=\"text\" name=\"keyword\" value=\"\">"
        "<input type=\"hidden\" name=\"page\" value=\"1\">"
        "<input type=\"submit\" value=\"搜索\"></form>";
    out += crlf;
    return out;
}

std::string page_bottom() {
    std::string out;
    out += "<div class=\"footer\">报价仅供参考，以商家实际售价为准。样品电器报价库 版权所有</div>";
    out += crlf;
    out += "</body>";
    out += crlf;
    out += "</html>";
    out += crlf;
    return out;
}

}  // namespace pricelookup::catalogue
