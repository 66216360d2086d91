#include "ui/event_table.h"

#include <algorithm>
#include <exception>
#include <new>

#include "app/failed_allocation.h"
#include "app/fatal_error_message.h"
#include "app/lifecycle_handlers.h"
#include "app/program_end.h"
#include "search/paging.h"
#include "search/search_command.h"
#include "view/clock_handler.h"
#include "view/item_activation.h"

namespace pricelookup::ui {
namespace {

search::SearchContext search_context(HandlerContext& c) {
    return {c.controls, c.search_state, c.page_source, c.query_prefix};
}

constexpr EventBinding bindings[] = {
    {Event::window_created, [](HandlerContext& c) { app::created_handler(c.controls); }},
    {Event::window_can_be_closed, [](HandlerContext& c) { app::can_be_closed_handler(c.shell); }},
    {Event::window_size_changed, [](HandlerContext&) { app::size_changed_handler(); }},
    {Event::search_button_clicked,
     [](HandlerContext& c) { search::search_command(search_context(c)); }},
    {Event::keyword_changed, [](HandlerContext& c) { search::keyword_change_handler(c.controls); }},
    {Event::auto_search_tick,
     [](HandlerContext& c) { search::auto_search_tick(search_context(c)); }},
    {Event::clock_tick, [](HandlerContext& c) { view::clock_handler(c.controls); }},
    {Event::previous_page_selected,
     [](HandlerContext& c) { search::previous_page_command(search_context(c)); }},
    {Event::next_page_selected,
     [](HandlerContext& c) { search::next_page_command(search_context(c)); }},
    {Event::first_page_selected,
     [](HandlerContext& c) { search::first_page_command(search_context(c)); }},
    {Event::refresh_selected, [](HandlerContext& c) { app::refresh_command(c.shell); }},
    {Event::result_list_clicked, [](HandlerContext& c) { view::item_activation_handler(c.controls); }},
};

}  // namespace

std::span<const EventBinding> event_table() { return bindings; }

EventDispatcher::EventDispatcher(HandlerContext context, const app::EventGate& gate,
                                 std::span<const EventBinding> table)
    : m_context(context), m_gate(gate), m_table(table) {}

void EventDispatcher::raise(Event event) {
    if (m_gate.is_raised()) return;
    const auto binding = std::find_if(m_table.begin(), m_table.end(),
                                      [event](const EventBinding& b) { return b.event == event; });
    if (binding == m_table.end()) return;
    try {
        try {
            binding->handler(m_context);
        } catch (const app::ProgramEnd&) {
            throw;
        } catch (const std::bad_alloc&) {
            m_context.shell.report_fatal_error(
                0, app::allocation_failure_message(app::last_failed_allocation_size()));
        } catch (const std::exception& error) {
            // Nothing may leave a handler into the toolkit's signal code, which would
            // abort the process without a word: any other failure is a fatal error.
            m_context.shell.report_fatal_error(0, error.what());
        } catch (...) {
            m_context.shell.report_fatal_error(0, {});
        }
    } catch (const app::ProgramEnd&) {
        // The handler ended the program; the event loop is already on its way out.
    }
}

}  // namespace pricelookup::ui
