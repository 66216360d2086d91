#include <gtest/gtest.h>

#include <QUrl>
#include <string>

#include "ui/preview_address.h"
#include "ui/preview_pane.h"

namespace pricelookup::ui {
namespace {

struct Case {
    std::string address;
    bool previewable;
};

const Case cases[] = {
    // Picture links as catalogue pages give them.
    {"http://img.example.com/pic/12345.jpg", true},
    {"https://img.example.com/a.png", true},
    {"HTTP://IMG.EXAMPLE.COM/A.JPG", true},
    {"HtTpS://img.example.com/a.png", true},
    {"http://127.0.0.1:8080/p?id=1&size=2#top", true},
    {"http://user:pw@img.example.com/a.jpg", true},
    {"http://[::1]:8080/a.jpg", true},
    {"http://img.example.com", true},
    {"http://img.example.com/图片 1.jpg", true},  // GBK bytes and a space in the path
    // Nothing, or no absolute address.
    {"", false},
    {"/pic/1.jpg", false},
    {"pic/1.jpg", false},
    {"//img.example.com/a.jpg", false},
    {"img.example.com/a.jpg", false},
    {" http://img.example.com/a.jpg", false},
    // Malformed: no host, or a host the check cannot be sure of.
    {"http://", false},
    {"http:///a.jpg", false},
    {"http:/img.example.com/a.jpg", false},
    {"http:img.example.com/a.jpg", false},
    {"http://:8080/a.jpg", false},
    {"http://user@/a.jpg", false},
    {"http://[::1/a.jpg", false},
    {"http://[]/a.jpg", false},
    {"http://[::1]x/a.jpg", false},
    {"http:\\\\img.example.com\\a.jpg", false},
    {"http://img.example.com\\@evil.test/a.jpg", false},
    {"http://img exa.com/a.jpg", false},
    {"http://img.example.com/a\n.jpg", false},
    {"http://img.exa\tmple.com/", false},
    {std::string("http://img.example.com/a.jpg\0.html", 35), false},
    // Schemes a page must not make the pane open.
    {"file:///etc/passwd", false},
    {"FILE:///etc/passwd", false},
    {"javascript:alert(document.cookie)", false},
    {"JavaScript:alert(1)//http://x", false},
    {"data:text/html,<script>alert(1)</script>", false},
    {"view-source:http://img.example.com/", false},
    {"ftp://img.example.com/a.jpg", false},
    {"chrome://settings", false},
    {"about:blank", false},
    {"httpx://img.example.com/a.jpg", false},
    {"http+unix://img/a.jpg", false},
};

TEST(PreviewAddress, OnlyAbsoluteWebAddressesWithAHostArePreviewed) {
    for (const Case& c : cases) {
        EXPECT_EQ(is_previewable_address(c.address), c.previewable) << c.address;
    }
}

TEST(PreviewAddress, ThePaneLoadsTheAddressItselfOrABlankPage) {
    const QUrl blank(QStringLiteral("about:blank"));
    for (const Case& c : cases) {
        const QUrl url = PreviewPane::url_to_load(c.address);
        if (!c.previewable) {
            EXPECT_EQ(url, blank) << c.address;
            continue;
        }
        EXPECT_TRUE(url.isValid()) << c.address;
        EXPECT_TRUE(url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
            << c.address;
        EXPECT_FALSE(url.host().isEmpty()) << c.address;
    }
    EXPECT_EQ(PreviewPane::url_to_load("http://127.0.0.1:8080/p?id=1").toString(),
              QStringLiteral("http://127.0.0.1:8080/p?id=1"));
}

}  // namespace
}  // namespace pricelookup::ui
