// The pure texts of the installation records: list splitting, the uninstall
// command and the previous-version message.
#include "records/record_text.h"

#include <gtest/gtest.h>

#include "support/string_list.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator = ';') {
  StringList list;
  SplitToList(text, separator, list);
  return list.Items();
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(SplitToList, PiecesBetweenSeparators) {
  EXPECT_EQ(Split("A;B"), (Pieces{"A", "B"}));
  EXPECT_EQ(Split("A;;B"), (Pieces{"A", "", "B"}));
  EXPECT_EQ(Split("A;"), (Pieces{"A"}));
  EXPECT_EQ(Split(";A"), (Pieces{"", "A"}));
  EXPECT_EQ(Split(";"), (Pieces{""}));
  EXPECT_EQ(Split(""), Pieces{});
  EXPECT_EQ(Split("Corvane Tabrel;Extra Pack"), (Pieces{"Corvane Tabrel", "Extra Pack"}));
}

TEST(SplitToList, LineBreaksAndNulAlsoEndPieces) {
  EXPECT_EQ(Split("A\r\nB;C"), (Pieces{"A", "B", "C"}));
  EXPECT_EQ(Split("A\rB\nC"), (Pieces{"A", "B", "C"}));
  EXPECT_EQ(Split(std::string("A;B\0C;D", 7)), (Pieces{"A", "B"}));
  EXPECT_EQ(Split("A,B;C", ','), (Pieces{"A", "B;C"}));
}

TEST(SplitToList, AppendsToWhatTheListHolds) {
  StringList list;
  list.Add("old");
  SplitToList("new;newer", ';', list);
  EXPECT_EQ(list.Items(), (Pieces{"old", "new", "newer"}));
}

TEST(ReplaceChar, EveryOccurrence) {
  EXPECT_EQ(ReplaceChar("a;b;;c", ';', '\n'), "a\nb\n\nc");
  EXPECT_EQ(ReplaceChar("", ';', '\n'), "");
  EXPECT_EQ(ReplaceChar("abc", 'x', 'y'), "abc");
}

TEST(UninstallCommand, QuotesProgramPathAndAppName) {
  EXPECT_EQ(UninstallCommand("C:\\Prog\\X\\", "My App"), "\"C:\\Prog\\X\\UnInstall.exe\" \"My App\"");
  EXPECT_EQ(UninstallCommand("C:\\Program Files\\Corvane\\", "Tabrel"),
            "\"C:\\Program Files\\Corvane\\UnInstall.exe\" \"Tabrel\"");
  // A quote in the name cannot end the argument early.
  EXPECT_EQ(UninstallCommand("C:\\X\\", "A \"B\""), "\"C:\\X\\UnInstall.exe\" \"A \\\"B\\\"\"");
}

TEST(PreviousVersionMessage, NamesTheAppTwice) {
  EXPECT_EQ(PreviousVersionMessage("My App"),
            "Setup has detected that previous version of My App is already installed. It is highly recommended "
            "that you uninstall previous version before you can install My App.\r\n\r\n"
            "Press the OK button to continue the installation.\r\n"
            "Press the Cancel button to abort the installation.");
  // A placeholder inside the name is not expanded again.
  const std::string placeholder = PreviousVersionMessage("%s");
  EXPECT_NE(placeholder.find("version of %s is already"), std::string::npos);
  EXPECT_NE(placeholder.find("install %s.\r\n"), std::string::npos);
}

TEST(RecordPaths, FromTheRootKey) {
  EXPECT_EQ(ProductRecordPath("Tabrel"), "\\Software\\Corvane Company\\InstalledProducts\\Tabrel");
  EXPECT_STREQ(kSharedFileCountsPath, "\\Software\\Corvane Company\\InstalledFiles");
  EXPECT_EQ(UninstallFilesPath("My App"), "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\My App\\Files");
}
