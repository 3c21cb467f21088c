#include "dialogs/browse_options.h"

#include <iterator>

#include "state/paths.h"

namespace {
// Indexed by TZXPathDialogRoot; none and the desktop both give the desktop.
const int kRootFolderIds[] = {0, 10, 3, 0, 16, 17, 20, 19, 18, 5, 4, 2, 8, 9, 11, 7, 21};
// Indexed by TZXPathDialogFlag.
const std::uint32_t kFlagValues[] = {0x1000, 0x2000, 0x0002, 0x0008, 0x0001};
}  // namespace

TZXPathDialogFlags::TZXPathDialogFlags(std::initializer_list<TZXPathDialogFlag> flags) {
  for (TZXPathDialogFlag f : flags) bits_ = static_cast<std::uint8_t>(bits_ | (1u << f));
}

TZXPathDialogFlags DefaultPathDialogFlags() { return {pdfReturnOnlyFSDirs}; }

int RootFolderId(TZXPathDialogRoot root) { return root < std::size(kRootFolderIds) ? kRootFolderIds[root] : 0; }

std::uint32_t BrowseFlagsFor(TZXPathDialogFlags flags) {
  std::uint32_t value = 0;
  for (unsigned f = 0; f < std::size(kFlagValues); ++f)
    if (flags.Contains(static_cast<TZXPathDialogFlag>(f))) value += kFlagValues[f];
  return value;
}

std::string StartFolderFor(const std::string& value, const std::function<std::string()>& currentDirectory) {
  if (value.empty()) return currentDirectory();
  return RemoveBackslash(value);
}
