// Runs kvqt-info in the test process and keeps its exit code and output.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "kvqt-info/kvqt_info.h"

namespace kvqt::info {

struct InfoRun {
  int rc = 0;
  std::string out, err;
};

inline InfoRun RunInfo(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  InfoRun run;
  run.rc = RunKvqtInfo(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// The verb followed by its arguments.
inline InfoRun RunInfo(const std::string& verb, std::vector<std::string> args) {
  args.insert(args.begin(), verb);
  return RunInfo(args);
}

}  // namespace kvqt::info
