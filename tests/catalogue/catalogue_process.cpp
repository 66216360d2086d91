#include "tests/catalogue/catalogue_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pricelookup::test {
namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

}  // namespace

CatalogueProcess::CatalogueProcess(std::vector<std::string> arguments) {
    char stderr_template[] = "/tmp/catalogue-stderr-XXXXXX";
    const int stderr_fd = ::mkstemp(stderr_template);
    if (stderr_fd < 0) throw std::runtime_error("mkstemp failed");
    m_stderr_path = stderr_template;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

    std::vector<std::string> argv_text = {CATALOGUE_PROGRAM};
    argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid < 0) throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(stderr_fd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(stderr_fd);
    m_stdout = out[0];

    // The ready line, or the end of standard output when the catalogue gives up.
    const std::string prefix = "listening on ";
    char c = 0;
    while (::read(m_stdout, &c, 1) == 1) {
        m_stdout_text.push_back(c);
        if (c == '\n') break;
    }
    if (m_stdout_text.starts_with(prefix) && m_stdout_text.ends_with('\n')) {
        const std::size_t colon = m_stdout_text.rfind(':');
        m_port = std::atoi(m_stdout_text.c_str() + colon + 1);
    }
}

CatalogueProcess::~CatalogueProcess() {
    if (!m_exit) stop(SIGKILL);
    ::close(m_stdout);
    ::unlink(m_stderr_path.c_str());
}

Exit CatalogueProcess::stop(int signal) {
    if (!m_exit) ::kill(m_pid, signal);
    return wait();
}

Exit CatalogueProcess::wait() {
    if (m_exit) return *m_exit;
    char buffer[4096];
    for (ssize_t n; (n = ::read(m_stdout, buffer, sizeof buffer)) > 0;) {
        m_stdout_text.append(buffer, static_cast<std::size_t>(n));
    }
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    Exit exit;
    if (WIFEXITED(status)) exit.code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) exit.signal = WTERMSIG(status);
    exit.stdout_text = m_stdout_text;
    exit.stderr_text = stderr_text();
    m_exit = exit;
    return exit;
}

std::string CatalogueProcess::stderr_text() const {
    return read_file(m_stderr_path);
}

Exit run_catalogue(std::vector<std::string> arguments) {
    CatalogueProcess process(std::move(arguments));
    if (process.ready()) return process.stop(SIGTERM);
    return process.wait();
}

}  // namespace pricelookup::test
