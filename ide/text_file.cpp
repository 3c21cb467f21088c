#include "ide/text_file.h"

#include "support/errors.h"
#include "support/files.h"
#include "support/text.h"

std::string LoadTextFile(const std::string& path) {
  std::string text;
  switch (ReadWholeFile(path, text)) {
    case FileStatus::kOk:
      return text;
    case FileStatus::kCannotOpen:
      throw FileError(FormatText("Cannot open file %s", {path}));
    case FileStatus::kFailedPartWay:
      break;
  }
  throw FileError(FormatText("Cannot read file %s", {path}));
}

void SaveTextFile(const std::string& path, const std::string& text) {
  switch (WriteWholeFile(path, text)) {
    case FileStatus::kOk:
      return;
    case FileStatus::kCannotOpen:
      throw FileError(FormatText("Cannot create file %s", {path}));
    case FileStatus::kFailedPartWay:
      break;
  }
  throw FileError(FormatText("Cannot write file %s", {path}));
}
