#pragma once

// The catalogue server as a child process, as scripts and the program's tests start
// it: on port 0, its port read from its "listening on HOST:PORT" line, its standard
// error kept in a file.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace pricelookup::test {

struct Exit {
    int code = -1;            // exit status, or -1 when a signal ended it
    int signal = 0;           // the signal that ended it, or 0
    std::string stdout_text;  // what it wrote to standard output (the ready line included)
    std::string stderr_text;
};

class CatalogueProcess {
  public:
    // Starts the catalogue with `arguments` (after the program name) and waits for
    // its ready line. If it ends before that, ready() is false and exit() tells why.
    explicit CatalogueProcess(std::vector<std::string> arguments);
    ~CatalogueProcess();
    CatalogueProcess(const CatalogueProcess&) = delete;
    CatalogueProcess& operator=(const CatalogueProcess&) = delete;

    bool ready() const { return m_port != 0; }
    int port() const { return m_port; }
    std::string host() const { return "127.0.0.1:" + std::to_string(m_port); }
    std::string url(const std::string& object) const { return "http://" + host() + object; }

    // Sends `signal` and waits for the process to end.
    Exit stop(int signal);
    // Waits for the process to end by itself.
    Exit wait();

    // Standard error so far.
    std::string stderr_text() const;

  private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    int m_port = 0;
    std::string m_stdout_text;
    std::string m_stderr_path;
    std::optional<Exit> m_exit;
};

// Starts the catalogue with `arguments` and waits for it to end: for the command
// lines and data files that must stop it at start.
Exit run_catalogue(std::vector<std::string> arguments);

}  // namespace pricelookup::test
