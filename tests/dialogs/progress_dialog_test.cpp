// The progress dialog seen from another process while the extraction
// drives it: visible from its creation, two controls, and changes only
// through the protocol's messages.
#include <windows.h>
#include <commctrl.h>

#include "support/handles.h"
#include "tests/harness/harness.h"

namespace {

const char kCaption[] = "Installing files";

struct BarState {
  LRESULT low, high, position;
};

// Runs progress_probe one step at a time.
class Probe {
 public:
  explicit Probe(const std::string& steps) {
    const std::string name = "zxprogress-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs_);
    ready_.Reset(CreateEventA(nullptr, FALSE, FALSE, (name + "-ready").c_str()));
    next_.Reset(CreateEventA(nullptr, FALSE, FALSE, (name + "-next").c_str()));
    EXPECT_TRUE(program_.Start(harness::BinDir() + "progress_probe.exe", name + " " + steps));
    Step();
  }
  ~Probe() { program_.Kill(); }

  // Waits until the probe has done its next step.
  void Step() { ASSERT_EQ(WaitForSingleObject(ready_.Get(), 15000), WAIT_OBJECT_0) << "the probe did not go on"; }
  void Next() {
    SetEvent(next_.Get());
    Step();
  }
  void Finish() {
    SetEvent(next_.Get());
    DWORD code = 99;
    EXPECT_TRUE(program_.WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
  }
  HWND Dialog() { return gui::WaitForWindow(program_, kCaption, 5000); }

 private:
  static inline int runs_ = 0;
  gui::Program program_;
  KernelHandle ready_, next_;
};

BarState Bar(HWND dialog) {
  HWND bar = GetDlgItem(dialog, 1000);
  return {SendMessageA(bar, PBM_GETRANGE, TRUE, 0), SendMessageA(bar, PBM_GETRANGE, FALSE, 0),
          SendMessageA(bar, PBM_GETPOS, 0, 0)};
}

std::string Status(HWND dialog) { return gui::ControlText(dialog, 1001); }

void ExpectBar(HWND dialog, LRESULT high, LRESULT position) {
  const BarState s = Bar(dialog);
  EXPECT_EQ(s.low, 0);
  EXPECT_EQ(s.high, high);
  EXPECT_EQ(s.position, position);
}

}  // namespace

TEST(ProgressDialog, VisibleWithBarAndStatusFromCreation) {
  Probe probe("create destroy");
  HWND dialog = probe.Dialog();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(gui::ClassName(dialog), "#32770");
  const std::vector<gui::Control> controls = gui::Controls(dialog);
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_EQ(controls[0].id, 1000);
  EXPECT_STRCASEEQ(controls[0].className.c_str(), "msctls_progress32");
  EXPECT_EQ(controls[1].id, 1001);
  EXPECT_STRCASEEQ(controls[1].className.c_str(), "Static");
  EXPECT_EQ(Status(dialog), "Starting setup. Please wait...");
  ExpectBar(dialog, 100, 0);  // the bar's own defaults until the total is known
  probe.Next();
  EXPECT_TRUE(gui::WaitForWindowGone(dialog, 5000)) << "destroyed with its owner";
  probe.Finish();
}

TEST(ProgressDialog, FollowsTheExtractionSteps) {
  Probe probe(
      "create total:3000000 entry:Source:0 entry:Source\\zxtabrel.pas:70000 "
      "entry:units\\prod.inc:3000000 building destroy");
  HWND dialog = probe.Dialog();
  ASSERT_TRUE(dialog);
  // What the dialog shows after each step: the total leaves the text alone.
  const std::pair<const char*, LRESULT> shown[] = {{"Starting setup. Please wait...", 0},
                                                   {"Source", 0},
                                                   {"Source\\zxtabrel.pas", 70000},
                                                   {"units\\prod.inc", 3000000},
                                                   {"Building packages...", 3000000}};
  for (const auto& [status, position] : shown) {
    SCOPED_TRACE(status);
    probe.Next();
    EXPECT_EQ(Status(dialog), status);
    ExpectBar(dialog, 3000000, position);
  }
  probe.Next();
  EXPECT_TRUE(gui::WaitForWindowGone(dialog, 5000));
  probe.Finish();
}

TEST(ProgressDialog, EntriesShownFasterThanDrawnEndAtTheLastOne) {
  // Small entries in quick succession are drawn later; the controls answer
  // with the last entry all the same, also after the building text.
  Probe probe("create total:5000 burst:500 building destroy");
  HWND dialog = probe.Dialog();
  ASSERT_TRUE(dialog);
  probe.Next();
  probe.Next();
  EXPECT_EQ(Status(dialog), "500");
  ExpectBar(dialog, 5000, 5000);
  probe.Next();
  EXPECT_EQ(Status(dialog), "Building packages...");
  ExpectBar(dialog, 5000, 5000);
  probe.Next();
  probe.Finish();
}

TEST(ProgressDialog, NothingButTheProtocolChangesIt) {
  Probe probe("create total:1000 entry:a.txt:400 destroy");
  HWND dialog = probe.Dialog();
  ASSERT_TRUE(dialog);
  probe.Next();
  probe.Next();
  // A user's attempts to close it, and time passing, change nothing.
  gui::CloseWindow(dialog);
  gui::PressKey(dialog, VK_ESCAPE);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  gui::WaitUntil([&] { return !IsWindowVisible(dialog); }, 500);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(Status(dialog), "a.txt");
  ExpectBar(dialog, 1000, 400);
  probe.Next();
  probe.Finish();
}

TEST(ProgressDialog, PayloadsBeyondTheBarsRangeAreScaled) {
  // 6 GiB in all, half of it done.
  Probe probe("create total:6442450944 entry:big.dat:3221225472 destroy");
  HWND dialog = probe.Dialog();
  ASSERT_TRUE(dialog);
  probe.Next();
  probe.Next();
  const BarState s = Bar(dialog);
  EXPECT_EQ(s.low, 0);
  EXPECT_GT(s.high, 0x3FFFFFFF);
  EXPECT_EQ(s.position * 2, s.high);
  probe.Next();
  probe.Finish();
}
