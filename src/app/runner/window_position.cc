#include "app/runner/window_position.h"

#include "app/core/personal_profile.h"

namespace kvqt {

WindowPoint ClampToDesktop(WindowPoint position, long width, long height, const WindowRect& desktop) {
  const long right = desktop.left + desktop.width;
  const long bottom = desktop.top + desktop.height;
  if (position.x + width > right) position.x = right - width;
  if (position.y + height > bottom) position.y = bottom - height;
  if (position.x < desktop.left) position.x = desktop.left;
  if (position.y < desktop.top) position.y = desktop.top;
  return position;
}

WindowPoint DefaultWindowPosition(const WindowRect& desktop) {
  return {desktop.left + desktop.width / 3, desktop.top + desktop.height / 3};
}

WindowPoint ReadWindowPosition(long width, long height, const WindowRect& desktop) {
  const WindowPoint fallback = DefaultWindowPosition(desktop);
  WindowPoint stored;
  stored.x = profile().getLong(kWindowPositionXKey, fallback.x);
  stored.y = profile().getLong(kWindowPositionYKey, fallback.y);
  return ClampToDesktop(stored, width, height, desktop);
}

void WriteWindowPosition(WindowPoint position) {
  profile().putLong(kWindowPositionXKey, position.x);
  profile().putLong(kWindowPositionYKey, position.y);
}

WindowPoint CenterOver(const WindowRect& parent, long width, long height, const WindowRect& desktop) {
  WindowPoint position{parent.left + (parent.width - width) / 2, parent.top + (parent.height - height) / 2};
  return ClampToDesktop(position, width, height, desktop);
}

}  // namespace kvqt
