#pragma once
// Pieces of the .VKR lines: the fixed columns of the observation records and
// the fields read from them.

#include <cstddef>
#include <optional>
#include <string>

// A fixed field: its first column (from 0) and its width. A line that ends
// sooner gives the part that is there.
struct vkrColumn {
    std::size_t first;
    std::size_t width;
    std::size_t last() const { return first + width - 1; }
};

// The columns of the '1' and '2' records; a blank column stands between
// each field and the next, up to the code.
inline constexpr vkrColumn vkrStationColumn{1, 10};
inline constexpr vkrColumn vkrHiColumn{12, 8};
inline constexpr vkrColumn vkrBacksightColumn{21, 10};
inline constexpr vkrColumn vkrTargetColumn{32, 8};
inline constexpr vkrColumn vkrReadingColumn{41, 10};
inline constexpr vkrColumn vkrDistanceColumn{52, 9};
inline constexpr vkrColumn vkrZenithColumn{62, 9};
inline constexpr vkrColumn vkrForesightColumn{72, 10};
inline constexpr vkrColumn vkrCodeColumn{83, 4};
inline constexpr std::size_t vkrDescriptionColumn = 87;

// The field with blanks removed at both ends (point names).
std::string vkrNameField(const std::string& line, vkrColumn column);
// The field with its leading blanks removed (the point code).
std::string vkrCodeField(const std::string& line, vkrColumn column);
// The text from `first` to the end of the line, blanks removed at both ends.
std::string vkrTextFrom(const std::string& line, std::size_t first);
// The number of the field in the C locale; nullopt when the field is empty
// after trimming or is no whole number (vkrRecordFault names such a field
// before the record is read).
std::optional<double> vkrNumberField(const std::string& line, vkrColumn column);
