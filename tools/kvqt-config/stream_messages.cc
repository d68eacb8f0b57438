#include "kvqt-config/stream_messages.h"

namespace kvqt::config {

void StreamMessages::show(const std::string& text, const std::string& /*caption*/, MessageButton /*button*/) {
  ++shown_;
  err_ << "kvqt-config: " << text << '\n';
}

bool StreamMessages::ask(const std::string& text) {
  ++shown_;
  err_ << "kvqt-config: " << text << " (answered no)\n";
  return false;
}

}  // namespace kvqt::config
