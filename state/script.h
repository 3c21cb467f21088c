#pragma once
// The setup script: named RT_RCDATA resources of the installer's own module,
// one per key, whose bytes are the key's value. A missing key is empty.
#include <windows.h>

#include <string>

struct ScriptResource {
  const char* data = nullptr;
  size_t size = 0;
  HGLOBAL handle = nullptr;
};

ScriptResource LoadScriptResource(const std::string& key);
void ReleaseScriptResource(HGLOBAL handle);

// Owns one loaded resource (the byte-block keys), released on every path.
class LoadedScriptResource {
 public:
  explicit LoadedScriptResource(const std::string& key) : r_(LoadScriptResource(key)) {}
  ~LoadedScriptResource() { ReleaseScriptResource(r_.handle); }
  LoadedScriptResource(const LoadedScriptResource&) = delete;
  LoadedScriptResource& operator=(const LoadedScriptResource&) = delete;
  const char* Data() const { return r_.data; }
  size_t Size() const { return r_.size; }

 private:
  ScriptResource r_;
};

// The key's bytes, all of them, unchanged; read afresh on every call.
std::string ReadScriptString(const std::string& key);
// A switch matches only when the value is exactly `word`, byte for byte.
bool ScriptSwitchIs(const std::string& key, const char* word);
