// The core's messages during a kvqt-config run: each goes to the error stream
// as one "kvqt-config: ..." line, and every question is answered No (the tool
// asks its questions through its own options instead).
#pragma once

#include <ostream>
#include <string>

#include "app/core/messages.h"

namespace kvqt::config {

class StreamMessages : public UserMessages {
 public:
  explicit StreamMessages(std::ostream& err) : err_(err) {}

  void show(const std::string& text, const std::string& caption, MessageButton button) override;
  bool ask(const std::string& text) override;

  // Whether the core has shown anything since the start.
  bool anyShown() const { return shown_ > 0; }

 private:
  std::ostream& err_;
  int shown_ = 0;
};

// Installs StreamMessages for the lifetime of the object.
class ScopedStreamMessages {
 public:
  explicit ScopedStreamMessages(std::ostream& err) : messages_(err), previous_(setUserMessages(&messages_)) {}
  ~ScopedStreamMessages() { setUserMessages(previous_); }
  ScopedStreamMessages(const ScopedStreamMessages&) = delete;
  ScopedStreamMessages& operator=(const ScopedStreamMessages&) = delete;
  const StreamMessages& get() const { return messages_; }

 private:
  StreamMessages messages_;
  UserMessages* previous_;
};

}  // namespace kvqt::config
