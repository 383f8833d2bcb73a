#pragma once
// The small text edits the raw-file readers make on each line, in place.
// Blanks are spaces.

#include <string>
#include <string_view>

// Removes the leading blanks.
void trimLeadingBlanks(std::string& text);

// Removes trailing LF, CR and blanks, but never the first character; returns
// the index of the last character kept (-1 for an empty text).
int trimRawLine(std::string& text);

// Removes the leading blanks, then the trailing blanks.
void trimBlanks(std::string& text);

// The text without its leading and trailing blanks.
std::string_view trimmedBlanks(std::string_view text);
