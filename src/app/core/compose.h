// Message composition: every text inserted into a message is cut at 80
// characters, numbers follow after one blank.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace kvqt {

inline constexpr std::size_t kInsertedTextLimit = 80;

std::string compose2(std::string_view text, std::string_view text2);                        // "%.80s %.80s"
std::string compose3(std::string_view text, std::string_view text2, std::string_view text3);  // "%.80s %.80s %.80s"
std::string composeInt(std::string_view text, long n);                                       // "%.80s %d" / "%.80s %ld"
// printf into at most 1023 characters.
std::string composeFormatV(const char* format, std::va_list args);
std::string composeFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvqt
