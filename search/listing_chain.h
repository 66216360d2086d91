#pragma once

// The listing pattern seen as what it is: a chain of literals joined by lazy
// any-byte gaps. A match starting at an opening literal exists exactly when the
// other literals occur after it in order (ASCII case-insensitive), which a few
// substring searches decide in linear time.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pricelookup::search::detail {

// The literal pieces of a pattern made of literals and ".*?" / "(.*?)" gaps.
//   "a(.*?)b.*?c" -> {"a", "b", "c"}
std::vector<std::string> chain_literals(std::string_view gap_pattern);

// The latest offset in text at which the first literal starts and the others
// follow it in order without overlapping, compared ASCII case-insensitively;
// std::string_view::npos when the chain occurs nowhere. Since every later literal
// may take its latest occurrence, any start at or before this offset completes the
// chain and no start after it does.
//   {"a", "b"}, "xAyaBb" -> 3        {"a", "b"}, "bxa" -> npos
std::size_t latest_chain_start(std::string_view text, const std::vector<std::string>& literals);

}  // namespace pricelookup::search::detail
