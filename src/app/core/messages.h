// How the core reaches the user: modal messages, errors with a caption by
// language, and yes/no questions. The GUI implements UserMessages with dialogs;
// HeadlessMessages serves batch runs without a display and the tests.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

inline constexpr const char* kProgramTitle = "Norvale Korvane";
inline constexpr const char* kMessageCaption = "Message";

enum class MessageButton { Ok, Cancel };

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  // A modal message; returns when the user has closed it.
  virtual void show(const std::string& text, const std::string& caption, MessageButton button) = 0;
  // A yes/no question with the caption "Norvale Korvane"; true for Yes.
  virtual bool ask(const std::string& text) = 0;
};

// The implementation in use; HeadlessMessages writing to standard error until set.
UserMessages& userMessages();
// Installs an implementation (nullptr restores the default); returns the previous one.
UserMessages* setUserMessages(UserMessages* messages);

// Caption of an error message in the language chosen in the configuration wizard.
const char* errorCaption(int language);

void message(std::string_view text);
void message2(std::string_view text, std::string_view text2);
void message3(std::string_view text, std::string_view text2, std::string_view text3);
void messageInt(std::string_view text, int n);
void messageLong(std::string_view text, long n);
void messageFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
void errorMessage(std::string_view text, int language = 0);
bool question(std::string_view text);

// Writes messages to standard error (when enabled) and keeps them; answers
// questions from a queue of given answers, and "No" when the queue is empty.
class HeadlessMessages : public UserMessages {
 public:
  struct Shown {
    std::string caption;
    std::string text;
  };

  explicit HeadlessMessages(bool to_stderr = true) : to_stderr_(to_stderr) {}

  void show(const std::string& text, const std::string& caption, MessageButton button) override;
  bool ask(const std::string& text) override;

  void answerNext(bool yes) { answers_.push_back(yes); }
  const std::vector<Shown>& shown() const { return shown_; }
  void clear() { shown_.clear(); }

 private:
  bool to_stderr_;
  std::deque<bool> answers_;
  std::vector<Shown> shown_;
};

// Installs a quiet HeadlessMessages for the lifetime of the object (tests).
class ScopedMessages {
 public:
  ScopedMessages() : previous_(setUserMessages(&messages_)) {}
  ~ScopedMessages() { setUserMessages(previous_); }
  ScopedMessages(const ScopedMessages&) = delete;
  ScopedMessages& operator=(const ScopedMessages&) = delete;
  HeadlessMessages* operator->() { return &messages_; }
  HeadlessMessages& get() { return messages_; }

 private:
  HeadlessMessages messages_{false};
  UserMessages* previous_;
};

}  // namespace kvqt
