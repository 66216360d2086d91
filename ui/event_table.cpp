#include "ui/event_table.h"

#include <algorithm>
#include <exception>
#include <new>

#include "app/failed_allocation.h"
#include "app/fatal_error_message.h"
#include "app/lifecycle_handlers.h"
#include "app/program_end.h"

namespace pricelookup::ui {
namespace {

// Stands for a handler that a later part of the program provides.
void not_built_yet(HandlerContext&) {}

constexpr EventBinding bindings[] = {
    {Event::window_created, [](HandlerContext& c) { app::created_handler(c.controls); }},
    {Event::window_can_be_closed, [](HandlerContext& c) { app::can_be_closed_handler(c.shell); }},
    {Event::window_size_changed, [](HandlerContext&) { app::size_changed_handler(); }},
    {Event::search_button_clicked, not_built_yet},   // search command
    {Event::keyword_changed, not_built_yet},         // arms the auto-search
    {Event::auto_search_tick, not_built_yet},        // auto-search
    {Event::clock_tick, not_built_yet},              // status bar clock
    {Event::previous_page_selected, not_built_yet},  // previous-page command
    {Event::next_page_selected, not_built_yet},      // next-page command
    {Event::first_page_selected, not_built_yet},     // first-page command
    {Event::refresh_selected, [](HandlerContext& c) { app::refresh_command(c.shell); }},
    {Event::result_list_clicked, not_built_yet},     // item activation
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
