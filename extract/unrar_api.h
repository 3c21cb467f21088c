#pragma once
// The RAR extraction library's published interface: records, constants and
// entry points, shared by the installer's binding and our own library so
// both sides use one layout. The records are packed, as the library's.
#include <cstdint>

#define ZX_RAR_CALL __stdcall

#pragma pack(push, 1)
struct RAROpenArchiveData {
  char* ArcName;
  unsigned int OpenMode;
  unsigned int OpenResult;
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
};

struct RARHeaderData {
  char ArcName[260];
  char FileName[260];
  unsigned int Flags;
  unsigned int PackSize;
  unsigned int UnpSize;
  unsigned int HostOS;
  unsigned int FileCRC;
  unsigned int FileTime;
  unsigned int UnpVer;
  unsigned int Method;
  unsigned int FileAttr;
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
};
#pragma pack(pop)

// RARHeaderData::Flags.
enum : unsigned int {
  RHDF_SPLITBEFORE = 0x01,
  RHDF_SPLITAFTER = 0x02,
  RHDF_ENCRYPTED = 0x04,
  RHDF_SOLID = 0x10,
  RHDF_DIRECTORY = 0x20
};
// RARHeaderData::HostOS.
enum : unsigned int { RAR_HOST_WIN32 = 2, RAR_HOST_UNIX = 3 };

enum : unsigned int { RAR_OM_LIST = 0, RAR_OM_EXTRACT = 1, RAR_OM_LIST_INCSPLIT = 2 };
enum : int { RAR_SKIP = 0, RAR_TEST = 1, RAR_EXTRACT = 2 };
enum : int {
  ERAR_END_ARCHIVE = 10,
  ERAR_NO_MEMORY = 11,
  ERAR_BAD_DATA = 12,
  ERAR_BAD_ARCHIVE = 13,
  ERAR_UNKNOWN_FORMAT = 14,
  ERAR_EOPEN = 15,
  ERAR_ECREATE = 16,
  ERAR_ECLOSE = 17,
  ERAR_EREAD = 18,
  ERAR_EWRITE = 19,
  ERAR_SMALL_BUF = 20,
  ERAR_UNKNOWN = 21,
  ERAR_MISSING_PASSWORD = 22
};

using RarArchiveHandle = void*;
using ChangeVolProc = int(ZX_RAR_CALL*)(char* arcName, int mode);
using ProcessDataProc = int(ZX_RAR_CALL*)(unsigned char* addr, int size);

using RAROpenArchiveFn = RarArchiveHandle(ZX_RAR_CALL*)(RAROpenArchiveData* data);
using RARCloseArchiveFn = int(ZX_RAR_CALL*)(RarArchiveHandle archive);
using RARReadHeaderFn = int(ZX_RAR_CALL*)(RarArchiveHandle archive, RARHeaderData* header);
using RARProcessFileFn = int(ZX_RAR_CALL*)(RarArchiveHandle archive, int operation, char* destPath, char* destName);
using RARSetChangeVolProcFn = void(ZX_RAR_CALL*)(RarArchiveHandle archive, ChangeVolProc proc);
using RARSetProcessDataProcFn = void(ZX_RAR_CALL*)(RarArchiveHandle archive, ProcessDataProc proc);
using RARSetPasswordFn = void(ZX_RAR_CALL*)(RarArchiveHandle archive, char* password);

static_assert(sizeof(RARHeaderData) == 520 + 9 * 4 + sizeof(char*) + 3 * 4, "packed as the library's record");
