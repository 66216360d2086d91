// pricelookup-catalogue: the sample product catalogue, an HTTP server with result
// pages of made-up electronic products.
//   pricelookup-catalogue --listen 127.0.0.1:0   -> "listening on 127.0.0.1:41234"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>

#include "catalogue/catalogue_server.h"
#include "catalogue/embedded_products.h"
#include "catalogue/listen_address.h"
#include "catalogue/product_file.h"
#include "search/catalogue_host.h"

namespace {

namespace catalogue = pricelookup::catalogue;

void print_usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: pricelookup-catalogue [--listen HOST:PORT] [--data FILE]\n"
                 "  --listen HOST:PORT  where to listen (port 0 picks a free port); default %s\n"
                 "  --data FILE         products to serve (UTF-8, tab-separated); default the "
                 "built-in list\n",
                 std::string(pricelookup::search::catalogue_host).c_str());
}

struct Options {
    std::string listen{pricelookup::search::catalogue_host};
    std::string data_file;  // empty: the built-in product file
};

// Gives the exit code to end with when the command line does not start the server.
std::optional<int> parse_options(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            print_usage(stdout);
            return 0;
        }
        if ((arg == "--listen" || arg == "--data") && i + 1 < argc) {
            (arg == "--listen" ? options.listen : options.data_file) = argv[++i];
            continue;
        }
        std::fprintf(stderr, "pricelookup-catalogue: unknown or incomplete option '%s'\n", argv[i]);
        print_usage(stderr);
        return 2;
    }
    return std::nullopt;
}

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(text).str();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto code = parse_options(argc, argv, options)) return *code;

    const auto address = catalogue::parse_listen_address(options.listen);
    if (!address) {
        std::fprintf(stderr, "pricelookup-catalogue: '%s' is not HOST:PORT\n",
                     options.listen.c_str());
        return 2;
    }

    catalogue::ProductFile file;
    if (options.data_file.empty()) {
        file = catalogue::parse_product_file(catalogue::embedded_product_file(),
                                             catalogue::embedded_product_file_name);
    } else {
        const auto text = read_file(options.data_file);
        if (!text) {
            std::fprintf(stderr, "pricelookup-catalogue: %s: cannot read: %s\n",
                         options.data_file.c_str(), std::strerror(errno));
            return 1;
        }
        file = catalogue::parse_product_file(*text, options.data_file);
    }
    if (!file.error.empty()) {
        std::fprintf(stderr, "pricelookup-catalogue: %s\n", file.error.c_str());
        return 1;
    }

    // SIGINT and SIGTERM are taken by this thread alone, with sigwait below: every
    // thread the server starts inherits the blocked mask. SIGUSR1 tells it that the
    // server ended by itself. A client that goes away mid-reply must not end the
    // process.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    std::mutex log_mutex;
    const std::size_t product_count = file.products.size();
    catalogue::CatalogueServer server(std::move(file.products),
                                      [&log_mutex](const std::string& line) {
                                          const std::lock_guard lock(log_mutex);
                                          std::fprintf(stderr, "%s\n", line.c_str());
                                          std::fflush(stderr);
                                      });
    const auto port = server.bind(*address);
    if (!port) {
        std::fprintf(stderr, "pricelookup-catalogue: cannot listen on %s\n",
                     catalogue::listen_address_text(*address).c_str());
        return 1;
    }
    const std::string where = catalogue::listen_address_text({address->host, *port});
    std::fprintf(stderr, "pricelookup-catalogue: %zu products\n", product_count);
    server.start([] { kill(getpid(), SIGUSR1); });
    std::printf("listening on %s\n", where.c_str());
    std::fflush(stdout);
    int signal_number = 0;
    sigwait(&signals, &signal_number);
    const bool asked_to_stop = signal_number != SIGUSR1;
    server.stop();
    if (!asked_to_stop) {
        std::fprintf(stderr, "pricelookup-catalogue: serving on %s ended unexpectedly\n",
                     where.c_str());
        return 1;
    }
    std::fprintf(stderr, "pricelookup-catalogue: stopped by %s\n",
                 signal_number == SIGINT ? "SIGINT" : "SIGTERM");
    return 0;
}
