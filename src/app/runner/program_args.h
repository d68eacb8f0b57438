// The argument list the program was started with, without the program name;
// set once at start-up and read by the command-line step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

inline constexpr const char* kNoWindowOption = "-nowindow";
// Runs as if there were no display: for scripts started from a desktop session.
inline constexpr const char* kHeadlessOption = "--headless";

void SetProgramArguments(std::vector<std::string> arguments);
const std::vector<std::string>& ProgramArguments();

// Any argument equal to "-nowindow", in any case of letters.
bool HasNoWindowOption(const std::vector<std::string>& arguments);

// The leading "-nowindow" and "--headless" arguments, in any case of letters.
bool IsLeadingOption(std::string_view argument);
std::size_t LeadingOptionCount(const std::vector<std::string>& arguments);
// "--headless" among the leading options.
bool HasHeadlessOption(const std::vector<std::string>& arguments);

// What the first argument after the leading options asks instead of a run.
enum class InfoRequest { kNone, kHelp, kVersion };
InfoRequest FindInfoRequest(const std::vector<std::string>& arguments);

// ASCII upper case: format arguments are looked up by their symbol in upper case.
std::string UpperCase(std::string_view text);

}  // namespace kvqt
