#pragma once

// Which picture addresses the preview pane may load. The addresses come from a
// downloaded page, so the pane loads only what a picture link plainly is: an absolute
// http or https address with a host. Everything else would let the page choose a
// local file, a script or an inline document for the pane to open.

#include <string_view>

namespace pricelookup::ui {

// True for an absolute http or https address (scheme in any case) with a non-empty
// host and no control character, space or backslash before the path; false for
// anything else.
//   "http://img.example/a.jpg" -> true      "HTTPS://h:8080/p?x=1" -> true
//   "" / "/a.jpg" / "img/a.jpg" -> false    "file:///etc/passwd" -> false
//   "javascript:alert(1)" -> false          "http:///a.jpg" (no host) -> false
bool is_previewable_address(std::string_view address);

}  // namespace pricelookup::ui
