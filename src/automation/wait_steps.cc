#include "automation/wait_steps.h"

#include "app/core/action_info.h"
#include "app/core/compose.h"
#include "automation/task_line_parse.h"
#include "platform/clock.h"

namespace kvqt {

bool ParseWaitTime(std::string_view text, int& hour, int& minute) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view h = text.substr(0, colon);
  const std::string_view m = text.substr(colon + 1);
  // A time no clock shows would wait for ever.
  if (h.empty() || h.size() > 2 || LeadingDigits(h) != h.size()) return false;
  if (m.empty() || m.size() > 2 || LeadingDigits(m) != m.size()) return false;
  hour = LeadingNumber(h);
  minute = LeadingNumber(m);
  return hour < 24 && minute < 60;
}

void SetWaitTarget(ActionInfo& action, int hour, int minute) {
  action.waitLogged = 0;
  const std::time_t now = platform::Now();
  const platform::LocalDateTime local = platform::ToLocal(now);
  if (local.hour == hour && local.minute == minute) {
    action.waitTarget = now;
    return;
  }
  platform::LocalDateTime target = local;
  target.hour = hour;
  target.minute = minute;
  target.second = 0;
  std::time_t when = platform::FromLocal(target);
  if (when <= now) {
    ++target.day;  // mktime carries into the next month and year
    when = platform::FromLocal(target);
  }
  action.waitTarget = when;
}

int waitStep(StepRunner& runner, ActionInfo& action, int& counter) {
  const std::time_t now = platform::Now();
  const platform::LocalDateTime local = platform::ToLocal(now);
  const platform::LocalDateTime target = platform::ToLocal(action.waitTarget);
  const bool done = (local.hour == target.hour && local.minute == target.minute) || now >= action.waitTarget;
  // Shown every second, but logged (and so written by a run without a
  // window) only when the wait starts, ends, and at most once a minute: a
  // wait of a day would otherwise fill a cron mail with 80,000 lines.
  const bool log = done || action.waitLogged == 0 || now - action.waitLogged >= 60;
  if (log) action.waitLogged = now;
  runner.status(composeFormat("Wait until:\t%.2ld:%.2ld\nTime:\t%.2d:%.2d", static_cast<long>(target.hour),
                              static_cast<long>(target.minute), local.hour, local.minute),
                log);
  if (done) {
    ++counter;
    return kStepFinished;
  }
  return kStepWait;
}

int countdownStep(StepRunner& runner, ActionInfo& action, int& counter) {
  if (action.countdown <= 0) {
    ++counter;
    return kStepFinished;
  }
  runner.statusNumber(kCountdownText, action.countdown);
  --action.countdown;
  return kStepWait;
}

}  // namespace kvqt
