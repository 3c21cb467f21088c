// On Windows, case-insensitive comparison follows the user's locale, as the
// system's own lists do.
#include <windows.h>

#include "support/text.h"

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size() && (a.empty() || b.empty())) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}
