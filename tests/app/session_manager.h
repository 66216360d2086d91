#pragma once

// A desktop session manager for one client, speaking the X session management
// protocol over ICE with libSM, as a desktop's session manager does. The test drives
// it: it asks the client to save itself (a checkpoint, or before the session ends)
// and then tells it to die.

#include <chrono>
#include <string>

namespace pricelookup::testing {

class SessionManager {
public:
    SessionManager();
    ~SessionManager();
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    // What a client needs in SESSION_MANAGER to find this manager.
    const std::string& address() const { return m_address; }

    // Waits until a client has connected and registered.
    bool wait_for_client(std::chrono::milliseconds limit);

    // Asks the client to save its state, with shutdown false for a checkpoint and
    // true when the session is about to end; waits until it says it is done.
    bool save_yourself(bool shutdown, std::chrono::milliseconds limit);

    // Tells the client to end: the session is over.
    void die();

    // Whether the client has closed its connection.
    bool client_gone() const { return m_client_gone; }

    // Handles what arrives for at most `limit`.
    void process(std::chrono::milliseconds limit);

    // libSM's callbacks reach the manager through these.
    void on_registered() { m_registered = true; }
    void on_save_done() { m_save_done = true; }
    void on_closed() {
        m_client_gone = true;
        m_client = nullptr;
        m_ice_connection = nullptr;
    }
    void set_client(void* connection) { m_client = connection; }

private:
    bool process_until(const bool& flag, std::chrono::milliseconds limit);

    std::string m_address;
    int m_listener_count = 0;
    void** m_listeners = nullptr;
    void* m_ice_connection = nullptr;
    void* m_client = nullptr;
    bool m_registered = false;
    bool m_save_done = false;
    bool m_client_gone = false;
};

}  // namespace pricelookup::testing
