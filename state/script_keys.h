#pragma once
// The setup script's keys: the names of the installer's RT_RCDATA resources,
// written by mksetup (and the test harness) and read by the installer. Pure
// names, no Windows headers, so that the tools can share them.
namespace scriptkey {

// Text and switch keys.
inline constexpr char kAppName[] = "APPNAME";
inline constexpr char kProductName[] = "PRODUCTNAME";
inline constexpr char kSubProductName[] = "SUBPRODUCTNAME";
inline constexpr char kVersion[] = "VERSION";
inline constexpr char kInternalVersion[] = "INTERNALVERSION";
inline constexpr char kInstallDir[] = "INSTALLDIR";
inline constexpr char kDelphiVer[] = "DELPHIVER";
inline constexpr char kCheckPrevVersion[] = "CHECKPREVVERSION";
inline constexpr char kCheckDelphi[] = "CHECKDELPHI";
inline constexpr char kPromptInstallDir[] = "PROMPTINSTALLDIR";
inline constexpr char kRunAfterInstall[] = "RUNAFTERINSTALL";
inline constexpr char kSuccessMessage[] = "SUCCESSMESSAGE";

// List keys: entries each followed by CR LF.
inline constexpr char kSysFiles[] = "SYSFILES";
inline constexpr char kHelpFiles[] = "HELPFILES";
inline constexpr char kBuildPackages[] = "BUILDPACKAGES";
inline constexpr char kProgLinks[] = "PROGLINKS";
inline constexpr char kPackages[] = "PACKAGES";

// Byte blocks: the payload archive and the RAR library.
inline constexpr char kCabFile[] = "CABFILE";
inline constexpr char kUnrarDll[] = "UNRARDLL";

inline constexpr const char* kTextKeys[] = {kAppName,         kProductName,      kSubProductName,  kVersion,
                                            kInternalVersion, kInstallDir,       kDelphiVer,       kCheckPrevVersion,
                                            kCheckDelphi,     kPromptInstallDir, kRunAfterInstall, kSuccessMessage};
inline constexpr const char* kListKeys[] = {kSysFiles, kHelpFiles, kBuildPackages, kProgLinks, kPackages};

}  // namespace scriptkey
