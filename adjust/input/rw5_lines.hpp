#pragma once
// The lines of an .RW5 raw file and the pieces of one record.
//
// A record is one line of comma-separated tokens: the first token is the
// record code, every other token a prefix (two letters, or one letter that a
// blank may follow) and its value. A token that starts with "--" begins the
// description, which runs to the end of the line, commas included. Prefixes
// are skipped by their length; their letters are read only where a record's
// meaning depends on them (the sight tokens, "LS").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One .RW5 file held in memory, so the reader can look ahead and come back.
struct Rw5File {
    std::string path;               // as opened, for messages
    std::vector<std::string> lines; // without their line ends
};

// Reads the whole file; false when it cannot be opened or read (nothing is
// created), with "Error opening <path>: <reason>" in `error`.
bool loadRw5File(const std::string& path, Rw5File& file, std::string& error);

struct Rw5Record {
    std::string code;
    std::vector<std::string> tokens; // after the code, up to the description
    std::string description;         // the text after "--"
    bool hasDescription = false;
};

Rw5Record splitRw5Record(std::string_view line);

// The token at `index` of the record (0 is the first after the code), or an
// empty text when the record has fewer.
std::string_view rw5Token(const Rw5Record& record, std::size_t index);

// The value text of a token with a prefix of `prefixLength` characters,
// blanks removed at both ends.
std::string rw5ValueText(std::string_view token, std::size_t prefixLength);

// The number of a token, or none when its value text is empty or is no whole
// number in the C locale (rw5RecordFault names such a token first).
std::optional<double> rw5Number(std::string_view token, std::size_t prefixLength);

// The first token of the record, point names aside, whose value (after a
// prefix of one or two characters) is a number that is no data; empty when
// there is none.
std::string nonDataNumberToken(const Rw5Record& record);

// The value of a token as a point name (prefix skipped, blanks removed).
inline std::string rw5Name(std::string_view token, std::size_t prefixLength = 2) {
    return rw5ValueText(token, prefixLength);
}

// True when `line` starts with `prefix`, letters compared without regard to case.
bool startsWithIgnoringCase(std::string_view line, std::string_view prefix);

// "--Elevation: 3D" and "--Elevation: 2D" note lines switch the use of
// heights on and off: the first 15 characters, any letter case.
bool isHeightsOnNote(std::string_view line);
bool isHeightsOffNote(std::string_view line);

// The text upper-cased (ASCII letters only).
std::string upperAscii(std::string_view text);
