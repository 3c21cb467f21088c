// The dialog templates of the built installer, read back from its resources
// in the language they are stored under and compared field by field.
#include <windows.h>

#include "support/handles.h"
#include "tests/dialogs/dialog_template.h"
#include "tests/harness/harness.h"

namespace {

const WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);

struct ExpectedItem {
  std::uint32_t id;
  const char* windowClass;
  const char* text;
  std::uint32_t style;
  std::int16_t x, y, cx, cy;
};

class DialogTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_.Reset(LoadLibraryExA((harness::BinDir() + "setup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(setup_) << "cannot load setup.exe as data";
  }

  // Template `id` of `module` (the stub when none is given).
  DialogTemplate Read(int id, HMODULE module = nullptr) {
    if (!module) module = setup_.Get();
    DialogTemplate t;
    HRSRC found = FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), kRussian);
    EXPECT_TRUE(found) << "no dialog " << id << " in language 0x0419";
    if (!found) return t;
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    std::string error;
    EXPECT_TRUE(ParseDialogTemplate(std::string(data, SizeofResource(module, found)), t, &error)) << error;
    return t;
  }

  // The languages dialog `id` is stored under.
  std::vector<WORD> Languages(int id) {
    std::vector<WORD> found;
    EnumResourceLanguagesA(setup_.Get(), RT_DIALOG, MAKEINTRESOURCEA(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&found));
    return found;
  }

  static void ExpectHeader(const DialogTemplate& t, const char* title, std::uint32_t style, std::int16_t cx,
                           std::int16_t cy) {
    EXPECT_EQ(t.version, 1);
    EXPECT_EQ(t.signature, 0xFFFF);
    EXPECT_EQ(t.helpId, 0u);
    EXPECT_EQ(t.exStyle, 0x00010000u);
    EXPECT_EQ(t.style, style);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, cx);
    EXPECT_EQ(t.cy, cy);
    EXPECT_EQ(t.menu, "");
    EXPECT_EQ(t.windowClass, "");
    EXPECT_EQ(t.title, title);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 0);
    EXPECT_EQ(t.typeface, "MS Sans Serif");
  }

  static void ExpectItems(const DialogTemplate& t, const std::vector<ExpectedItem>& expected) {
    ASSERT_EQ(t.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("control " + std::to_string(i + 1));
      const DialogItem& item = t.items[i];
      const ExpectedItem& e = expected[i];
      EXPECT_EQ(item.helpId, 0u);
      EXPECT_EQ(item.exStyle, 0u);
      EXPECT_EQ(item.style, e.style);
      EXPECT_EQ(item.x, e.x);
      EXPECT_EQ(item.y, e.y);
      EXPECT_EQ(item.cx, e.cx);
      EXPECT_EQ(item.cy, e.cy);
      EXPECT_EQ(item.id, e.id);
      EXPECT_EQ(item.windowClass, e.windowClass);
      EXPECT_EQ(item.text, e.text);
      EXPECT_EQ(item.extraCount, 0);
    }
  }

 private:
  static BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
  }

  LibraryHandle setup_;
};

}  // namespace

TEST_F(DialogTemplates, DestinationDialog) {
  EXPECT_EQ(Languages(103), std::vector<WORD>{0x0419});
  const DialogTemplate t = Read(103);
  ExpectHeader(t, "Select Destination Directory", 0x80C809C4, 253, 74);
  ExpectItems(t, {{1000, "EDIT", "", 0x50810080, 10, 26, 177, 12},
                  {1, "BUTTON", "OK", 0x50010001, 135, 50, 50, 14},
                  {2, "BUTTON", "Cancel", 0x50010000, 192, 50, 50, 14},
                  {65535, "STATIC", "Destination Directory:", 0x50020000, 10, 10, 158, 15},
                  {3, "BUTTON", "Browse...", 0x50010000, 192, 25, 50, 14}});
}

TEST_F(DialogTemplates, ProgressDialog) {
  EXPECT_EQ(Languages(104), std::vector<WORD>{0x0419});
  const DialogTemplate t = Read(104);
  ExpectHeader(t, "Installing files", 0x90C809C4, 224, 66);
  ExpectItems(t, {{1000, "msctls_progress32", "Progress1", 0x50800000, 5, 35, 212, 19},
                  {1001, "STATIC", "", 0x50021281, 5, 9, 212, 19}});
}

TEST_F(DialogTemplates, AnInstallerMadeFromTheStubKeepsThem) {
  // Writing the script into a copy must leave the templates in place.
  const std::string exe = harness::TestDir() + "setup.exe";
  harness::MakeInstaller(exe, {{"APPNAME", "Templates"}});
  LibraryHandle made(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(made);
  EXPECT_EQ(Read(103, made.Get()).items.size(), 5u);
  EXPECT_EQ(Read(104, made.Get()).items.size(), 2u);
}
