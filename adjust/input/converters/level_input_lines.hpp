#pragma once
// The lines of a digital level's data file as both level converters read
// them: CR and the characters 0x20 to 0x7F are kept, every other byte is
// dropped, a trailing CR is removed and lines left empty are skipped.
// Lines are read whole, whatever their length.

#include <string>
#include <vector>

struct levelInputLine {
    int number; // 1-based line of the file, for messages
    std::string text;
};

// False when the file cannot be opened.
bool readLevelInputLines(const std::string& path, std::vector<levelInputLine>& lines);
