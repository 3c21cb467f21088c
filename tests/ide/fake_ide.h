#pragma once
// Substitute IDE editions for the tests, made with fakeide and removed again
// at the end of the test (the tests share one Wine prefix).
#include <string>

#include "guidriver/driver.h"

namespace fakeide {

// An edition installed into `root` (a full path) for the lifetime of the
// object; `options` are extra install arguments such as "--build 1.2".
class Edition {
 public:
  Edition(const std::string& code, const std::string& root, const std::string& options = "");
  ~Edition();
  Edition(const Edition&) = delete;
  Edition& operator=(const Edition&) = delete;
  // The root folder with a trailing backslash.
  const std::string& Root() const { return root_; }

 private:
  std::string code_;
  std::string root_;
};

// Removes the edition's keys and folder (what any earlier run may have left),
// forced: the tests' prefix is a throwaway one, with no real IDE in it.
void Uninstall(const std::string& code);

// "fakeide run" with the given window classes, until the object goes.
class RunningIde {
 public:
  explicit RunningIde(const std::string& classes);
  ~RunningIde();

 private:
  gui::Program program_;
};

extern const char* const kAllIdeWindows;  // the three classes, comma-separated

}  // namespace fakeide
