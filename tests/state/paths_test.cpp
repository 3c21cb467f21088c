// Path helpers, template expansion and the folder-creation climb.
#include "state/paths.h"

#include <gtest/gtest.h>

#include <set>

#include "support/string_list.h"

TEST(Paths, TrailingBackslash) {
  EXPECT_EQ(AddBackslash("C:\\Dir"), "C:\\Dir\\");
  EXPECT_EQ(AddBackslash("C:\\Dir\\"), "C:\\Dir\\");
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(RemoveBackslash("C:\\Dir\\\\"), "C:\\Dir\\");
  EXPECT_EQ(RemoveBackslash("C:\\"), "C:");
  EXPECT_EQ(RemoveBackslash("C:\\Dir"), "C:\\Dir");
}

TEST(Paths, PartsOfAPath) {
  EXPECT_EQ(ExtractFilePath("C:\\A\\b.txt"), "C:\\A\\");
  EXPECT_EQ(ExtractFilePath("C:b.txt"), "C:");
  EXPECT_EQ(ExtractFilePath("b.txt"), "");
  EXPECT_EQ(ExtractFileName("sys\\name.dll"), "name.dll");
  EXPECT_EQ(ExtractFileName("name.dll"), "name.dll");
  EXPECT_EQ(ExtractFileExt("C:\\A.B\\file"), "");
  EXPECT_EQ(ExtractFileExt("C:\\A\\file.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("C:\\A\\zxctd5.dpk", ".BPL"), "C:\\A\\zxctd5.BPL");
  EXPECT_EQ(ChangeFileExt("C:\\A.B\\file", ".lnk"), "C:\\A.B\\file.lnk");
}

TEST(Paths, DrivesAndFullPaths) {
  EXPECT_EQ(ExtractFileDrive("C:\\WINDOWS\\"), "C:");
  EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\dir"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDrive("\\\\server\\share"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDrive("\\dir"), "");
  EXPECT_EQ(ExtractFileDrive("dir"), "");
  EXPECT_TRUE(IsFullPath("C:\\Corvane\\"));
  EXPECT_TRUE(IsFullPath("d:\\"));
  EXPECT_TRUE(IsFullPath("\\\\server\\share\\x\\"));
  EXPECT_FALSE(IsFullPath(""));
  EXPECT_FALSE(IsFullPath("Dir\\"));
  EXPECT_FALSE(IsFullPath("C:Dir\\"));
  EXPECT_FALSE(IsFullPath("\\Dir\\"));
  EXPECT_FALSE(IsFullPath("HELP\\x\\"));
  EXPECT_FALSE(IsFullPath("1:\\x\\"));
}

namespace {
std::vector<TTemplateInfo> Table(int* calls = nullptr) {
  return {{"%SYSTEM%", [] { return std::string("C:\\WINDOWS\\SYSTEM\\"); }},
          {"%WINDOWS%",
           [calls] {
             if (calls) ++*calls;
             return std::string("C:\\WINDOWS\\");
           }},
          {"%PROGRAMFILES%", [] { return std::string("C:\\Program Files\\"); }}};
}
}  // namespace

TEST(Templates, EveryOccurrenceReplacedWithAFreshValue) {
  int calls = 0;
  EXPECT_EQ(ExpandTemplates("%WINDOWS%%WINDOWS%", Table(&calls)), "C:\\WINDOWS\\C:\\WINDOWS\\");
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ExpandTemplates("%PROGRAMFILES%Corvane", Table()), "C:\\Program Files\\Corvane");
  EXPECT_EQ(ExpandTemplates("%PROGRAMFILES%\\Corvane", Table()), "C:\\Program Files\\\\Corvane");
}

TEST(Templates, OtherTextPassesUnchanged) {
  EXPECT_EQ(ExpandTemplates("%system%\\x", Table()), "%system%\\x");
  EXPECT_EQ(ExpandTemplates("100% %NOTATOKEN% %", Table()), "100% %NOTATOKEN% %");
  EXPECT_EQ(ExpandTemplates("", Table()), "");
}

TEST(Templates, LaterTokenInAnEarlierValueIsExpanded) {
  std::vector<TTemplateInfo> table = {{"%A%", [] { return std::string("[%B%]"); }},
                                      {"%B%", [] { return std::string("b"); }}};
  EXPECT_EQ(ExpandTemplates("%A%", table), "[b]");
}

TEST(Templates, ValueHoldingItsOwnTokenEnds) {
  std::vector<TTemplateInfo> table = {{"%A%", [] { return std::string("x%A%y"); }}};
  EXPECT_EQ(ExpandTemplates("%A%-%A%", table), "x%A%y-x%A%y");
}

TEST(Templates, ReplaceAtWorksOnOneBasedPositions) {
  std::string text = "ab%T%cd";
  ReplaceAt(text, 3, "%T%", "XYZ");
  EXPECT_EQ(text, "abXYZcd");
}

namespace {
struct FakeDisk {
  std::set<std::string> folders;
  std::vector<std::string> creations;
  void Create(const std::string& dir, StringList* list) {
    CreateFoldersWith(
        dir, list, [this](const std::string& p) { return folders.count(p) > 0; },
        [this](const std::string& p) {
          creations.push_back(p);
          folders.insert(p);
        });
  }
};
}  // namespace

TEST(CreateFolders, ParentsFirstAndOnlyOnce) {
  FakeDisk disk;
  disk.folders = {"C:"};
  StringList created;
  disk.Create("C:\\A\\B\\C\\", &created);
  EXPECT_EQ(created.Items(), (std::vector<std::string>{"C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}));
  disk.Create("C:\\A\\B\\C\\", &created);
  EXPECT_EQ(created.Count(), 3u);
  disk.Create("C:\\A\\D", nullptr);  // no list: created, not recorded
  EXPECT_EQ(disk.creations.back(), "C:\\A\\D");
  EXPECT_EQ(created.Count(), 3u);
}

TEST(CreateFolders, RelativeAndTinyPaths) {
  FakeDisk disk;
  StringList created;
  disk.Create("Dir", &created);
  EXPECT_EQ(created.Items(), (std::vector<std::string>{"Dir"}));
  disk.Create("", &created);
  disk.Create("C:\\", &created);
  EXPECT_EQ(created.Count(), 1u);
}

TEST(CreateFolders, AFolderThatCannotBeMadeIsRecordedAgain) {
  StringList created;
  auto fail = [](const std::string&) {};
  CreateFoldersWith(
      "C:\\X", &created, [](const std::string& p) { return p == "C:"; }, fail);
  CreateFoldersWith(
      "C:\\X\\", &created, [](const std::string& p) { return p == "C:"; }, fail);
  EXPECT_EQ(created.Items(), (std::vector<std::string>{"C:\\X", "C:\\X"}));
}
