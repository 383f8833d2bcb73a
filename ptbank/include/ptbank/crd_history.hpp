#pragma once
// The history companion (.his) of a coordinate file: a write-only binary log
// of every point added, changed or deleted through a CrdFile whose history
// switch is on, holding the values the point had before. Layout: the
// 15-byte header "CRD HISTORY V2" with its terminator, then records of
// variable length: the point name (zero-terminated), a 16-bit little-endian
// mask, and the fields the mask announces, in this order: action (1 byte),
// note, time (32-bit seconds since 1970 UTC), user name, former name,
// former description, former code (texts zero-terminated), former easting,
// northing and elevation (doubles, -99999999.0 = no elevation).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ptbank {

inline constexpr std::array<std::uint8_t, 15> historyHeader = {
    'C', 'R', 'D', ' ', 'H', 'I', 'S', 'T', 'O', 'R', 'Y', ' ', 'V', '2', '\0'};

namespace history_mask {
inline constexpr std::uint16_t newPoint = 0x1;
inline constexpr std::uint16_t deletedPoint = 0x2;
inline constexpr std::uint16_t nameChanged = 0x4;
inline constexpr std::uint16_t descriptionChanged = 0x8;
inline constexpr std::uint16_t codeChanged = 0x10;
inline constexpr std::uint16_t eastingChanged = 0x20;
inline constexpr std::uint16_t northingChanged = 0x40;
inline constexpr std::uint16_t elevationChanged = 0x80;
inline constexpr std::uint16_t timePresent = 0x100;
inline constexpr std::uint16_t actionPresent = 0x200;
inline constexpr std::uint16_t notePresent = 0x400;
inline constexpr std::uint16_t noteRepeated = 0x800;
inline constexpr std::uint16_t userPresent = 0x1000;
inline constexpr std::uint16_t userRepeated = 0x2000;
// A deletion keeps every former value but the name.
inline constexpr std::uint16_t deletion = deletedPoint | descriptionChanged | codeChanged |
                                          eastingChanged | northingChanged | elevationChanged;
// Callers pass this action for a change that is not to be recorded.
inline constexpr int noRecordAction = 255;
} // namespace history_mask

// The history companion of a coordinate file: same folder and name, the
// extension "his". False (and nothing stored) for an empty path.
bool historyPath(std::string_view path, std::string& out);

} // namespace ptbank
