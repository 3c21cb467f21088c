#include "support/message_box.h"

#include <windows.h>

const char* const kCaptionWelcome = "Welcome!";
const char* const kCaptionSetup = "Setup";
const char* const kCaptionError = "Installation Error";
const char* const kCaptionWarning = "Installation Warning";
const char* const kCaptionFailure = "An error occured during installation.";

int ShowMessage(const std::string& text, const char* caption, unsigned flags) {
  return MessageBoxA(nullptr, text.c_str(), caption, flags);
}
