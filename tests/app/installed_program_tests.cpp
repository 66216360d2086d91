// The program as `cmake --install` leaves it under a prefix of its own: the files a
// desktop needs in their places, the installed program running from there, and "刷新"
// starting the installed file again. The prefix is made once for all cases.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace pricelookup::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string read_file(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> read_lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The value of `key=` in a report line of the driver, up to the next space; the
// working directory comes last and runs to the end of the line.
std::string field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 2;
    if (key == "cwd") return line.substr(start);
    return line.substr(start, line.find(' ', start) - start);
}

// The value of `key=` in the [Desktop Entry] of a desktop file, or "" without it.
std::string desktop_value(const fs::path& file, const std::string& key) {
    for (const std::string& line : read_lines(file)) {
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return {};
}

// The single *.desktop file installed, or an empty path.
fs::path installed_desktop_file(const fs::path& prefix) {
    fs::path found;
    for (const auto& entry : fs::directory_iterator(prefix / "share/applications")) {
        if (entry.path().extension() != ".desktop") continue;
        if (!found.empty()) return {};  // more than one
        found = entry.path();
    }
    return found;
}

int run_command(const std::string& command) { return std::system(command.c_str()); }

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Starts `program` in `directory` with `settings` added to this environment.
pid_t start_in(const fs::path& directory, const fs::path& program, const std::vector<std::string>& settings) {
    std::vector<std::string> env_strings;
    for (char** e = environ; *e != nullptr; ++e) env_strings.emplace_back(*e);
    env_strings.insert(env_strings.end(), settings.begin(), settings.end());
    std::vector<char*> envp;
    for (auto& s : env_strings) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit status of `pid`, or a negative number when it was killed by a signal or
// had to be killed after `limit`.
int wait_for_exit(pid_t pid, std::chrono::seconds limit = 90s) {
    if (pid < 0) return -2000;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1000;
        }
        std::this_thread::sleep_for(20ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3000 - WTERMSIG(status);
}

template <typename Condition>
bool wait_until(Condition condition, std::chrono::seconds limit = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

class InstalledProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_root = fs::temp_directory_path() / ("pricelookup-install-" + std::to_string(getpid()));
        fs::remove_all(s_root);
        fs::create_directories(s_root / "elsewhere");
        // The user's install, then the test driver beside the program, from the same build.
        const std::string install = quoted(CMAKE_COMMAND) + " --install " + quoted(BUILD_DIR) + " --prefix " +
                                    quoted(prefix()) + " > " + quoted(s_root / "install.log") + " 2>&1";
        s_installed = run_command(install) == 0 &&
                      run_command(install + " --component test_driver") == 0;
    }
    static void TearDownTestSuite() { fs::remove_all(s_root); }

    void SetUp() override {
        ASSERT_TRUE(s_installed) << read_file(s_root / "install.log");
        fs::remove(report());
    }

    static fs::path prefix() { return s_root / "prefix"; }
    static fs::path bin() { return prefix() / "bin"; }
    static fs::path elsewhere() { return s_root / "elsewhere"; }
    static fs::path report() { return s_root / "report.txt"; }

private:
    static inline fs::path s_root;
    static inline bool s_installed = false;
};

TEST_F(InstalledProgram, PutsTheProgramAndItsDesktopFilesWhereDesktopsLookForThem) {
    const fs::path desktop = installed_desktop_file(prefix());
    ASSERT_FALSE(desktop.empty()) << "exactly one desktop entry in share/applications";
    const std::string id = desktop.stem().string();
    EXPECT_NE(id.find('.'), std::string::npos) << "a reverse-DNS id: " << id;

    const fs::path program = bin() / desktop_value(desktop, "Exec");
    EXPECT_EQ(desktop_value(desktop, "Exec").find('/'), std::string::npos) << "Exec= is a bare binary name";
    EXPECT_EQ(access(program.c_str(), X_OK), 0) << program;
    EXPECT_EQ(desktop_value(desktop, "Icon"), id);
    EXPECT_EQ(desktop_value(desktop, "Categories"), "Utility;Network;");
    EXPECT_FALSE(desktop_value(desktop, "Name").empty());
    EXPECT_FALSE(desktop_value(desktop, "Name[zh_CN]").empty());

    for (const fs::path& file : {prefix() / "share/icons/hicolor/scalable/apps" / (id + ".svg"),
                                 prefix() / "share/metainfo" / (id + ".metainfo.xml")}) {
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    }
    EXPECT_NE(read_file(prefix() / "share/metainfo" / (id + ".metainfo.xml"))
                  .find("<launchable type=\"desktop-id\">" + desktop.filename().string() + "</launchable>"),
              std::string::npos)
        << "the metainfo launches the installed entry";
}

TEST_F(InstalledProgram, RunsFromItsInstalledPlaceAndEndsWithZeroOnSigterm) {
    if (run_command("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
    const fs::path desktop = installed_desktop_file(prefix());
    ASSERT_FALSE(desktop.empty());
    const fs::path program = bin() / desktop_value(desktop, "Exec");
    // Started as a desktop would start it, from a directory that is not its own.
    const pid_t pid = start_in(elsewhere(), program, {});
    ASSERT_GT(pid, 0);
    const fs::path cwd_link = "/proc/" + std::to_string(pid) + "/cwd";
    const bool window_shown = wait_until([pid] {
        return run_command("xdotool search --onlyvisible --pid " + std::to_string(pid) + " > /dev/null") == 0;
    });
    std::error_code error;
    const fs::path cwd = fs::read_symlink(cwd_link, error);
    if (window_shown) kill(pid, SIGTERM);
    const int status = wait_for_exit(pid, window_shown ? 90s : 1s);
    ASSERT_TRUE(window_shown) << "the installed program showed no window";
    EXPECT_EQ(cwd, bin()) << "its working directory is the install's bin";
    EXPECT_EQ(status, 0);
}

TEST_F(InstalledProgram, RefreshStartsTheInstalledFileAgainWhichKnowsItsDesktopEntry) {
    const fs::path driver = bin() / "program_driver";
    ASSERT_TRUE(fs::exists(driver));
    const pid_t pid = start_in(elsewhere(), driver,
                               {"PRICELOOKUP_DRIVER_ACTION=refresh", "PRICELOOKUP_DRIVER_REPORT=" + report().string()});
    EXPECT_EQ(wait_for_exit(pid), 0);
    ASSERT_TRUE(wait_until([] {
        const auto lines = read_lines(report());
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.rfind("exit ", 0) == 0; }) >= 2;
    })) << "the new instance did not come and go";

    const fs::path desktop = installed_desktop_file(prefix());
    ASSERT_FALSE(desktop.empty());
    std::vector<std::string> started;
    for (const std::string& line : read_lines(report())) {
        if (line.rfind("started ", 0) == 0) started.push_back(line);
    }
    ASSERT_EQ(started.size(), 2U);
    for (const std::string& line : started) {
        SCOPED_TRACE(line);
        EXPECT_EQ(field(line, "exe"), driver.string()) << "both instances run the installed file";
        EXPECT_EQ(field(line, "cwd"), bin().string());
        EXPECT_EQ(field(line, "desktop"), desktop.stem().string()) << "the window names the installed entry";
    }
    EXPECT_NE(field(started[0], "pid"), field(started[1], "pid"));
}

}  // namespace
}  // namespace pricelookup::app
