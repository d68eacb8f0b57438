#include "app/core/messages.h"

#include <cstdarg>
#include <cstdio>

#include "app/core/compose.h"
#include "app/core/showable_text.h"

namespace kvqt {
namespace {

HeadlessMessages g_default_messages;
UserMessages* g_messages = &g_default_messages;

}  // namespace

UserMessages& userMessages() { return *g_messages; }

UserMessages* setUserMessages(UserMessages* messages) {
  UserMessages* previous = g_messages;
  g_messages = messages ? messages : &g_default_messages;
  return previous;
}

const char* errorCaption(int language) {
  switch (language) {
    case 1: return "Fout";
    case 2: return "Erreur";
    default: return "Error";
  }
}

// Messages often carry texts from outside (names, symbols, server texts): no
// control character reaches the window or the terminal.
void message(std::string_view text) { userMessages().show(ShowableText(text), kMessageCaption, MessageButton::Ok); }
void message2(std::string_view text, std::string_view text2) { message(compose2(text, text2)); }
void message3(std::string_view text, std::string_view text2, std::string_view text3) {
  message(compose3(text, text2, text3));
}
void messageInt(std::string_view text, int n) { message(composeInt(text, n)); }
void messageLong(std::string_view text, long n) { message(composeInt(text, n)); }

void messageFormat(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = composeFormatV(format, args);
  va_end(args);
  message(text);
}

void errorMessage(std::string_view text, int language) {
  userMessages().show(ShowableText(text), errorCaption(language), MessageButton::Cancel);
}

bool question(std::string_view text) { return userMessages().ask(ShowableText(text)); }

void HeadlessMessages::show(const std::string& text, const std::string& caption, MessageButton) {
  shown_.push_back({caption, text});
  if (to_stderr_) std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

bool HeadlessMessages::ask(const std::string& text) {
  bool yes = false;
  if (!answers_.empty()) {
    yes = answers_.front();
    answers_.pop_front();
  }
  shown_.push_back({kProgramTitle, text});
  if (to_stderr_) std::fprintf(stderr, "%s: %s [%s]\n", kProgramTitle, text.c_str(), yes ? "Yes" : "No");
  return yes;
}

}  // namespace kvqt
