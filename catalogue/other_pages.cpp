#include "catalogue/other_pages.h"

#include "catalogue/page_markup.h"

namespace pricelookup::catalogue {

std::string home_page(std::size_t product_count) {
    std::string out = page_top("首页");
    out += "<div class=\"intro\">本库收录 <b>" + std::to_string(product_count) +
           "</b> 件电器的市场报价：电视、冰箱、洗衣机、空调、手机、笔记本电脑、相机、显示器等。"
           "输入产品名称即可查询。</div>";
    out += crlf;
    out += page_bottom();
    return out;
}

std::string not_found_page() {
    std::string out = page_top("页面不存在");
    out +=
        "<div class=\"missing\">404：您要找的页面不存在。<a href=\"/index.php\">返回首页</a></div>";
    out += crlf;
    out += page_bottom();
    return out;
}

}  // namespace pricelookup::catalogue
