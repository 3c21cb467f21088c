// autodrive: runs a program and answers its windows the way a user who
// accepts every default would, printing each window it sees.
//   autodrive.exe [--answer "CAPTION=BUTTON"]... [--follow] PROGRAM [ARGUMENTS]
// A window whose caption has an answer gets that button pressed; any other
// window with an OK button gets OK; windows without one (a progress dialog)
// are only watched. With --follow, a program that ends by handing its work
// over to a process it started (the uninstaller's temporary copy) is
// followed into that process. Ends with the (last) program's exit code.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "guidriver/driver.h"
#include "support/command_line.h"

namespace {

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Message texts shown with their line breaks made visible, one line each.
std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      out += "\n      ";
      continue;
    }
    out += c;
  }
  return out;
}

void PrintWindow(HWND w) {
  Print("  window \"" + gui::WindowText(w) + "\"");
  std::string message = gui::MessageText(w);
  if (!message.empty()) Print("    text: " + Visible(message));
  for (const gui::Control& c : gui::Controls(w)) {
    if (lstrcmpiA(c.className.c_str(), "Edit") == 0) Print("    edit: \"" + c.text + "\"");
    if (lstrcmpiA(c.className.c_str(), "Static") == 0 && c.id != 0xFFFF && !c.text.empty())
      Print("    label: " + c.text);
  }
  std::string buttons;
  for (const std::string& b : gui::ButtonTexts(w)) buttons += " [" + b + "]";
  if (!buttons.empty()) Print("    buttons:" + buttons);
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> answers;
  std::string program;
  std::string arguments;
  bool follow = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (!program.empty()) {
      arguments += (arguments.empty() ? "" : " ") + QuoteArgument(a);
    } else if (a == "--follow") {
      follow = true;
    } else if (a == "--answer" && i + 1 < argc) {
      std::string rule = argv[++i];
      size_t eq = rule.rfind('=');
      if (eq != std::string::npos) answers[rule.substr(0, eq)] = rule.substr(eq + 1);
    } else {
      program = a;
    }
  }
  if (program.empty()) {
    std::fprintf(stderr, "usage: autodrive [--answer CAPTION=BUTTON]... [--follow] PROGRAM [ARGUMENTS]\n");
    return 2;
  }
  gui::Program run;
  if (!run.Start(program, arguments)) {
    std::fprintf(stderr, "autodrive: cannot start %s\n", program.c_str());
    return 2;
  }
  Print("started " + program);
  std::map<HWND, std::string> watched;  // windows seen, with what was printed last
  std::set<HWND> answered;
  DWORD idleSince = GetTickCount();
  DWORD code = 0;
  for (;;) {
    if (run.WaitForExit(50, &code)) {
      if (!follow || !run.FollowChild(0)) break;
      Print("handed over to process " + std::to_string(run.Id()));
      continue;
    }
    const std::vector<HWND> open = gui::VisibleWindows(run.Id());
    // A handle may come back for a later window once its window is gone.
    for (auto it = watched.begin(); it != watched.end();) {
      bool still = std::find(open.begin(), open.end(), it->first) != open.end();
      if (!still) answered.erase(it->first);
      it = still ? std::next(it) : watched.erase(it);
    }
    for (HWND w : open) {
      std::string look = gui::Describe(w);
      for (const gui::Control& c : gui::Controls(w)) look += "|" + c.text;
      if (!IsWindow(w)) continue;  // gone while it was read
      if (watched[w] != look) {
        watched[w] = look;
        PrintWindow(w);
      }
      if (answered.count(w)) continue;
      auto rule = answers.find(gui::WindowText(w));
      std::string button = rule != answers.end() ? rule->second : "OK";
      Sleep(100);  // as a person would, after reading
      if (gui::PressButton(w, button)) {
        Print("    pressed [" + button + "]");
        answered.insert(w);
        idleSince = GetTickCount();
      }
    }
    if (GetTickCount() - idleSince > 120000) {
      Print("no window answered for 120 s: stopping the program");
      run.Kill();
      return 3;
    }
  }
  Print("exit code " + std::to_string(code));
  return static_cast<int>(code);
}
