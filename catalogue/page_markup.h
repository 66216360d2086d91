#pragma once

// Pieces of page markup shared by the catalogue's pages. Texts are GBK.

#include <string>
#include <string_view>

namespace pricelookup::catalogue {

// Line end of the pages: CR LF, as the catalogue's web server sends them.
inline constexpr std::string_view crlf = "\r\n";

// Client-given GBK bytes made safe to stand in HTML text or a quoted attribute:
// & < > " ' become character references, and a control byte or a byte that does
// not start a complete double-byte character becomes "?", so that the page stays
// valid GBK whatever the client sent.
//   "a<b\"" -> "a&lt;b&quot;"      "\xB5\xE7\x01\xB5" -> "\xB5\xE7??"
std::string html_text(std::string_view gbk);

// Bytes written as a query component for a link: letters, digits and - . _ ~ stay,
// every other byte becomes %XX.
//   "\xB5\xE7 a&" -> "%B5%E7%20a%26"
std::string query_component(std::string_view bytes);

// The address of a result page of the catalogue, relative to its root, with the
// "&" written as "&amp;" for use in an attribute.
//   ("\xCA\xD3", 2) -> "/index.php?c=SearchList&amp;keyword=%CA%D3&amp;page=2"
std::string search_link(std::string_view keyword, long long page);

// The page head up to and including <body>, then the site's header and navigation.
std::string page_top(std::string_view title_gbk);

// The footer and the end of the page.
std::string page_bottom();

}  // namespace pricelookup::catalogue
