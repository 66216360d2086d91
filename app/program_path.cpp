#include "app/program_path.h"

#include <unistd.h>

#include <system_error>
#include <vector>

namespace pricelookup::app {

ProgramPath split_program_path(std::string_view full_path) {
    const std::size_t slash = full_path.rfind('/');
    if (slash == std::string_view::npos) return {std::string(), std::string(full_path)};
    return {std::string(full_path.substr(0, slash)), std::string(full_path.substr(slash + 1))};
}

std::string join_program_path(std::string_view directory, std::string_view file_name) {
    std::string path;
    path.reserve(directory.size() + 1 + file_name.size());
    path.append(directory).append("/").append(file_name);
    return path;
}

std::string running_program_path() {
    std::vector<char> buffer(4096);
    while (true) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool set_working_directory(const std::string& directory) {
    return chdir(directory.empty() ? "/" : directory.c_str()) == 0;
}

}  // namespace pricelookup::app
