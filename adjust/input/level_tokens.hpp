#pragma once
// The token rules both level file formats share (internal to the readers).

#include "input/level_file_reader.hpp"
#include "input/level_records.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leveltext {

// The line's two-letter record code, or "" for a shorter line.
std::string_view recordCode(const std::string& line);

// The tokens after the code and its comma: split at commas, consecutive
// commas counting as one, blanks and tabs around each token removed. A
// description ("--") runs to the end of the line, commas and all.
std::vector<std::string> tokensOf(const std::string& line);

// A line whose code is none of its format's: no record when it is blank,
// else a damaged code, refused with the sentence in `fault` (read as no
// record, a turning point or the start of a run was lost and the readings
// after it went to the wrong points).
levelLineResult unknownCodeLine(const std::string& line, std::string& fault);

// What a record says of a token its code has no place for:
// `The field "800" has no place in a TP record.`
std::string unplacedTokenSentence(std::string_view token, std::string_view code);

// A token's two-letter tag and the value after it.
std::string_view tagOf(std::string_view token);
std::string_view valueOf(std::string_view token);

// Reads the lines of a level file and hands each, as it stands, to `onLine`
// with its 1-based number, until `onLine` says false; posts "Reading level data" and the
// share of bytes read to the progress dialog. False, after the message
// "Error opening %s: <reason>", when the file cannot be opened (or is no
// regular file), or "Error reading %s after line %d"; false too when
// `onLine` stopped the reading.
bool forEachLine(const std::string& path,
                 const std::function<bool(const std::string& line, int lineNumber)>& onLine);

// The message of a refused record, "Level file <path>, line <n>: <sentence>
// Record: <record>", written to the report and the error report and shown.
void reportRefusedLine(const std::string& path, int lineNumber, const std::string& sentence,
                       const std::string& line);

// The description of a "--" token, cut to the description length.
std::string descriptionOf(std::string_view token);

// Empties `list` and reads the file's records into it with `parse`. False
// when the file cannot be opened, and at a malformed line, after its
// message: a record left out would hand its readings to the records after
// it (a turning point dropped moves every later elevation of its run).
template <class Record>
bool readRecords(rawRecListOf<Record>& list, const std::string& path,
                 levelLineResult (*parse)(const std::string&, Record&, std::string&)) {
    list.clear();
    const bool read = forEachLine(path, [&](const std::string& line, int lineNumber) {
        Record record;
        std::string fault;
        const levelLineResult result = parse(line, record, fault);
        if (result == levelLineResult::malformed) {
            reportRefusedLine(path, lineNumber, fault, line);
            return false;
        }
        if (result == levelLineResult::record)
            list.append(record);
        return true;
    });
    if (!read)
        list.clear();
    return read;
}

} // namespace leveltext
