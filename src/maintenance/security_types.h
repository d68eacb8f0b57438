// The security types of the symbol catalogue: their codes, the search
// dialog's buttons that select them, and the names shown for them.
#pragma once

#include <span>

namespace kvqt {

inline constexpr int kSecurityTypeIndex = 0;
// An older code for indices; searching for indices finds it too.
inline constexpr int kSecurityTypeIndexOld = 60;  // '<'

// The "All" button sets no type condition.
inline constexpr int kAllTypesButtonId = 400;

struct SecurityTypeButton {
  int id;
  const char* label;
  int code;
};

// The type buttons in the order a search reads them: the first one selected counts.
std::span<const SecurityTypeButton> SecurityTypeButtons();

// "Index", "Share", ...; "Other" for a code without a name.
const char* SecurityTypeName(int code);

// Whether an instrument of type `code` meets the condition `wanted`.
inline bool SecurityTypeMatches(int code, int wanted) {
  return code == wanted || (wanted == kSecurityTypeIndex && code == kSecurityTypeIndexOld);
}

}  // namespace kvqt
