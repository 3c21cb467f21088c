// Progress dialogs in the test process: each keeps the entries whose drawing
// it holds to itself, and one outlives another.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialogs/progress_dialog.h"

namespace {

std::string Status(const TProgressDialog& dialog) {
  char text[64] = {};
  GetWindowTextA(GetDlgItem(dialog.Handle(), IDC_PROGRESS_STATUS), text, sizeof text);
  return text;
}

LRESULT Position(const TProgressDialog& dialog) {
  return SendMessageA(GetDlgItem(dialog.Handle(), IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0);
}

}  // namespace

TEST(ProgressDialogLifetime, EachDialogKeepsItsOwnEntries) {
  InitCommonControls();
  auto first = std::make_unique<TProgressDialog>();
  auto second = std::make_unique<TProgressDialog>();
  first->SetTotal(1000);
  second->SetTotal(2000);
  // Small entries in quick turns: their drawing is held, each in its dialog.
  for (int n = 1; n <= 5; ++n) {
    first->ShowEntry("first " + std::to_string(n), 10 * n);
    second->ShowEntry("second " + std::to_string(n), 20 * n);
  }
  EXPECT_EQ(Status(*first), "first 5");
  EXPECT_EQ(Position(*first), 50);
  EXPECT_EQ(Status(*second), "second 5");
  EXPECT_EQ(Position(*second), 100);

  first.reset();
  second->ShowEntry("second 6", 120);
  EXPECT_EQ(Status(*second), "second 6");
  EXPECT_EQ(Position(*second), 120);
  second->ShowBuildingPackages();
  EXPECT_EQ(Status(*second), kProgressBuildingText);
}
