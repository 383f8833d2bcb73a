#pragma once
// The lines of a digital level's data file as both level converters read
// them: every byte is kept and empty lines are skipped. A control byte is
// never dropped: dropped, the digits on both sides of it merged into one
// reading ("0<TAB>800" read as 800) and fixed-width words moved; kept, the
// field that holds it is refused. Lines are read whole, whatever their
// length.

#include <string>
#include <vector>

struct levelInputLine {
    int number; // 1-based line of the file, for messages
    std::string text;
};

// False when the file cannot be opened.
bool readLevelInputLines(const std::string& path, std::vector<levelInputLine>& lines);
