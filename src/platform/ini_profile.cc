#include "platform/ini_profile.h"

#include <cctype>
#include <climits>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/path.h"
#include "platform/text_file.h"

namespace kvqt::platform {
namespace {

std::string Trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

// "[name]" gives name; anything else is not a section header.
std::optional<std::string> SectionOf(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  auto close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

bool IsKeyLine(const std::string& line, const std::string& key, std::string* value) {
  auto eq = line.find('=');
  if (eq == std::string::npos) return false;
  std::string name = Trim(line.substr(0, eq));
  if (name.empty() || name.front() == ';' || !EqualsNoCase(name, key)) return false;
  if (value) *value = Trim(line.substr(eq + 1));
  return true;
}

std::string Unquote(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool SaveLines(const std::string& file, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + kLineEnd;
  return WriteFileAtomically(file, bytes);
}

}  // namespace

std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key) {
  std::vector<std::string> lines;
  if (!ReadLines(file, lines)) return std::nullopt;
  bool in_section = false;
  for (const auto& line : lines) {
    if (auto name = SectionOf(line)) {
      in_section = EqualsNoCase(*name, section);
      continue;
    }
    std::string value;
    if (in_section && IsKeyLine(line, key, &value)) return Unquote(value);
  }
  return std::nullopt;
}

std::string GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& default_value, std::size_t size) {
  std::string value = ReadProfileValue(file, section, key).value_or(default_value);
  if (size > 0 && value.size() > size - 1) value.resize(size - 1);
  return value;
}

int GetProfileInt(const std::string& file, const std::string& section, const std::string& key, int default_value) {
  auto value = ReadProfileValue(file, section, key);
  if (!value) return default_value;
  const std::string& v = *value;
  std::size_t i = 0;
  bool negative = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  long long n = 0;
  for (; i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])); ++i) {
    n = n * 10 + (v[i] - '0');
    if (n > INT_MAX) n = INT_MAX;
  }
  return negative ? 0 : static_cast<int>(n);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  std::vector<std::string> lines;
  ReadLines(file, lines);  // a missing file starts empty
  const std::string entry = key + "=" + value;
  bool in_section = false;
  std::size_t section_end = lines.size();
  bool section_found = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionOf(lines[i])) {
      if (in_section) {
        section_end = i;
        break;
      }
      in_section = EqualsNoCase(*name, section);
      section_found = section_found || in_section;
      continue;
    }
    if (in_section && IsKeyLine(lines[i], key, nullptr)) {
      lines[i] = entry;
      return SaveLines(file, lines);
    }
  }
  if (section_found) {
    // Insert after the section's last non-blank line.
    std::size_t at = section_end;
    while (at > 0 && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
  } else {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  MakeDirectories(DirectoryPart(file));
  return SaveLines(file, lines);
}

}  // namespace kvqt::platform
