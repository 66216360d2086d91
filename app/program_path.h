#pragma once

// Where the running program file lives: its directory becomes the working directory
// at start, and the refresh command joins the two parts again to start a new
// instance of the same file.

#include <string>
#include <string_view>

namespace pricelookup::app {

struct ProgramPath {
    std::string directory;  // without a trailing separator; "" for the root directory
    std::string file_name;
};

// Splits at the last "/".
//   "/opt/价格 查询/pricelookup" → {"/opt/价格 查询", "pricelookup"}
//   "/pricelookup" → {"", "pricelookup"};   "pricelookup" → {"", "pricelookup"}
ProgramPath split_program_path(std::string_view full_path);

// The directory and the file name joined by one "/".
//   {"/opt/app", "pricelookup"} → "/opt/app/pricelookup";  {"", "pricelookup"} → "/pricelookup"
std::string join_program_path(std::string_view directory, std::string_view file_name);

// The full path of the running program file, as the kernel knows it.
std::string running_program_path();

// Makes `directory` the working directory. The empty directory is the root: a program
// file directly in "/" has "" as its directory, and the root is where it lives.
bool set_working_directory(const std::string& directory);

}  // namespace pricelookup::app
