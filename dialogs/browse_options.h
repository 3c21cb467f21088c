#pragma once
// What the folder browser is opened with, as plain values: the root folder,
// the option flags and the rule for the start folder (no Windows headers).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// The folder at the top of the browser's tree.
enum TZXPathDialogRoot : std::uint8_t {
  pdrNone,
  pdrBitBucket,
  pdrControls,
  pdrDesktop,
  pdrDesktopDirectory,
  pdrDrives,
  pdrFonts,
  pdrNetHood,
  pdrNetwork,
  pdrPersonal,
  pdrPrinters,
  pdrPrograms,
  pdrRecent,
  pdrSendto,
  pdrStartmenu,
  pdrStartup,
  pdrTemplates,
};

enum TZXPathDialogFlag : std::uint8_t {
  pdfBrowseForComputer,
  pdfBrowseForPrinter,
  pdfDontGoBelowDomain,
  pdfReturnfsAncestors,
  pdfReturnOnlyFSDirs,
};

// A set of flags in one byte, bit n for the flag of ordinal n.
class TZXPathDialogFlags {
 public:
  TZXPathDialogFlags() = default;
  TZXPathDialogFlags(std::initializer_list<TZXPathDialogFlag> flags);
  bool Contains(TZXPathDialogFlag flag) const { return (bits_ >> flag) & 1u; }
  std::uint8_t Bits() const { return bits_; }
  bool operator==(const TZXPathDialogFlags& o) const { return bits_ == o.bits_; }

 private:
  std::uint8_t bits_ = 0;
};

// What a new browser component starts with.
TZXPathDialogFlags DefaultPathDialogFlags();

// The CSIDL of the special folder a root stands for.
int RootFolderId(TZXPathDialogRoot root);

// The browser's ulFlags for a set of flags (the BIF_ values of its members).
std::uint32_t BrowseFlagsFor(TZXPathDialogFlags flags);

// The start folder for `value`: the current directory (as the system gives
// it) for an empty value, otherwise the value with one trailing "\" removed.
// `currentDirectory` is asked only for an empty value.
std::string StartFolderFor(const std::string& value, const std::function<std::string()>& currentDirectory);
