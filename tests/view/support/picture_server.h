#pragma once

// An HTTP server on 127.0.0.1 (ephemeral port) for the window tests: it answers every
// GET with one fixed response, on as many connections at once as a web engine opens,
// after an optional delay, and records the request target of each request.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pricelookup::testing {

class PictureServer {
  public:
    // `content_type` and `body` make the response; it is never cached by the client.
    PictureServer(std::string content_type, std::string body,
                  std::chrono::milliseconds delay = std::chrono::milliseconds{0});
    ~PictureServer();
    PictureServer(const PictureServer&) = delete;
    PictureServer& operator=(const PictureServer&) = delete;

    std::string url(std::string_view target) const;

    // The request targets received so far, in order ("/pic/2.png").
    std::vector<std::string> targets() const;
    // How many requests asked for `target`.
    int count(std::string_view target) const;
    // Waits at most `timeout` until `target` was asked for `times` times.
    bool wait_for(std::string_view target, int times, std::chrono::milliseconds timeout) const;

  private:
    void accept_loop();
    void serve(int connection);

    std::string m_response;
    std::chrono::milliseconds m_delay;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::uint16_t m_port = 0;
    bool m_stopping = false;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_targets;
    std::vector<std::thread> m_connections;
    std::thread m_acceptor;
};

}  // namespace pricelookup::testing
