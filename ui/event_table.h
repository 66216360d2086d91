#pragma once

// The event table: which handler each event calls, and the dispatcher that calls it.

#include <span>
#include <string_view>

#include "app/event_gate.h"
#include "app/shell.h"
#include "search/page_source.h"
#include "search/search_state.h"
#include "ui/controls.h"
#include "ui/events.h"

namespace pricelookup::ui {

// What the handlers work with.
struct HandlerContext {
    Controls& controls;
    app::Shell& shell;
    // Which page of which search is shown; the program's one, released at exit.
    search::SearchState& search_state;
    // Where the search gets its result pages.
    search::PageSource& page_source;
    // "http://" + catalogue host + "/index.php?c=SearchList&keyword=".
    std::string_view query_prefix;
};

using Handler = void (*)(HandlerContext&);

struct EventBinding {
    Event event;
    Handler handler;
};

// One binding per event; an event without a binding calls nothing.
std::span<const EventBinding> event_table();

// Delivers events to the handlers the table binds them to, unless the event gate is
// raised. A handler that runs out of memory ends the program with a fatal error
// naming the size asked for; one that fails with any other exception ends it with a
// fatal error carrying the exception's text.
class EventDispatcher {
public:
    EventDispatcher(HandlerContext context, const app::EventGate& gate,
                    std::span<const EventBinding> table = event_table());

    void raise(Event event);

private:
    HandlerContext m_context;
    const app::EventGate& m_gate;
    std::span<const EventBinding> m_table;
};

}  // namespace pricelookup::ui
