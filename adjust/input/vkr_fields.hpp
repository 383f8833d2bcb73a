#pragma once
// Pieces of the .VKR lines: fixed columns and blank-separated tokens.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A fixed field: its first column (from 0) and its width. A line that ends
// sooner gives the part that is there.
struct vkrColumn {
    std::size_t first;
    std::size_t width;
};

// The field with blanks removed at both ends (point names).
std::string vkrNameField(const std::string& line, vkrColumn column);
// The field with its leading blanks removed (the point code).
std::string vkrCodeField(const std::string& line, vkrColumn column);
// The text from `first` to the end of the line, blanks removed at both ends.
std::string vkrTextFrom(const std::string& line, std::size_t first);
// The number of the field in the C locale; nullopt when the field is empty
// after trimming or is no whole number (damagedVkrNumber names such a field
// before the record is read).
std::optional<double> vkrNumberField(const std::string& line, vkrColumn column);

// The non-empty pieces of `text` between any of the `separators`.
std::vector<std::string> vkrTokens(const std::string& text, const char* separators);
