// Texts of the symbol table's fixed-width fields. A FixedText holds at most N
// characters, so a record can always be written back into its field with the
// terminating NUL.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace kvqt {

template <std::size_t N>
class FixedText {
  static_assert(N < 256, "the length is kept in one byte");

 public:
  static constexpr std::size_t kMaxLength = N;

  FixedText() = default;
  // Texts convert freely; longer ones are cut.
  FixedText(std::string_view text) { assign(text); }
  FixedText(const char* text) { assign(text); }
  FixedText(const std::string& text) { assign(text); }

  // Longer texts are cut to N characters.
  void assign(std::string_view text) {
    size_ = static_cast<unsigned char>(text.size() < N ? text.size() : N);
    if (size_ > 0) std::memcpy(data_, text.data(), size_);
  }

  std::string_view view() const { return {data_, size_}; }
  std::string str() const { return std::string(view()); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  template <typename Text>
    requires std::is_convertible_v<const Text&, std::string_view>
  friend bool operator==(const FixedText& a, const Text& b) {
    return a.view() == std::string_view(b);
  }

 private:
  char data_[N] = {};
  unsigned char size_ = 0;
};

// The text of a fixed-width field: the bytes up to the first NUL, without
// trailing blanks.
inline std::string_view FieldText(const unsigned char* field, std::size_t width) {
  const char* p = reinterpret_cast<const char*>(field);
  std::size_t n = 0;
  while (n < width && p[n] != '\0') ++n;
  while (n > 0 && p[n - 1] == ' ') --n;
  return {p, n};
}

// Writes the text NUL-padded into a field of the given width; at most
// width - 1 characters, so the field always ends in a NUL.
inline void PutFieldText(unsigned char* field, std::size_t width, std::string_view text) {
  std::memset(field, 0, width);
  std::size_t n = text.size() < width ? text.size() : width - 1;
  if (n > 0) std::memcpy(field, text.data(), n);
}

}  // namespace kvqt
