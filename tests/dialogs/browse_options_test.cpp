// The folder browser's flags and start-folder rule, and the progress scale.
#include "dialogs/browse_options.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "dialogs/progress_scale.h"

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

TEST(ProgressScale, SmallTotalsAreBytes) {
  EXPECT_EQ(ProgressShift(0), 0u);
  EXPECT_EQ(ProgressShift(0x7FFFFFFF), 0u);
  EXPECT_EQ(ProgressUnits(123456789, 0), 123456789);
}

TEST(ProgressScale, LargeTotalsFitTheBar) {
  for (std::uint64_t total : {std::uint64_t{0x80000000}, std::uint64_t{5} << 40, ~std::uint64_t{0}}) {
    SCOPED_TRACE(total);
    const unsigned shift = ProgressShift(total);
    EXPECT_GT(ProgressUnits(total, shift), 0x3FFFFFFF) << "the scale keeps most of the bar's resolution";
    EXPECT_LE(ProgressUnits(total / 2, shift), ProgressUnits(total, shift));
  }
  EXPECT_EQ(ProgressUnits(~std::uint64_t{0}, 0), std::numeric_limits<std::int32_t>::max()) << "clamped";
}

TEST(ProgressScale, SmallEntriesAreDrawnAtMostOncePerInterval) {
  struct Case {
    std::uint64_t entrySize;
    std::uint32_t msSinceDrawn;
    bool drawn;
  } cases[] = {{10000, 0, false}, {10000, 39, false}, {10000, 40, true}, {0, 1000, true},
               {256 * 1024, 0, true}, {256 * 1024 - 1, 5, false}, {std::uint64_t{1} << 40, 0, true}};
  for (const Case& c : cases)
    EXPECT_EQ(DrawEntryNow(c.entrySize, c.msSinceDrawn), c.drawn) << c.entrySize << " after " << c.msSinceDrawn;
}
