#pragma once
// Reads an extended dialog template (DLGTEMPLATEEX) from its bytes, for
// comparing the built program's resources with what they must hold.
#include <cstdint>
#include <string>
#include <vector>

struct DialogItem {
  std::uint32_t helpId = 0, exStyle = 0, style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0;
  std::string windowClass;  // a name, or "#n" for an ordinal
  std::string text;
  std::uint16_t extraCount = 0;
};

struct DialogTemplate {
  std::uint16_t version = 0, signature = 0;
  std::uint32_t helpId = 0, exStyle = 0, style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string menu, windowClass, title;
  std::uint16_t pointSize = 0, weight = 0;
  std::uint8_t italic = 0, charset = 0;
  std::string typeface;
  std::vector<DialogItem> items;
};

// False, with the offset where it went wrong in `error`, for bytes that are
// not a whole extended template.
bool ParseDialogTemplate(const std::string& bytes, DialogTemplate& out, std::string* error);
