// The argument list the program was started with, without the program name;
// set once at start-up and read by the command-line step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

inline constexpr const char* kNoWindowOption = "-nowindow";

void SetProgramArguments(std::vector<std::string> arguments);
const std::vector<std::string>& ProgramArguments();

// Any argument equal to "-nowindow", in any case of letters.
bool HasNoWindowOption(const std::vector<std::string>& arguments);

// ASCII upper case: format arguments are looked up by their symbol in upper case.
std::string UpperCase(std::string_view text);

}  // namespace kvqt
