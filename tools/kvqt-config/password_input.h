// Where "kvqt-config user NUMBER" takes the password from when it is not an
// argument (which ps and the shell's history would show): one line of
// standard input, or a prompt at the terminal that does not echo.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace kvqt::config {

// The first line of `in` without its line end; false at the end of input.
bool ReadPasswordLine(std::istream& in, std::string& password);

// Asks on `err` and reads one line from the terminal on standard input with
// echo off, restoring the terminal afterwards; false when standard input is
// no terminal or nothing was read.
bool PromptPassword(const std::string& prompt, std::string& password, std::ostream& err);

// Whether standard input is a terminal to prompt at.
bool InputIsTerminal();

}  // namespace kvqt::config
