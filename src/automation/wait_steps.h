// The waiting steps of a task file: WAIT until a time of day, SLEEP a number
// of seconds. Both ask the runner to call them again after one second (-11)
// and read the time from the program clock, so a pinned clock drives them.
#pragma once

#include <string_view>

#include "app/runner/step_runner.h"

namespace kvqt {

inline constexpr const char* kCountdownText = "Countdown";

// Reads "hh:mm" (hour 0 to 23, minute 0 to 59); false for anything else.
bool ParseWaitTime(std::string_view text, int& hour, int& minute);

// Sets the action's wait target: now when the clock shows that hour and
// minute, else the next moment it will (today, or tomorrow when it has passed).
void SetWaitTarget(ActionInfo& action, int hour, int minute);

// Shows "Wait until:\thh:mm\nTime:\thh:mm" (logged) and finishes once the
// clock shows the target's hour and minute (or is past the target, should
// the clock have skipped that minute); until then -11.
int waitStep(StepRunner& runner, ActionInfo& action, int& counter);

// With seconds left: shows "Countdown n" (logged), counts one down and waits
// a second; with none left it finishes. SLEEP 3 shows 3, 2, 1 and finishes
// three seconds later.
int countdownStep(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
