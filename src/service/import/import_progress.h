// How far a running result import has read its result file, for the progress
// bar of the window it runs in.
#pragma once

#include <optional>

namespace kvqt {

struct ActionInfo;

// The share of the result file read so far, 0 to 100; none when the action
// has no import reading a file (before it opened the file, after it closed it).
std::optional<int> ImportPercent(const ActionInfo& action);

// `done` bytes of `size` as a whole percentage, rounded down and kept within 0 to 100.
int PercentOf(long long done, long long size);

}  // namespace kvqt
