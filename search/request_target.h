#pragma once

// Writing an object (path and query) so that every byte of it can stand on an
// HTTP request line.

#include <string>
#include <string_view>

namespace pricelookup::search {

// Writes as %XX (upper-case hex) every byte that may not stand in a request target:
// space, control bytes, 0x7F, bytes of 0x80 and above, and " < > \ ^ ` { | } [ ] #.
// Every other byte stays as it is, "%" included, so nothing is ever decoded or
// escaped twice and the server receives each byte's value unchanged.
//   "/s?k=\xC4\xE3 x" -> "/s?k=%C4%E3%20x"      "/a%41\r\n" -> "/a%41%0D%0A"
std::string escape_request_target(std::string_view object);

}  // namespace pricelookup::search
