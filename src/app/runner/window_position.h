// Where the main window (and the progress dialog) appears: a stored or default
// top-left corner, pulled back onto the desktop.
#pragma once

namespace kvqt {

inline constexpr const char* kWindowPositionXKey = "WindowPositionX";
inline constexpr const char* kWindowPositionYKey = "WindowPositionY";

struct WindowRect {
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;
};

struct WindowPoint {
  long x = 0;
  long y = 0;
  bool operator==(const WindowPoint&) const = default;
};

// A window passing the right or bottom edge moves left or up until it fits; a
// coordinate before the desktop's left or top edge becomes that edge, so the
// caption of a window larger than the desktop stays reachable.
WindowPoint ClampToDesktop(WindowPoint position, long width, long height, const WindowRect& desktop);

// One third of the desktop's width and height from its corner.
WindowPoint DefaultWindowPosition(const WindowRect& desktop);

// The stored position (the default when none is stored), clamped.
WindowPoint ReadWindowPosition(long width, long height, const WindowRect& desktop);
void WriteWindowPosition(WindowPoint position);

// A window of the given size centred over its parent (half the difference of
// the sizes, rounded toward zero), then clamped.
WindowPoint CenterOver(const WindowRect& parent, long width, long height, const WindowRect& desktop);

}  // namespace kvqt
