#pragma once
// Every message the installer shows goes through here: no owner window.
#include <string>

// The captions the installer uses.
extern const char* const kCaptionWelcome;  // "Welcome!"
extern const char* const kCaptionSetup;    // "Setup"
extern const char* const kCaptionError;    // "Installation Error"
extern const char* const kCaptionWarning;  // "Installation Warning"
extern const char* const kCaptionFailure;  // "An error occured during installation."

// Shows a message box and returns the button pressed (IDOK, IDCANCEL, ...).
int ShowMessage(const std::string& text, const char* caption, unsigned flags);
