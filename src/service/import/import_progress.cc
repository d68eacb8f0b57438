#include "service/import/import_progress.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/core/action_info.h"
#include "service/import/import_state.h"

namespace kvqt {

int PercentOf(long long done, long long size) {
  if (size <= 0 || done >= size) return 100;
  if (done <= 0) return 0;
  return static_cast<int>(done * 100 / size);
}

std::optional<int> ImportPercent(const ActionInfo& action) {
  const ResultImportState* state = action.importState.get();
  if (state == nullptr || state->result == nullptr) return std::nullopt;
  struct stat info;
  if (::fstat(::fileno(state->result), &info) != 0) return std::nullopt;
  // The reader takes the file in large pieces: what it holds unread does not count.
  long long read = ::ftello(state->result);
  if (read < 0) return std::nullopt;
  if (state->reader) read -= static_cast<long long>(state->reader->unread());
  return PercentOf(read, static_cast<long long>(info.st_size));
}

}  // namespace kvqt
