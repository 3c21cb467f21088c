#include "state/ide_table.h"

#include "support/text.h"

namespace {

const IdeEdition kEditions[kIdeKindCount] = {
    {"D2", "Delphi\\2.0", "", "delphi.cnt", "", kAnyBuild},
    {"C1", "C++Builder\\1.0", "", "bcb.cnt", "", kAnyBuild},
    {"D3", "Delphi\\3.0", "Software\\Borland\\Delphi\\3.0\\Known Packages", "delphi3.cnt", ".DPL", 0x00050053},
    {"C3", "C++Builder\\3.0", "Software\\Borland\\C++Builder\\3.0\\Known Packages", "bcb3.cnt", ".BPL", 0x00030046},
    {"D4", "Delphi\\4.0", "Software\\Borland\\Delphi\\4.0\\Known Packages", "delphi4.cnt", ".BPL", 0x0005006C},
    {"C4", "C++Builder\\4.0", "Software\\Borland\\C++Builder\\4.0\\Known Packages", "bcb4.cnt", ".BPL", 0x000E000B},
    {"D5", "Delphi\\5.0", "Software\\Borland\\Delphi\\5.0\\Known Packages", "delphi5.cnt", ".BPL", kAnyBuild},
    {"C5", "C++Builder\\5.0", "Software\\Borland\\C++Builder\\5.0\\Known Packages", "bcb5.cnt", ".BPL", kAnyBuild},
};

constexpr IdeKind kDefaultKind = kIdeD4;

}  // namespace

const IdeEdition& IdeEditionOf(IdeKind kind) { return kEditions[kind & (kIdeKindCount - 1)]; }

IdeKind IdeKindFromCode(const std::string& code) {
  for (IdeKind kind = 0; kind < kIdeKindCount; ++kind)
    if (SameTextAscii(code, kEditions[kind].code)) return kind;
  return kDefaultKind;
}

std::string GetKnownPackagesKey(IdeKind kind) { return IdeEditionOf(kind).knownPackagesKey; }

std::string GetPackageExt(IdeKind kind) { return IdeEditionOf(kind).packageExt; }

std::string GetIdeExeName(IdeKind kind) { return kind % 2 == 0 && kind < kIdeKindCount ? "delphi32" : "bcb"; }

std::string IdeRegistryKey(IdeKind kind) {
  return std::string("Software\\Borland\\") + IdeEditionOf(kind).registrySubkey;
}
