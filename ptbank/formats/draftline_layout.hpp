#pragma once
// Byte layouts of the numeric and alphanumeric .crd files. Little-endian
// doubles, texts zero-terminated and zero-padded in fixed fields.
//
// Numeric file: 56-byte records; record 0 is the header, point n is record n.
//   header:  0 highest point number (double)  8 header number (double)
//           16 date as YYYY.MMDD (double)     24 title (32)
//   point:   0 northing  8 easting  16 elevation (doubles)  24 description (32)
// Alphanumeric file: 104-byte header, then 66-byte records sorted by name.
//   header:  0 header number (double)  8 date text (32)  40 title (32)
//           72 marker "New CRD Format2" (16)  88 unused (16)
//   point:   0 northing  8 easting  16 elevation  24 description (32)  56 name (10)

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ptbank::draftline {

inline constexpr std::size_t numericRecordSize = 56;
inline constexpr std::size_t alphaHeaderSize = 104;
inline constexpr std::size_t alphaRecordSize = 66;
inline constexpr std::size_t textField = 32; // description, title, date text
inline constexpr std::size_t nameField = 10;
inline constexpr std::size_t alphaNameOffset = 56;
// Fields of a point record of either file.
inline constexpr std::size_t northingOffset = 0;
inline constexpr std::size_t eastingOffset = 8;
inline constexpr std::size_t elevationOffset = 16;
inline constexpr std::size_t descriptionOffset = 24;
inline constexpr std::size_t markerOffset = 72;
inline constexpr std::size_t markerVersionOffset = 86;
inline constexpr std::string_view markerStem = "New CRD Format";
inline constexpr std::string_view currentMarker = "New CRD Format2";
inline constexpr long pointNumberLimit = 100000;

// One point as a record holds it.
struct DiskPoint {
    double northing = 0.0;
    double easting = 0.0;
    double elevation = 0.0;
    std::string description;
    std::string name; // alphanumeric records only
};

using NumericRecord = std::array<std::uint8_t, numericRecordSize>;
using AlphaRecord = std::array<std::uint8_t, alphaRecordSize>;
using AlphaHeader = std::array<std::uint8_t, alphaHeaderSize>;

NumericRecord encodeNumeric(const DiskPoint& point);
DiskPoint decodeNumeric(const NumericRecord& record);
AlphaRecord encodeAlpha(const DiskPoint& point);
DiskPoint decodeAlpha(const AlphaRecord& record);
// The name of an alphanumeric record alone.
std::string decodeAlphaName(std::span<const std::uint8_t, alphaRecordSize> record);

// A slot without a point: northing, easting and elevation all exactly 0.0.
bool isEmptySlot(const DiskPoint& point);
// The record written into the slots between stored points.
NumericRecord emptyNumericRecord();

// Reads and writes the fields of a header held in memory.
double readDouble(const std::uint8_t* at);
void writeDouble(std::uint8_t* at, double value);
std::string readText(const std::uint8_t* at, std::size_t width);
// At most width - 1 bytes of the text, the rest of the field zero.
void writeText(std::uint8_t* at, std::size_t width, std::string_view text);

} // namespace ptbank::draftline
