#pragma once
// Constants of the RAR archive format (versions 4 and 5), shared by the writer
// here and the header scan of our unrar.dll, so both read one definition.
#include <cstdint>

// RAR 5: signature, block types, block flags, file flags.
inline constexpr char kRar5Signature[] = "Rar!\x1A\x07\x01\x00";  // 8 bytes
inline constexpr std::uint64_t kRar5MainHeader = 1;
inline constexpr std::uint64_t kRar5FileHeader = 2;
inline constexpr std::uint64_t kRar5EncryptionHeader = 4;
inline constexpr std::uint64_t kRar5EndHeader = 5;
inline constexpr std::uint64_t kRar5HasExtra = 0x01;          // block flag: an extra area size follows
inline constexpr std::uint64_t kRar5HasData = 0x02;           // block flag: a data area follows
inline constexpr std::uint64_t kRar5SplitBefore = 0x08;       // block flag: continued from the previous volume
inline constexpr std::uint64_t kRar5SplitAfter = 0x10;        // block flag: continued in the next volume
inline constexpr std::uint64_t kRar5FileFolder = 0x01;        // file flag
inline constexpr std::uint64_t kRar5FileHasTime = 0x02;       // file flag: a 4-byte Unix time follows
inline constexpr std::uint64_t kRar5FileHasCrc = 0x04;        // file flag: a CRC32 follows
inline constexpr std::uint64_t kRar5SolidArchive = 0x04;      // main header archive flag
inline constexpr std::uint64_t kRar5SolidCompression = 0x40;  // compression info bit
inline constexpr unsigned kRar5MethodShift = 7;               // compression info: method 0 (stored) to 5, bits 7-9
inline constexpr unsigned kRar5WindowShift = 10;              // compression info: window 128 KB << n, bits 10-13
inline constexpr std::uint64_t kRar5HostWindows = 0;

// RAR 4 (read only): signature, block types and flags.
inline constexpr char kRar4Signature[] = "Rar!\x1A\x07\x00";  // 7 bytes
inline constexpr std::uint64_t kRar4MainHeader = 0x73;
inline constexpr std::uint64_t kRar4FileHeader = 0x74;
inline constexpr std::uint64_t kRar4ServiceHeader = 0x7A;
inline constexpr std::uint64_t kRar4EndHeader = 0x7B;
inline constexpr std::uint64_t kRar4EncryptedHeaders = 0x80;  // main header flag
inline constexpr std::uint64_t kRar4SplitBefore = 0x01;       // file flags from here on
inline constexpr std::uint64_t kRar4SplitAfter = 0x02;
inline constexpr std::uint64_t kRar4Encrypted = 0x04;
inline constexpr std::uint64_t kRar4Solid = 0x10;
inline constexpr std::uint64_t kRar4FolderMask = 0xE0;  // all three bits set: a folder
inline constexpr std::uint64_t kRar4LargeFile = 0x100;  // high 32 bits of the sizes follow
inline constexpr std::uint64_t kRar4UnicodeName = 0x200;
inline constexpr std::uint64_t kRar4HasAddSize = 0x8000;  // any block: a data size follows
inline constexpr std::uint64_t kRar4HostWin32 = 2;        // host codes, also what the library reports for RAR 5
inline constexpr std::uint64_t kRar4HostUnix = 3;
