#pragma once
// The token rules both level file formats share (internal to the readers).

#include "input/level_file_reader.hpp"
#include "input/level_records.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leveltext {

// The line's two-letter record code, or "" for a shorter line.
std::string_view recordCode(const std::string& line);

// The tokens after the code and its comma: split at commas, consecutive
// commas counting as one, blanks around each token removed.
std::vector<std::string> tokensOf(const std::string& line);

// A token's two-letter tag and the value after it.
std::string_view tagOf(std::string_view token);
std::string_view valueOf(std::string_view token);

// A finite decimal number in the C locale, or nothing.
std::optional<double> number(std::string_view text);

// Reads the lines of a level file, bytes below blank dropped, and hands each
// to `onLine` with its 1-based number; posts "Reading level data" and the
// share of bytes read to the progress dialog. False, after the message
// "Error opening %s: <reason>", when the file cannot be opened (or is no
// regular file), or "Error reading %s after line %d".
bool forEachLine(const std::string& path,
                 const std::function<void(const std::string& line, int lineNumber)>& onLine);

// The line naming file, line and text of a record that was not read, written
// to the report and the error report.
void reportUnreadLine(const std::string& path, int lineNumber, const std::string& line);

// The description of a "--" token, cut to the description length.
std::string descriptionOf(std::string_view token);

// Empties `list` and reads the file's records into it with `parse`; a
// malformed line is reported and left out. False when the file cannot be
// opened.
template <class Record>
bool readRecords(rawRecListOf<Record>& list, const std::string& path,
                 levelLineResult (*parse)(const std::string&, Record&)) {
    list.clear();
    return forEachLine(path, [&](const std::string& line, int lineNumber) {
        Record record;
        const levelLineResult result = parse(line, record);
        if (result == levelLineResult::record)
            list.append(record);
        else if (result == levelLineResult::malformed)
            reportUnreadLine(path, lineNumber, line);
    });
}

} // namespace leveltext
