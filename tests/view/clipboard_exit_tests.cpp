// The product name on the clipboard after the program has ended: the real program
// copies it, ends by its close box, and a second X client reads the clipboard
// afterwards, with and without a clipboard manager running.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ui/gbk_codec.h"

extern char** environ;

namespace pricelookup::testing {
namespace {

namespace fs = std::filesystem;

// The output and exit status of a shell command.
struct Run {
    std::string output;
    int status = -1;
};
Run run(const std::string& command) {
    Run result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    result.status = ::pclose(pipe);
    return result;
}

// The clipboard as another X client reads it, as UTF-8 text; nothing when no client
// owns the clipboard any more.
std::optional<std::string> clipboard_text() {
    const Run read = run("xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null");
    if (read.status != 0) return std::nullopt;
    return read.output;
}

// The program, run to its end with `name` (GBK) as the clicked row's product name.
int run_program_copying(const std::string& name) {
    ::setenv("PRICELOOKUP_CLIPBOARD_NAME", name.c_str(), 1);
    const int status = std::system(CLIPBOARD_DRIVER " >/dev/null 2>&1");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The test clipboard manager, from its start until the end of the scope.
class ClipboardKeeper {
  public:
    explicit ClipboardKeeper(const fs::path& report) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string program = CLIPBOARD_KEEPER;
        std::string report_path = report.string();
        char* argv[] = {program.data(), report_path.data(), nullptr};
        if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        char ready[6] = {};
        m_ready = ::read(out[0], ready, 5) == 5 && std::string(ready) == "ready";
        ::close(out[0]);
    }
    ~ClipboardKeeper() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    bool ready() const { return m_ready; }

  private:
    pid_t m_pid = -1;
    bool m_ready = false;
};

std::vector<std::string> lines_of(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class ClipboardAfterExit : public ::testing::Test {
  protected:
    fs::path report =
        fs::temp_directory_path() / ("pricelookup-keeper-" + std::to_string(::getpid()));
    void TearDown() override { fs::remove(report); }
};

TEST_F(ClipboardAfterExit, AClipboardManagerKeepsExactlyTheNameAfterTheProgramHasEnded) {
    for (const std::string name : {"索尼 α7 IV 微单相机 <b>&amp;</b>", ""}) {
        const ClipboardKeeper keeper(report);
        ASSERT_TRUE(keeper.ready());
        ASSERT_EQ(run_program_copying(name), 0) << "the program ended by its close box";
        const std::optional<std::string> text = clipboard_text();
        ASSERT_TRUE(text.has_value()) << "the manager took the clipboard over";
        EXPECT_EQ(*text, ui::utf8_from_gbk(name));

        // The program offered text and nothing but text.
        const std::vector<std::string> lines = lines_of(report);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "saved " + std::to_string(ui::utf8_from_gbk(name).size()));
        bool offers_utf8 = false;
        for (const std::string& line : lines) {
            if (line.rfind("target ", 0) != 0) continue;
            const std::string target = line.substr(7);
            offers_utf8 = offers_utf8 || target == "UTF8_STRING";
            EXPECT_EQ(target.find("html"), std::string::npos) << target;
            EXPECT_EQ(target.find("image"), std::string::npos) << target;
            EXPECT_EQ(target.find("uri"), std::string::npos) << target;
        }
        EXPECT_TRUE(offers_utf8);
    }
}

TEST_F(ClipboardAfterExit, WithoutAClipboardManagerTheNameGoesWithTheProgram) {
    ASSERT_EQ(run_program_copying("索尼 α7"), 0);
    EXPECT_EQ(clipboard_text(), std::nullopt) << "an X clipboard lives in its owner";
}

}  // namespace
}  // namespace pricelookup::testing
