#pragma once

// A scripted HTTP server on 127.0.0.1 for the fetch tests. It accepts connections
// one after another, records the exact bytes of each request and answers each with
// the exact bytes of its script, so that malformed, cut, stalled or endless
// responses can be produced at will.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pricelookup::test {

// Unsets the proxy variables libcurl reads, so that a proxy configured on the machine
// running the tests cannot divert requests meant for the loopback servers.
void clear_proxy_environment();


struct Reply {
    enum class Ending {
        close,         // send `bytes`, then close the connection
        stall,         // send `bytes`, then keep the connection open and silent
        endless,       // send `bytes`, then filler bytes until the client goes away
        first_packet,  // close after the first bytes of the request, answering nothing
        linger,        // send `bytes`, keep the connection open unread, serve the next one
    };
    std::string bytes;
    Ending ending = Ending::close;
    // endless: the filler stops (and the connection closes) after this many bytes;
    // 0 sends it without end.
    std::size_t filler_bytes = 0;
};

class LoopbackServer {
public:
    // One reply per expected connection, in order; later connections are closed at once.
    explicit LoopbackServer(std::vector<Reply> replies);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t port() const { return m_port; }
    std::string url(std::string_view object = "/") const;

    // The raw bytes of every request received so far, one per connection.
    std::vector<std::string> requests() const;

    // Waits, at most `timeout`, until `count` requests have been recorded, and gives
    // what was recorded by then. A client that gives up (a time-out) can return
    // before the server thread has finished reading its request.
    std::vector<std::string> requests_once(std::size_t count,
                                           std::chrono::milliseconds timeout) const;

private:
    void serve();
    void answer(int connection, const Reply& reply);
    bool wait_readable(int fd, std::chrono::milliseconds timeout) const;

    std::vector<Reply> m_replies;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};  // written to on shutdown, so that waits end at once
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_recorded;
    std::vector<std::string> m_requests;
    std::vector<int> m_lingering;  // connections left open, closed on shutdown
    std::thread m_thread;
};

// A listening socket whose accept queue is full and never drained: connecting to
// it never completes, as with a catalogue host that does not answer at all.
class UnansweredPort {
public:
    UnansweredPort();
    ~UnansweredPort();
    UnansweredPort(const UnansweredPort&) = delete;
    UnansweredPort& operator=(const UnansweredPort&) = delete;

    std::uint16_t port() const { return m_port; }

private:
    int m_listener = -1;
    std::vector<int> m_fillers;
    std::uint16_t m_port = 0;
};

// A plain HTTP response with the given header lines (each without CR LF) and body.
std::string http_response(std::string_view status_line, const std::vector<std::string>& headers,
                          std::string_view body);

}  // namespace pricelookup::test
