#include "view/clock_handler.h"

namespace pricelookup::view {

namespace {
constexpr std::int32_t clock_part = 2;
}

void clock_handler(ui::Controls& controls) {
    show_time(controls, read_local_time());
}

void show_time(ui::Controls& controls, const DateTime& now) {
    controls.set_part_text(clock_part, date_time_text(now));
}

}  // namespace pricelookup::view
