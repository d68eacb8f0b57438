#include "app/model/formats.h"

#include <algorithm>

namespace kvqt {

bool Formats::add(std::unique_ptr<Format> format) {
  if (count() >= kCapacity) return false;
  const Format* was_current = current();
  InsertSorted(formats_, std::move(format), Format::Less);
  if (was_current) current_ = indexOf(was_current);
  return true;
}

Format* Formats::findBySymbol(std::string_view symbol) const {
  for (const auto& format : formats_) {
    if (format->symbol() == symbol) return format.get();
  }
  return nullptr;
}

Format* Formats::findByName(std::string_view name) const {
  return at(FindSorted(formats_, name, [](const Format& f, std::string_view key) { return f.name().compare(key); }));
}

Format* Formats::findById(int id) const {
  for (const auto& format : formats_) {
    if (format->formatId() == id) return format.get();
  }
  return nullptr;
}

int Formats::indexOf(const Format* format) const {
  for (std::size_t i = 0; i < formats_.size(); ++i) {
    if (formats_[i].get() == format) return static_cast<int>(i);
  }
  return -1;
}

void Formats::setCurrentIndex(int index) {
  if (index >= 0 && index < count()) current_ = index;
}

void Formats::setCurrentById(int id) {
  if (Format* format = findById(id)) current_ = indexOf(format);
}

void Formats::setCurrentByName(std::string_view name) {
  if (Format* format = findByName(name)) current_ = indexOf(format);
}

Format* Formats::first() {
  cursor_ = 0;
  return next();
}

Format* Formats::next() {
  Format* format = at(cursor_);
  if (format) ++cursor_;
  return format;
}

void Formats::clear() {
  formats_.clear();
  current_ = 0;
  cursor_ = 0;
}

void Formats::sortByName() {
  const Format* was_current = current();
  std::stable_sort(formats_.begin(), formats_.end(),
                   [](const std::unique_ptr<Format>& a, const std::unique_ptr<Format>& b) { return Format::Less(*a, *b); });
  if (was_current) current_ = indexOf(was_current);
}

}  // namespace kvqt
