// The folder browser's flags and start-folder rule.
#include "dialogs/browse_options.h"

#include <gtest/gtest.h>

namespace {
std::string NoCurrentDirectory() {
  ADD_FAILURE() << "the current directory is asked only for an empty value";
  return "?";
}
}  // namespace

TEST(BrowseFlags, DefaultIsReturnOnlyFileSystemFolders) {
  EXPECT_EQ(BrowseFlagsFor(DefaultPathDialogFlags()), 1u);
  EXPECT_EQ(BrowseFlagsFor({}), 0u);
}

TEST(BrowseFlags, EachFlagAddsItsOwnValue) {
  EXPECT_EQ(BrowseFlagsFor({pdfBrowseForComputer}), 0x1000u);
  EXPECT_EQ(BrowseFlagsFor({pdfBrowseForPrinter}), 0x2000u);
  EXPECT_EQ(BrowseFlagsFor({pdfDontGoBelowDomain}), 0x0002u);
  EXPECT_EQ(BrowseFlagsFor({pdfReturnfsAncestors}), 0x0008u);
  EXPECT_EQ(BrowseFlagsFor({pdfBrowseForComputer, pdfBrowseForPrinter, pdfDontGoBelowDomain, pdfReturnfsAncestors,
                            pdfReturnOnlyFSDirs}),
            0x300Bu);
}

TEST(BrowseFlags, SetIsOneByteWithBitPerOrdinal) {
  static_assert(sizeof(TZXPathDialogFlags) == 1, "the set is stored in one byte");
  EXPECT_EQ(TZXPathDialogFlags({pdfReturnOnlyFSDirs}).Bits(), 0x10);
  EXPECT_EQ(TZXPathDialogFlags({pdfBrowseForComputer, pdfReturnfsAncestors}).Bits(), 0x09);
  EXPECT_EQ(TZXPathDialogFlags({pdfBrowseForPrinter, pdfBrowseForPrinter}).Bits(), 0x02);
}

TEST(BrowseRoot, NoneAndDesktopAreTheDesktop) {
  EXPECT_EQ(RootFolderId(pdrNone), 0);
  EXPECT_EQ(RootFolderId(pdrDesktop), 0);
  EXPECT_EQ(RootFolderId(pdrBitBucket), 10);
  EXPECT_EQ(RootFolderId(pdrDrives), 17);
  EXPECT_EQ(RootFolderId(pdrTemplates), 21);
  EXPECT_EQ(RootFolderId(static_cast<TZXPathDialogRoot>(17)), 0) << "out of range stays at the desktop";
}

TEST(StartFolder, OneTrailingBackslashIsRemoved) {
  EXPECT_EQ(StartFolderFor("C:\\Corvane\\Tab", NoCurrentDirectory), "C:\\Corvane\\Tab");
  EXPECT_EQ(StartFolderFor("C:\\Corvane\\Tab\\", NoCurrentDirectory), "C:\\Corvane\\Tab");
  EXPECT_EQ(StartFolderFor("C:\\Corvane\\\\", NoCurrentDirectory), "C:\\Corvane\\");
  EXPECT_EQ(StartFolderFor("C:\\", NoCurrentDirectory), "C:");
  EXPECT_EQ(StartFolderFor("\\", NoCurrentDirectory), "");
}

TEST(StartFolder, EmptyGivesTheCurrentDirectoryAsIs) {
  EXPECT_EQ(StartFolderFor("", [] { return std::string("D:\\"); }), "D:\\");
  EXPECT_EQ(StartFolderFor("", [] { return std::string("D:\\Work"); }), "D:\\Work");
}
