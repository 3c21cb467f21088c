#pragma once
// The progress dialog of the extraction: visible from its creation, it runs
// no message loop and changes only through the messages sent to its two
// controls (status text 1001, bar 1000).
#include <cstdint>
#include <memory>
#include <string>

#include "dialogs/res_dialog.h"

extern const char* const kProgressStartingText;  // "Starting setup. Please wait..."
extern const char* const kProgressBuildingText;  // "Building packages..."

class TProgressDialog {
 public:
  // Creates the dialog on template 104 and shows the starting text. The
  // common controls must be initialised before.
  TProgressDialog();
  // Gives the controls their own window procedures back, then destroys the
  // dialog.
  ~TProgressDialog();
  TProgressDialog(const TProgressDialog&) = delete;
  TProgressDialog& operator=(const TProgressDialog&) = delete;
  HWND Handle() const { return dialog_.Handle(); }

  // After the counting pass: the total unpacked size of all entries.
  void SetTotal(std::uint64_t totalSize);
  // For each entry, before it is extracted or skipped: its name as stored
  // in the archive, and the unpacked sizes up to and including it.
  void ShowEntry(const std::string& entryName, std::uint64_t doneSize);
  // Once every entry is placed, before the packages are built.
  void ShowBuildingPackages();

 private:
  class HeldControl;

  void SetStatus(const std::string& text);
  // Draws what earlier entries left undrawn.
  void DrawPending();

  TResDialog dialog_;
  HWND bar_ = nullptr;
  HWND status_ = nullptr;
  bool drawingHeld_ = false;
  std::unique_ptr<HeldControl> heldBar_;
  std::unique_ptr<HeldControl> heldStatus_;
  unsigned shift_ = 0;
  std::uint64_t shownDone_ = 0;  // the done size of the entry shown last
  unsigned long drawnAt_ = 0;    // tick count of the last drawing
};
