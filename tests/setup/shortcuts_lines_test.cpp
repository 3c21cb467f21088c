// The PROGLINKS rules: shortcut file, target and description of each line.
#include "setup/shortcuts_lines.h"

#include <gtest/gtest.h>

#include "support/string_list.h"

namespace {

const char kPrograms[] = "C:\\Menu\\Programs\\";
const char kInstallDir[] = "C:\\Apps\\Tool\\";

struct Expected {
  std::string link, target, description;
};

std::vector<Expected> Links(const std::string& proglinks) {
  StringList lines;
  lines.SetText(proglinks);
  std::vector<Expected> out;
  for (const ProgramLink& l : ProgramLinksOf(lines, kPrograms, kInstallDir))
    out.push_back({l.LinkFile, l.Target, l.Description});
  return out;
}

bool operator==(const Expected& a, const Expected& b) {
  return a.link == b.link && a.target == b.target && a.description == b.description;
}
void PrintTo(const Expected& e, std::ostream* os) {
  *os << "{" << e.link << ", " << e.target << ", " << e.description << "}";
}

}  // namespace

TEST(ProgramLinks, NameAndValueRules) {
  struct Case {
    const char* proglinks;
    std::vector<Expected> links;
  };
  const Case cases[] = {
      {"Demo=Demo.exe\r\n", {{"C:\\Menu\\Programs\\Demo.lnk", "C:\\Apps\\Tool\\Demo.exe", "Demo"}}},
      // The name's extension replaced, the value's folders dropped.
      {"Demo.exe=bin\\Demo.exe\r\n", {{"C:\\Menu\\Programs\\Demo.lnk", "C:\\Apps\\Tool\\Demo.exe", "Demo.exe"}}},
      {"Demo=C:Demo.exe", {{"C:\\Menu\\Programs\\Demo.lnk", "C:\\Apps\\Tool\\Demo.exe", "Demo"}}},
      // Bytes of 32 and below around the value go; blanks in the name stay.
      {"Demo=  Demo.exe \t\r\n", {{"C:\\Menu\\Programs\\Demo.lnk", "C:\\Apps\\Tool\\Demo.exe", "Demo"}}},
      {" My Demo =\x01"
       "Demo.exe\x1f",
       {{"C:\\Menu\\Programs\\ My Demo .lnk", "C:\\Apps\\Tool\\Demo.exe", " My Demo "}}},
      // The value's own "=" is kept; only the first one splits the line.
      {"Help=a=b.hlp", {{"C:\\Menu\\Programs\\Help.lnk", "C:\\Apps\\Tool\\a=b.hlp", "Help"}}},
      // Names differing in case both start the first line's file.
      {"Demo=One.exe\r\ndemo=Two.exe\r\n",
       {{"C:\\Menu\\Programs\\Demo.lnk", "C:\\Apps\\Tool\\One.exe", "Demo"},
        {"C:\\Menu\\Programs\\demo.lnk", "C:\\Apps\\Tool\\One.exe", "demo"}}},
      // A line without "=": the empty name, the value of a line beginning with "=".
      {"Lonely\r\n", {{"C:\\Menu\\Programs\\.lnk", "C:\\Apps\\Tool\\", ""}}},
      {"Lonely\r\n=Tool.exe\r\n",
       {{"C:\\Menu\\Programs\\.lnk", "C:\\Apps\\Tool\\Tool.exe", ""},
        {"C:\\Menu\\Programs\\.lnk", "C:\\Apps\\Tool\\Tool.exe", ""}}},
      // A subfolder in the name stays in the path; the extension rule looks past it.
      {"Sub\\Demo=Demo.exe", {{"C:\\Menu\\Programs\\Sub\\Demo.lnk", "C:\\Apps\\Tool\\Demo.exe", "Sub\\Demo"}}},
      {"v1.2\\Demo=Demo.exe", {{"C:\\Menu\\Programs\\v1.2\\Demo.lnk", "C:\\Apps\\Tool\\Demo.exe", "v1.2\\Demo"}}},
      {"Read.me.txt=readme.txt", {{"C:\\Menu\\Programs\\Read.me.lnk", "C:\\Apps\\Tool\\readme.txt", "Read.me.txt"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proglinks);
    EXPECT_EQ(Links(c.proglinks), c.links);
  }
}
