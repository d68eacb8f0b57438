#include "kvqt-config/password_input.h"

#include <termios.h>
#include <unistd.h>


namespace kvqt::config {

bool ReadPasswordLine(std::istream& in, std::string& password) {
  password.clear();
  if (!std::getline(in, password) && password.empty()) return false;
  while (!password.empty() && (password.back() == '\r' || password.back() == '\n')) password.pop_back();
  return true;
}

bool InputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool PromptPassword(const std::string& prompt, std::string& password, std::ostream& err) {
  password.clear();
  if (!InputIsTerminal()) return false;
  termios saved;
  if (::tcgetattr(STDIN_FILENO, &saved) != 0) return false;
  termios quiet = saved;
  quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
  quiet.c_lflag |= ECHONL;
  // Echo goes off before the prompt shows: what is typed after it never appears.
  if (::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) != 0) return false;
  err << prompt << std::flush;
  // Read byte by byte: nothing after the line may be taken from the terminal.
  bool ended = false;
  char c = 0;
  while (::read(STDIN_FILENO, &c, 1) == 1) {
    if (c == '\n' || c == '\r') {
      ended = true;
      break;
    }
    password.push_back(c);
  }
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  return ended || !password.empty();
}

}  // namespace kvqt::config
