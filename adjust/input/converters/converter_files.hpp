#pragma once
// What the file converters share: their status values, reading the input,
// writing the output whole or not at all, the place of a fault in the
// input, and the faults of refused input fields.
//
// A converter reads its whole input before it writes anything. The output
// goes to a temporary file beside the target, which is then renamed over it,
// so a failed conversion never leaves half a file nor replaces a good one.

#include "platform/record_fields.hpp"

#include <string>
#include <string_view>
#include <vector>

// Results of every converter.
inline constexpr int conversionDone = 0;
inline constexpr int conversionFailed = 1;

// The lines of a text file without their line ends (LF or CR LF; a last line
// without one is still read). False when the file cannot be opened (errno
// says why).
bool readInputLines(const std::string& path, std::vector<std::string>& lines);

// The bytes of a whole file. False when it cannot be opened or read (errno
// says why).
bool readInputBytes(const std::string& path, std::string& bytes);

// Writes `text` to `path` by temporary file and rename. False when that fails
// (errno says why); any file already at `path` is then unchanged.
bool writeConvertedFile(const std::string& path, const std::string& text);

// The message of a file that could not be read or written: `prefix`, the
// path, ": " and the system's reason (errno as the failed call left it).
std::string fileFailure(const char* prefix, const std::string& path);

// The failure of an input that yielded nothing to convert: "No <what> were
// found in <path>: nothing was written." A converter never replaces an
// output with an empty file.
std::string nothingFoundIn(const std::string& path, const char* what);

// "<path>, line <line>: <what>", the form of every fault found in an input.
std::string faultAtLine(const std::string& path, int line, const std::string& what);

// The fault of a record one of whose fields was refused: `needs`, which
// names every field the record must have, when the field is missing; else the
// refusal's own sentence, which names the field and quotes its text.
std::string fieldFault(const platform::FieldError& error, std::string_view needs);

// True when the text holds nothing but blanks.
bool isBlankText(std::string_view text);
