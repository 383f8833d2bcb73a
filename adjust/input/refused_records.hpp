#pragma once
// The one line every reader of a user's text file writes for a record it
// refuses: where the record stands, why (the refusal's own sentence) and the
// record as a message may quote it (bounded, control bytes shown by name),
// so that the user finds the slip and no message is cut at a NUL or holds a
// whole megabyte-long line:
//   <path>, line <n>: The foresight "1.3x0" is not a number. Record: TP,PN2,FS1.3x0

#include "platform/record_fields.hpp"

#include <string>
#include <string_view>

std::string refusedRecordLine(std::string_view path, int line, std::string_view sentence,
                              std::string_view record);

inline std::string refusedRecordLine(std::string_view path, int line,
                                     const platform::FieldError& error, std::string_view record) {
    return refusedRecordLine(path, line, error.sentence(), record);
}

// A point name is never cut to the 10 characters the lists hold: cut, it
// names another point (names are the same point when their first 10
// characters agree). The sentence refusing a longer name, or empty.
std::string longPointNameFault(std::string_view name);
