// The import of a download result into the chart databases: the step function
// that reads sksdat.dat (or, for selection kind 8, the action's local data
// file) one line per call and writes each price line into its instrument's
// data file, or, for a file download, hands the fields to the output writer.
#pragma once

namespace kvqt {

class StepRunner;
struct ActionInfo;

// The result's price lines, in the working (program) directory.
inline constexpr const char* kResultFileName = "sksdat.dat";

// Step function with a total of 2. Step 0 opens the result and prepares;
// step 1 handles one line per call (0) and, at the end of the file, finishes:
// 1 when done, -5 when a completion or error message was shown.
int actionPostDatafile(StepRunner& runner, ActionInfo& action, int& counter);

// What the end of an import runs to offer a new release that came with the
// result; installNewRelease unless replaced (tests). nullptr restores it.
using ReleaseCheck = void (*)();
ReleaseCheck SetReleaseCheck(ReleaseCheck check);

}  // namespace kvqt
