// The script reader takes every byte of a key's resource, unchanged.
#include "tests/harness/harness.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

}  // namespace

TEST(ScriptReader, ValuesComeBackByteForByte) {
  const std::string dir = harness::TestDir();
  const std::string exe = dir + "dump.exe";
  ASSERT_TRUE(CopyFileA((harness::BinDir() + "script_dump.exe").c_str(), exe.c_str(), FALSE));
  const std::string withNul("a\r\nb\0c\r\n", 8);
  const std::string high = "\xe4\xf6\xfc \x80\xff";
  std::string error;
  ASSERT_TRUE(WriteScriptResources(exe,
                                   {{"APPNAME", "Name with CR LF\r\n"},
                                    {"SYSFILES", withNul},
                                    {"VERSION", high},
                                    {"PROMPTINSTALLDIR", "No\r\n"},
                                    {"EMPTY", ""}},
                                   &error))
      << error;
  const std::string out = dir + "out.txt";
  gui::Program dump;
  ASSERT_TRUE(
      dump.Start(exe, harness::Quoted({out}) + " APPNAME SYSFILES VERSION PROMPTINSTALLDIR EMPTY MISSING appname"));
  DWORD code = 1;
  ASSERT_TRUE(dump.WaitForExit(20000, &code));
  ASSERT_EQ(code, 0u);
  EXPECT_EQ(harness::ReadFileBytes(out),
            "APPNAME=" + Hex("Name with CR LF\r\n") + "\n" +  //
                "SYSFILES=" + Hex(withNul) + "\n" +           //
                "VERSION=" + Hex(high) + "\n" +               //
                "PROMPTINSTALLDIR=" + Hex("No\r\n") + "\n" +  //
                "EMPTY=\nMISSING=\n" +                        //
                // resource names are matched without regard to case
                "appname=" + Hex("Name with CR LF\r\n") + "\n");
}
