#include "state/script.h"

ScriptResource LoadScriptResource(const std::string& key) {
  ScriptResource r;
  HRSRC info = FindResourceA(nullptr, key.c_str(), RT_RCDATA);
  if (!info) return r;
  r.handle = LoadResource(nullptr, info);
  if (!r.handle) return r;
  r.data = static_cast<const char*>(LockResource(r.handle));
  r.size = r.data ? SizeofResource(nullptr, info) : 0;
  return r;
}

void ReleaseScriptResource(HGLOBAL handle) {
  if (handle) FreeResource(handle);
}

std::string ReadScriptString(const std::string& key) {
  LoadedScriptResource r(key);
  return (r.Data() && r.Size() > 0) ? std::string(r.Data(), r.Size()) : std::string();
}

bool ScriptSwitchIs(const std::string& key, const char* word) { return ReadScriptString(key) == word; }
