#include "ide/catalogue.h"

#include "support/text.h"

namespace {
const char* const kCodes[8] = {"D2", "C1", "D3", "C3", "D4", "C4", "D5", "C5"};
const char* const kHelpFiles[8] = {"delphi.cnt",  "bcb.cnt",  "delphi3.cnt", "bcb3.cnt",
                                   "delphi4.cnt", "bcb4.cnt", "delphi5.cnt", "bcb5.cnt"};
}  // namespace

IdeKind IdeKindFromCode(const std::string& code) {
  for (IdeKind k = 0; k < 8; ++k)
    if (SameTextAscii(code, kCodes[k])) return k;
  return 4;
}

// The registry lookup of the IDE's folder comes with the IDE catalogue; until
// then every edition counts as not installed.
std::string GetIdeRootDir(IdeKind) { return std::string(); }

std::string GetIdeHelpDir(IdeKind kind) { return GetIdeRootDir(kind) + "HELP\\"; }

std::string GetIdeHelpIndexFile(IdeKind kind) { return GetIdeHelpDir(kind) + kHelpFiles[kind & 7]; }
