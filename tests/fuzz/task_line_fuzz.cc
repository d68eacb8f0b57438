// Task files are written by hand: no content may crash or hang the line reader
// or the grammar, and what they give back stays within the line's limits.
#include <cstdint>
#include <cstdio>
#include <string>

#include "automation/task_line_parse.h"
#include "automation/wait_steps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.empty()) return 0;
  std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!file) return 0;
  std::string line;
  std::size_t lines = 0;
  while (kvqt::ReadTaskLine(file, line)) {
    // Every line takes at least one byte: more lines than bytes is a loop.
    if (++lines > size) __builtin_trap();
    if (line.size() > kvqt::kTaskLineLimit) __builtin_trap();
    const kvqt::ParsedTaskLine parsed = kvqt::ParseTaskLine(line);
    if (parsed.arguments.size() > kvqt::kTaskLineItems - 1) __builtin_trap();
    for (std::size_t i = 0; i <= parsed.arguments.size(); ++i) {
      std::string text;
      int number = -1;
      if (parsed.arguments.string(i, text) && text.size() + 2 > line.size()) __builtin_trap();
      if (parsed.arguments.number(i, number) && number < 0) __builtin_trap();
      kvqt::CommandWords(parsed.arguments.text(i));
    }
    if (parsed.form == kvqt::TaskLineForm::Command && parsed.words.empty()) __builtin_trap();
    for (const std::string& word : parsed.words) {
      if (word.empty()) __builtin_trap();
      int hour = -1;
      int minute = -1;
      if (kvqt::ParseWaitTime(word, hour, minute) && (hour < 0 || hour > 23 || minute < 0 || minute > 59))
        __builtin_trap();
    }
  }
  std::fclose(file);
  return 0;
}
