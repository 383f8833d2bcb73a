#pragma once
// Small text routines for fields, blanks and delimited values, used across
// the program. Texts are bytes; "blank" means the space character only.

#include <string>
#include <vector>

#include "model/packed_degrees.hpp"

// The text without any of `characters` at either end.
std::string trimmedOf(std::string text, const char* characters);

// The field as n copies of `c`.
void fillField(std::string& field, char c, std::size_t n);

// Trims white space (blank, tab, CR, LF, VT, FF) at both ends, then replaces
// each pair of blanks by one blank in a single left-to-right pass (four
// blanks become two). Returns the number of pairs replaced.
int squeezeBlanks(std::string& text);

// Removes trailing CR, LF and blanks, then leading blanks.
void trimLineEnd(std::string& text);

// 1 plus the number of blanks, commas and tabs in the text.
int countFields(const std::string& text);

void stripLeadingBlanks(std::string& text);
void stripTrailingBlanks(std::string& text);
// Trailing, then leading blanks (tabs are not blanks).
void stripBlanks(std::string& text);
void removeAllBlanks(std::string& text);

// Field n (from 0) of the text, fields being the runs between delimiters
// (two delimiters in a row make an empty field; the last runs to the end).
// 0 when found; 1, `field` untouched, when the text is empty or has fewer
// than n + 1 fields.
int getDelimitedField(const std::string& text, std::string& field, char delimiter, int n);

// 1 when the number at the start of the text lies in -90..90 (latitude) or
// -180..180 (longitude), else 0.
int isValidLatText(const std::string& text);
int isValidLonText(const std::string& text);

// A signed packed dd.mmss value in decimal degrees (-45.3 gives -45.5).
inline double signedDmsToDegrees(double packed) {
    return dmsToDegrees(packed);
}

// A top-level window of the program as the shell lists them, front to back.
struct TopLevelWindow {
    const void* handle;
    std::string title;
};

// Finds the first window after the frontmost one (which is not tested) whose
// title (its first 999 characters) contains `text`, case-sensitively. With
// `resume`, the search goes on after the window found by the previous call.
// The window found, or null, goes to `found` and is remembered for the next
// resumed call; returns non-zero when one was found. An empty text finds
// nothing and leaves `found` alone.
int findWindowByTitle(const std::vector<TopLevelWindow>& windows, const std::string& text,
                      const void*& found, bool resume);
