#pragma once
// The start-up hand-over: a host program that starts Tarnwell names a raw-data
// file and a coordinate file in the shared-memory block "LS_Settings", two
// NUL-terminated strings back to back. "NORAW", "NOCRD" or an empty string
// means none. Every copy out of the block is bounded by the block and by the
// 260-byte buffers of the names.

#include <cstddef>
#include <span>
#include <string>

class globalVars;

inline constexpr const char* hostHandOverBlock = "LS_Settings";
// Room for one file name of the block, its NUL included.
inline constexpr std::size_t hostNameBufferSize = 260;

// A read position in a mapped block.
struct SharedCursor {
    std::span<const char> block;
    std::size_t offset = 0;
};

// With n > 0 copies n bytes at the cursor, with n = 0 the string at the
// cursor; the destination then ends with a NUL. The cursor moves past what
// was taken (a string's NUL included), never past the block. What does not
// fit the destination is refused, not cut: the destination is left empty.
// Returns the destination.
char* takeSharedString(SharedCursor& cursor, std::span<char> destination, std::size_t n);

// Copies the two names of the block, the raw-data file name first.
void readHostFileNames(std::span<const char> block, std::span<char, hostNameBufferSize> rawName,
                       std::span<char, hostNameBufferSize> crdName);

// Takes the names of the block `blockName`, when a host created it: a raw name
// other than "" and "NORAW" becomes `pInputFileName`, a coordinate name other
// than "" and "NOCRD" becomes `crdFileName`, each as it stands. Returns 0 when
// the block was read, 1 when there is none.
int readHostHandOver(globalVars& settings, const std::string& blockName = hostHandOverBlock);
