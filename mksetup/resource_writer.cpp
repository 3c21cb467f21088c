#include "mksetup/resource_writer.h"

#include <windows.h>

bool WriteScriptResources(const std::string& exePath, const ScriptValues& values, std::string* error) {
  HANDLE update = BeginUpdateResourceA(exePath.c_str(), FALSE);
  if (!update) {
    if (error)
      *error = "cannot open " + exePath + " for writing resources (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  for (const auto& [key, value] : values) {
    // The system cannot store a resource of 0 bytes; an empty key reads
    // exactly like a missing one, so an empty value removes the key instead.
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    if (value.empty()) {
      UpdateResourceA(update, RT_RCDATA, key.c_str(), neutral, nullptr, 0);
      continue;
    }
    if (!UpdateResourceA(update, RT_RCDATA, key.c_str(), neutral, const_cast<char*>(value.data()),
                         static_cast<DWORD>(value.size()))) {
      if (error) *error = "cannot add the resource " + key + " (error " + std::to_string(GetLastError()) + ")";
      EndUpdateResourceA(update, TRUE);
      return false;
    }
  }
  if (!EndUpdateResourceA(update, FALSE)) {
    if (error)
      *error = "cannot write the resources into " + exePath + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  return true;
}
