// An https fetch of a real TLS server on 127.0.0.1 (openssl s_server) whose
// self-signed certificate, made for this run, no trust store holds: the server's
// certificate is verified, so not one byte of its page comes back.

#include <curl/curl.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/page_fetch.h"
#include "tests/search/support/loopback_server.h"

namespace pricelookup::search {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::string_view page_body = "<html>served over TLS</html>";

std::optional<fs::path> find_program(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "/usr/bin:/bin";
    for (;;) {
        const std::size_t colon = rest.find(':');
        const fs::path dir(rest.substr(0, colon));
        if (!dir.empty() && ::access((dir / name).c_str(), X_OK) == 0) return dir / name;
        if (colon == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}

// Starts `program` with `args` in `dir`, its standard input and error on /dev/null
// and its standard output on `output_fd` (or /dev/null when it is -1). The pid, or -1.
pid_t spawn(const fs::path& program, const std::vector<std::string>& args, const fs::path& dir,
            int output_fd) {
    std::vector<std::string> storage{program.string()};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the parent has threads.
        const int null_fd = ::open("/dev/null", O_RDWR);
        if (null_fd < 0 || ::chdir(dir.c_str()) != 0) ::_exit(127);
        ::dup2(null_fd, STDIN_FILENO);
        ::dup2(output_fd >= 0 ? output_fd : null_fd, STDOUT_FILENO);
        ::dup2(null_fd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// The exit code of a program run to its end, or -1.
int run(const fs::path& program, const std::vector<std::string>& args, const fs::path& dir) {
    const pid_t pid = spawn(program, args, dir, -1);
    if (pid < 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The port of the line "ACCEPT 127.0.0.1:<port>" that s_server prints once it
// listens, read from `fd` for at most `limit`; 0 when it does not come.
int read_accept_port(int fd, std::chrono::milliseconds limit) {
    constexpr std::string_view marker = "ACCEPT 127.0.0.1:";
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string output;
    for (;;) {
        const std::size_t at = output.find(marker);
        if (at != std::string::npos) {
            const std::size_t line_end = output.find('\n', at);
            if (line_end != std::string::npos) {
                return std::atoi(output.c_str() + at + marker.size());
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) return 0;
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[512];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) return 0;  // the server ended before it listened
        output.append(buffer, static_cast<std::size_t>(got));
    }
}

std::size_t collect(char* data, std::size_t size, std::size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

class HttpsVerification : public testing::Test {
protected:
    void SetUp() override {
        test::clear_proxy_environment();
        const std::optional<fs::path> openssl = find_program("openssl");
        if (!openssl) GTEST_SKIP() << "the openssl program is not installed";

        std::string dir_template = (fs::temp_directory_path() / "pricelookup-tls-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir_template.data()), nullptr);
        m_dir = dir_template;
        ASSERT_EQ(run(*openssl,
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                       "-nodes", "-keyout", "key.pem", "-out", "cert.pem", "-days", "2", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"},
                      m_dir),
                  0)
            << "openssl req could not make a certificate";
        std::ofstream(m_dir / "page.html", std::ios::binary) << page_body;

        // The certificate names 127.0.0.1, so trust is all it lacks.
        int output[2];
        ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
        m_server = spawn(*openssl,
                         {"s_server", "-accept", "127.0.0.1:0", "-cert", "cert.pem", "-key",
                          "key.pem", "-WWW"},
                         m_dir, output[1]);
        ::close(output[1]);
        m_output = output[0];
        ASSERT_GT(m_server, 0);
        // Bounded: a busy machine starts it in well under a second.
        m_port = read_accept_port(m_output, 10s);
        ASSERT_GT(m_port, 0) << "openssl s_server did not start listening";
    }

    void TearDown() override {
        if (m_server > 0) {
            ::kill(m_server, SIGTERM);
            ::waitpid(m_server, nullptr, 0);
        }
        if (m_output >= 0) ::close(m_output);
        if (!m_dir.empty()) {
            std::error_code ignored;
            fs::remove_all(m_dir, ignored);
        }
    }

    std::string page_url() const {
        return "https://127.0.0.1:" + std::to_string(m_port) + "/page.html";
    }

    // The page as a client that trusts the server's certificate gets it.
    std::string fetch_trusting_the_certificate() const {
        const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(),
                                                                         &curl_easy_cleanup);
        if (!easy) return {};
        std::string body;
        const std::string url = page_url();
        const std::string ca = (m_dir / "cert.pem").string();
        curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy.get(), CURLOPT_CAINFO, ca.c_str());
        curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT_MS, 10'000L);
        curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &collect);
        curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
        curl_easy_perform(easy.get());
        return body;
    }

    fs::path m_dir;
    pid_t m_server = -1;
    int m_output = -1;
    int m_port = 0;
};

TEST_F(HttpsVerification, UntrustedCertificateGivesNoBytes) {
    // The server does serve the page over TLS to a client that trusts it...
    ASSERT_EQ(fetch_trusting_the_certificate(), page_body);
    // ...and the page fetch, which trusts only the system's authorities, gets nothing.
    FetchLimits limits;
    limits.total_timeout = 10s;
    EXPECT_EQ(http_read(page_url(), limits), "");
}

}  // namespace
}  // namespace pricelookup::search
