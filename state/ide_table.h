#pragma once
// The eight IDE editions as data (no Windows headers): what differs between
// them, indexed by IdeKind.
#include <cstdint>
#include <string>

// The IDE edition, one byte; every per-edition value is in the table below.
using IdeKind = unsigned char;
constexpr IdeKind kIdeD2 = 0;
constexpr IdeKind kIdeC1 = 1;
constexpr IdeKind kIdeD3 = 2;
constexpr IdeKind kIdeC3 = 3;
constexpr IdeKind kIdeD4 = 4;
constexpr IdeKind kIdeC4 = 5;
constexpr IdeKind kIdeD5 = 6;
constexpr IdeKind kIdeC5 = 7;

struct IdeEdition {
  const char* code;              // script code, e.g. "D5"
  const char* registrySubkey;    // below "Software\Borland\"
  const char* knownPackagesKey;  // below HKEY_CURRENT_USER; empty when the edition has no packages
  const char* helpContentsFile;
  const char* packageExt;  // upper case, empty when the edition has no packages
  int32_t expectedBuild;   // dwFileVersionLS of the IDE executable; -1 accepts any
};

constexpr IdeKind kIdeKindCount = kIdeC5 + 1;
constexpr int32_t kAnyBuild = -1;

// The entry of `kind`; values above 7 are reduced to their low three bits
// (deliberate: a kind read from elsewhere can never index past the table).
const IdeEdition& IdeEditionOf(IdeKind kind);

// The kind whose code equals `code` without regard to ASCII case; D4 (4) otherwise.
IdeKind IdeKindFromCode(const std::string& code);
std::string GetKnownPackagesKey(IdeKind kind);
std::string GetPackageExt(IdeKind kind);
// "delphi32" for the even (Delphi) kinds, "bcb" for every other value.
std::string GetIdeExeName(IdeKind kind);
// "Software\Borland\" + the edition's subkey.
std::string IdeRegistryKey(IdeKind kind);
