#pragma once

// The clock handler: run on every tick of the clock timer 时钟2.

#include "ui/controls.h"
#include "view/date_time.h"

namespace pricelookup::view {

// Writes the local date and time into status part 2, and nothing else.
//   at 2024-03-05 09:07:05 -> part 2 reads "2024年3月5日9时7分5秒"
void clock_handler(ui::Controls& controls);

// The same with the time given, for a caller that has read it already.
//   {2024, 3, 5, 0, 0, 0} -> part 2 reads "2024年3月5日"
void show_time(ui::Controls& controls, const DateTime& now);

}  // namespace pricelookup::view
