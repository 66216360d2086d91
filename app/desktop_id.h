#pragma once

#include <string_view>

namespace pricelookup::app {

// The program's name on the desktop: its desktop entry is "<id>.desktop", its icon and
// its metainfo carry the same id, and the toolkit tells the window system this name so
// that the desktop finds the entry (and its icon) for the program's windows.
inline constexpr std::string_view desktop_id = "net.pricelookup.PriceLookup";

}  // namespace pricelookup::app
