#pragma once
// The failures that end an installation run. Each carries a text saying what
// went wrong; the one handler at the entry point catches them all, passes the
// text to the debugger output and tells the user only "Installation failed.".
#include <exception>
#include <string>

// Holds its text itself: std::runtime_error would bring a second string
// class of the C++ runtime into the installer.
class InstallError : public std::exception {
 public:
  explicit InstallError(const std::string& message) : message_(message) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A registry value could not be read or written as expected.
class RegistryError : public InstallError {
 public:
  using InstallError::InstallError;
};

// A file the installer must read or write could not be opened or created.
class FileError : public InstallError {
 public:
  using InstallError::InstallError;
};

// Thrown after the user has already been told what went wrong (a failed
// package build): ends the run like any other failure.
class AbortError : public InstallError {
 public:
  AbortError() : InstallError("Operation aborted") {}
};

// An index outside a list's items: a fault of the caller, not of the input.
class ListIndexError : public InstallError {
 public:
  explicit ListIndexError(int index) : InstallError("List index out of bounds (" + std::to_string(index) + ")") {}
};
