#pragma once
// The readable form of a product's setup script that a vendor writes:
//
//   # a comment
//   APPNAME = Corvane Tabrel for Delphi 5     text or switch: the rest of the line
//   VERSION = "2.21"                          quoted: C escapes \r \n \t \0 \\ \" \xHH
//   SYSFILES:                                 list: one indented line per entry,
//     zxtabrel_d5.bpl                         each stored followed by CR LF
//
// The two byte blocks are not written here: the payload archive (CABFILE)
// comes from mksetup's PAYLOAD argument, the RAR library (UNRARDLL) from --unrar.
// A plain value is the rest of the line after "=" and the blanks that follow
// it, trailing blanks included, never the line break. A list written "KEY: raw" instead
// takes its bytes from the quoted value that follows, unchanged ("KEY: raw
// "a\r\nb""), for lists that must not end in CR LF.
#include <string>
#include <vector>

struct ScriptFileEntry {
  std::string key;
  std::string value;  // the bytes
  int line = 0;
};

struct ScriptFile {
  std::vector<ScriptFileEntry> entries;
};

// The text, switch and list keys a script file may give.
bool IsScriptKey(const std::string& key);
bool IsListKey(const std::string& key);

// Parses the text of a script file. On a mistake returns false with the line
// number and the reason in `error`.
bool ParseScriptFile(const std::string& text, ScriptFile& out, std::string& error);

// The keys an installer cannot do without: APPNAME names the product's
// uninstall entry, so a script without it (or with it empty) would write onto
// the system's list of programs itself. Returns false with the reason.
bool CheckRequiredKeys(const ScriptFile& script, std::string& error);
