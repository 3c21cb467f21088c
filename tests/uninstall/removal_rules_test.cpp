// The uninstaller's command lines and the order it removes folders in.
#include "uninstall/removal_rules.h"

#include <gtest/gtest.h>

#include "support/command_line.h"
#include "support/string_list.h"

TEST(UninstallRequest, FromTheEntryCommandAndFromTheCopy) {
  const struct {
    std::string line;
    std::string app;
    bool copy;
    std::uint64_t original;
  } cases[] = {
      {"\"C:\\Corvane\\Tab D5\\UnInstall.exe\" \"Corvane Tabrel for Delphi 5\"", "Corvane Tabrel for Delphi 5", false,
       0},
      // The command as older entries wrote it: the program path unquoted.
      {"C:\\Corvane\\Tab_D5\\UnInstall.exe \"My App\"", "My App", false, 0},
      {"C:\\Program Files\\X\\UnInstall.exe \"My App\"", "My App", false, 0},
      {"\"C:\\X\\UnInstall.exe\"", "", false, 0},
      {"\"C:\\X\\UnInstall.exe\"   ", "", false, 0},
      {"\"C:\\X\\UnInstall.exe\" \"\"", "", false, 0},
      {"\"C:\\X\\UnInstall.exe\" \"A \\\"B\\\"\"", "A \"B\"", false, 0},
      {CopyCommandLine("C:\\Temp\\zxu1A.tmp", 1234, "My App"), "My App", true, 1234},
      {CopyCommandLine("C:\\Temp\\zxu1A.tmp", 8, ""), "", true, 8},
      // Not a handle: taken as the product's name.
      {"\"C:\\X\\UnInstall.exe\" /copy:x", "/copy:x", false, 0},
  };
  for (const auto& c : cases) {
    const UninstallRequest r = ParseUninstallRequest(c.line);
    EXPECT_EQ(r.appName, c.app) << c.line;
    EXPECT_EQ(r.isCopy, c.copy) << c.line;
    EXPECT_EQ(r.originalProcess, c.original) << c.line;
  }
}

TEST(UninstallFolders, DeepestFirstListOrderAmongEquals) {
  StringList folders({"C:\\Corvane", "C:\\Corvane\\Tab_D5", "C:\\Corvane\\Tab_D5\\units", "C:\\Corvane\\Tab_D5\\help",
                      "D:\\Other\\", "C:\\Corvane\\Tab_D5\\units\\old"});
  EXPECT_EQ(DeepestFirst(folders), (std::vector<std::string>{"C:\\Corvane\\Tab_D5\\units\\old",
                                                             "C:\\Corvane\\Tab_D5\\units", "C:\\Corvane\\Tab_D5\\help",
                                                             "C:\\Corvane\\Tab_D5", "C:\\Corvane", "D:\\Other\\"}));
  EXPECT_EQ(DeepestFirst(StringList()), std::vector<std::string>{});
}

TEST(UninstallTexts, ClosingMessageByWhatWasLeft) {
  const struct {
    Leftovers left;
    std::string text;
  } cases[] = {
      {{}, "P was removed."},
      {{{"C:\\a.bpl", "C:\\b.hlp"}, {"C:\\P"}},
       "P was removed, except the following, which could not be (a file in use or a folder that is not empty). "
       "They stay recorded: close the programs that use them and run the uninstaller again to finish.\r\n"
       "\r\nC:\\a.bpl\r\nC:\\b.hlp\r\nC:\\P (folder not empty)"},
      {{{}, {"C:\\P\\units", "C:\\P"}},
       "P was removed. These folders were left in place, as they hold files that were not installed with it:\r\n"
       "\r\nC:\\P\\units\r\nC:\\P"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClosingMessage("P", c.left), c.text);
}
