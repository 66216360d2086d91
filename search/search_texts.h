#pragma once

// The texts the search writes into the status bar and its one message box (GBK).

#include <string_view>

namespace pricelookup::search::texts {

// Status part 0 while a new search fetches its first page.
inline constexpr std::string_view searching = "请稍后，正在搜索相关数据... ...";
// Status part 0 after a load that found no entry (or got no page at all).
inline constexpr std::string_view nothing_found = "没搜到资源！是否已连网?";
// Status part 0 after each row: count_before + number of entries + count_after.
inline constexpr std::string_view count_before = "当前页共搜到";
inline constexpr std::string_view count_after = "条结果";
// Status part 1: page_before + page number + page_after.
inline constexpr std::string_view page_before = "第";
inline constexpr std::string_view page_after = "页";
// The box of the previous-page command on page 1.
inline constexpr std::string_view on_first_page = "已经是最后一页";

}  // namespace pricelookup::search::texts
