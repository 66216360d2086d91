#include "tests/app/session_manager.h"

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace pricelookup::testing {
namespace {

SessionManager* manager_of(SmPointer data) { return static_cast<SessionManager*>(data); }

Status register_client(SmsConn connection, SmPointer data, char* /*previous_id*/) {
    char* id = SmsGenerateClientID(connection);
    SmsRegisterClientReply(connection, id);
    std::free(id);
    manager_of(data)->on_registered();
    return 1;
}
void interact_request(SmsConn connection, SmPointer, int) { SmsInteract(connection); }
void interact_done(SmsConn, SmPointer, Bool) {}
void save_yourself_request(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void save_yourself_phase2_request(SmsConn connection, SmPointer) { SmsSaveYourselfPhase2(connection); }
void save_yourself_done(SmsConn, SmPointer data, Bool) { manager_of(data)->on_save_done(); }
void close_connection(SmsConn connection, SmPointer data, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    manager_of(data)->on_closed();
    IceConn ice = SmsGetIceConnection(connection);
    SmsCleanUp(connection);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
}
void set_properties(SmsConn, SmPointer, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i) SmFreeProperty(properties[i]);
    std::free(properties);
}
void delete_properties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i) std::free(names[i]);
    std::free(names);
}
void get_properties(SmsConn connection, SmPointer) { SmsReturnProperties(connection, 0, nullptr); }

SessionManager* the_manager = nullptr;

Status new_client(SmsConn connection, SmPointer, unsigned long* mask, SmsCallbacks* callbacks,
                  char** /*failure_reason*/) {
    the_manager->set_client(connection);
    const SmPointer data = the_manager;
    callbacks->register_client = {register_client, data};
    callbacks->interact_request = {interact_request, data};
    callbacks->interact_done = {interact_done, data};
    callbacks->save_yourself_request = {save_yourself_request, data};
    callbacks->save_yourself_phase2_request = {save_yourself_phase2_request, data};
    callbacks->save_yourself_done = {save_yourself_done, data};
    callbacks->close_connection = {close_connection, data};
    callbacks->set_properties = {set_properties, data};
    callbacks->delete_properties = {delete_properties, data};
    callbacks->get_properties = {get_properties, data};
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    return 1;
}

// Any local client may connect: the test's own program, on this machine.
Bool any_host(char*) { return True; }

}  // namespace

SessionManager::SessionManager() {
    the_manager = this;
    char error[256] = {};
    if (!SmsInitialize("pricelookup-tests", "1", new_client, this, any_host, sizeof error, error)) {
        throw std::runtime_error(std::string("SmsInitialize: ") + error);
    }
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&m_listener_count, &listeners, sizeof error, error)) {
        throw std::runtime_error(std::string("IceListenForConnections: ") + error);
    }
    m_listeners = reinterpret_cast<void**>(listeners);
    for (int i = 0; i < m_listener_count; ++i) IceSetHostBasedAuthProc(listeners[i], any_host);
    char* ids = IceComposeNetworkIdList(m_listener_count, listeners);
    m_address = ids;
    std::free(ids);
}

SessionManager::~SessionManager() {
    if (m_ice_connection != nullptr && !m_client_gone) {
        IceConn ice = static_cast<IceConn>(m_ice_connection);
        if (m_client != nullptr) SmsCleanUp(static_cast<SmsConn>(m_client));
        IceSetShutdownNegotiation(ice, False);
        IceCloseConnection(ice);
    }
    IceFreeListenObjs(m_listener_count, reinterpret_cast<IceListenObj*>(m_listeners));
    the_manager = nullptr;
}

void SessionManager::process(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto* listeners = reinterpret_cast<IceListenObj*>(m_listeners);
    while (std::chrono::steady_clock::now() < deadline && !m_client_gone) {
        std::vector<pollfd> fds;
        for (int i = 0; i < m_listener_count; ++i) {
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        }
        if (m_ice_connection != nullptr) {
            fds.push_back({IceConnectionNumber(static_cast<IceConn>(m_ice_connection)), POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
        for (int i = 0; i < m_listener_count; ++i) {
            if ((fds[static_cast<std::size_t>(i)].revents & POLLIN) == 0) continue;
            IceAcceptStatus status;
            IceConn ice = IceAcceptConnection(listeners[i], &status);
            if (ice == nullptr) continue;
            // The connection setup is a few messages long.
            while (IceConnectionStatus(ice) == IceConnectPending) {
                if (IceProcessMessages(ice, nullptr, nullptr) == IceProcessMessagesIOError) break;
            }
            if (IceConnectionStatus(ice) == IceConnectAccepted) m_ice_connection = ice;
        }
        if (m_ice_connection != nullptr && fds.size() > static_cast<std::size_t>(m_listener_count) &&
            (fds.back().revents & (POLLIN | POLLHUP)) != 0) {
            if (IceProcessMessages(static_cast<IceConn>(m_ice_connection), nullptr, nullptr) ==
                IceProcessMessagesIOError) {
                m_client_gone = true;
            }
        }
    }
}

bool SessionManager::process_until(const bool& flag, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!flag && !m_client_gone && std::chrono::steady_clock::now() < deadline) {
        process(std::chrono::milliseconds(50));
    }
    return flag;
}

bool SessionManager::wait_for_client(std::chrono::milliseconds limit) {
    return process_until(m_registered, limit);
}

bool SessionManager::save_yourself(bool shutdown, std::chrono::milliseconds limit) {
    if (m_client == nullptr) return false;
    m_save_done = false;
    SmsSaveYourself(static_cast<SmsConn>(m_client), SmSaveBoth, shutdown ? True : False,
                    SmInteractStyleAny, False);
    return process_until(m_save_done, limit);
}

void SessionManager::die() {
    if (m_client == nullptr) return;
    SmsDie(static_cast<SmsConn>(m_client));
    IceFlush(static_cast<IceConn>(m_ice_connection));
}

}  // namespace pricelookup::testing
