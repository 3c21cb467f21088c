#include "tests/ide/fake_ide.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "tests/harness/harness.h"

namespace fakeide {

const char* const kAllIdeWindows = "TAlignPalette,TPropertyInspector,TAppBuilder";

namespace {
std::string Tool() { return harness::BinDir() + "fakeide.exe"; }

std::string WithoutBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}
}  // namespace

Edition::Edition(const std::string& code, const std::string& root, const std::string& options)
    : code_(code), root_(WithoutBackslash(root) + "\\") {
  std::string output;
  const DWORD exitCode = harness::RunTool(
      Tool(), "install " + code + " " + harness::Quoted({WithoutBackslash(root)}) + " " + options, &output);
  EXPECT_EQ(exitCode, 0u) << "fakeide install " << code << ": " << output;
}

Edition::~Edition() { Uninstall(code_); }

void Uninstall(const std::string& code) {
  std::string output;
  EXPECT_EQ(harness::RunTool(Tool(), "uninstall " + code + " --force", &output), 0u) << output;
}

RunningIde::RunningIde(const std::string& classes) {
  EXPECT_TRUE(program_.Start(Tool(), "run --windows " + classes));
  // Ready once the last window of the list exists.
  const std::string last = classes.substr(classes.rfind(',') + 1);
  gui::WaitUntil([&] { return FindWindowA(last.c_str(), nullptr) != nullptr; }, harness::kComeMs);
  EXPECT_TRUE(FindWindowA(last.c_str(), nullptr)) << "fakeide run made no " << last << " window";
}

RunningIde::~RunningIde() { program_.Kill(); }

}  // namespace fakeide
