// Native builds (unit tests) compare without regard to ASCII letter case.
#include "support/text.h"

bool SameText(const std::string& a, const std::string& b) { return SameTextAscii(a, b); }
