// A minimal clipboard manager for the tests: a second X client that owns the
// CLIPBOARD_MANAGER selection, as the clipboard managers of desktops do. When a
// program that owns the clipboard ends, its toolkit asks the manager to SAVE_TARGETS;
// the keeper then takes the text (UTF8_STRING) over, becomes the clipboard's owner
// and serves it to any reader after the program has gone.
//   clipboard_keeper REPORT  -> prints "ready" once it manages the clipboard; writes
//   the targets the program offered, one per line, and then "saved" into REPORT.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Free {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, Free>;

xcb_connection_t* connection = nullptr;

xcb_atom_t atom(const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string atom_name(xcb_atom_t a) {
    const Reply<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, a), nullptr));
    if (!reply) return "?";
    return {xcb_get_atom_name_name(reply.get()),
            static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get()))};
}

std::string take_property(xcb_window_t window, xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
        nullptr));
    if (!reply) return {};
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    // The length is in bytes already, whatever the format.
    return {bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

void notify(const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::ofstream report(argv[1]);
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);

    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER");
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t save_targets = atom("SAVE_TARGETS");
    const xcb_atom_t targets = atom("TARGETS");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    const xcb_atom_t kept = atom("KEEPER_DATA");
    xcb_set_selection_owner(connection, window, manager, XCB_CURRENT_TIME);
    xcb_flush(connection);
    std::printf("ready\n");
    std::fflush(stdout);

    xcb_selection_request_event_t save_request{};
    std::string text;
    enum { idle, want_targets, want_text, keeping } state = idle;
    while (xcb_generic_event_t* raw = xcb_wait_for_event(connection)) {
        const Reply<xcb_generic_event_t> event(raw);
        const auto type = static_cast<std::uint8_t>(event->response_type & 0x7F);
        if (type == XCB_SELECTION_REQUEST) {
            const auto& request =
                *reinterpret_cast<const xcb_selection_request_event_t*>(event.get());
            if (request.selection == manager && request.target == save_targets && state == idle) {
                save_request = request;
                xcb_convert_selection(connection, window, clipboard, targets, kept, request.time);
                xcb_flush(connection);
                state = want_targets;
            } else if (request.selection == clipboard && state == keeping) {
                const xcb_atom_t property = request.property != xcb_atom_t{XCB_ATOM_NONE}
                                                ? request.property
                                                : request.target;
                if (request.target == targets) {
                    const xcb_atom_t offered[] = {targets, utf8};
                    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                        property, XCB_ATOM_ATOM, 32, 2, offered);
                    notify(request, property);
                } else if (request.target == utf8) {
                    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                        property, utf8, 8, static_cast<std::uint32_t>(text.size()),
                                        text.data());
                    notify(request, property);
                } else {
                    notify(request, XCB_ATOM_NONE);
                }
            } else {
                notify(request, XCB_ATOM_NONE);
            }
        } else if (type == XCB_SELECTION_NOTIFY && state == want_targets) {
            const std::string list = take_property(window, kept);
            std::vector<xcb_atom_t> atoms(list.size() / sizeof(xcb_atom_t));
            std::memcpy(atoms.data(), list.data(), atoms.size() * sizeof(xcb_atom_t));
            for (const xcb_atom_t a : atoms) report << "target " << atom_name(a) << "\n";
            xcb_convert_selection(connection, window, clipboard, utf8, kept, save_request.time);
            xcb_flush(connection);
            state = want_text;
        } else if (type == XCB_SELECTION_NOTIFY && state == want_text) {
            text = take_property(window, kept);
            xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
            // Tells the program its clipboard is saved, so that it may end.
            notify(save_request,
                   save_request.property != XCB_ATOM_NONE ? save_request.property : save_targets);
            report << "saved " << text.size() << "\n" << std::flush;
            state = keeping;
        }
    }
    xcb_disconnect(connection);
    return 0;
}
