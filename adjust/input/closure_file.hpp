#pragma once
// The closure definition file (.cls): the traverses and GPS loops whose
// closures a run computes. One record a line, a keyword and after the first
// blank, comma or tab its value:
//   TRAV_LIST     a point sequence (input/point_sequence.hpp); several lines add up
//   ANG_CLOSURE   ON or OFF: compute the angular closure
//   VERT_CLOSURE  ON or OFF: compute the vertical closure
//   TRAV_END      ends one definition: the point list and the settings make a closure
//   TRAV_TYPE     LOOP_INTERIOR_REF, LOOP_EXTERIOR_REF, PT_TO_PT or GPS_LOOP (0 to 3)
// A line is trimmed, has each pair of blanks made one and is upper-cased; the
// first keyword found anywhere in it, in the order above, decides. A line
// ends at LF, CR LF or CR, and a last line without a line end is read like
// the others. Settings carry over from one definition to the next.
//
// A damaged record is refused, never mended: a line without keyword, a
// field holding a control byte (deleting the byte would merge what stood on
// either side of it into another name), a point name longer than the lists
// hold or a setting's value outside its words above. Its message names the
// file, the line and the field.
//
// Written files hold five CR LF lines per definition: VERT_CLOSURE,
// ANG_CLOSURE, TRAV_TYPE, TRAV_LIST and TRAV_END.

#include "input/point_sequence.hpp"
#include "platform/record_fields.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Keyword indices of a record.
enum closureKeyword : int {
    kwTravList = 0,
    kwAngClosure = 1,
    kwVertClosure = 2,
    kwTravEnd = 3,
    kwTravType = 4,
    kwNone = 5, // a line without keyword
};

// Closure types.
enum closureType : int {
    loopInteriorRef = 0,
    loopExteriorRef = 1,
    pointToPoint = 2,
    gpsLoop = 3,
};

struct ClosureRecord {
    int keyword = kwNone;
    std::string value; // after the first separator; empty when the line has one field
    std::string text;  // the line as kept, squeezed and upper-cased
    int lineNumber = 0;
    std::string refusal; // why the record is refused; empty when it is whole
};

// A line as a keyword file keeps it: upper-cased, trimmed, with each pair of
// blanks made one. No byte is deleted.
std::string keptRecordText(const std::string& line);

// The refusal of a field of a keyword line that holds a control byte; none
// for an empty field. `field` is how the message names it.
std::optional<platform::FieldError> controlByteFault(std::string_view text, std::string_view field);

// The refusal of the text before a kept line's `value` (its keyword) when it
// holds a control byte.
std::optional<platform::FieldError> keywordFault(const std::string& text, const std::string& value);

// A range "A-B" (or a name) of a keyword file: each end that is not empty
// read as a point name, so that none is cut or holds a control byte.
std::optional<platform::FieldError> rangeFault(std::string_view range);

// The line of a keyword file's refused record: "Error parsing record: <the
// record as recordExcerpt quotes it>\r\nFile: <path>, line <n>: <sentence>".
std::string keywordRecordRefusal(std::string_view path, int line, std::string_view record,
                                 std::string_view sentence);

// The value of a kept line: the text after its first blank, comma or tab;
// empty when the line has fewer than two fields.
std::string recordValueOf(const std::string& text);

// The record one line of the file makes; a damaged one carries its refusal.
ClosureRecord closureRecordOf(const std::string& line, int lineNumber);

// The message of a refused record of the file at `path`.
std::string closureRecordRefusal(const std::filesystem::path& path, const ClosureRecord& record);

// Every record of the file in order. False when the file cannot be opened
// or read (a folder or a device is not opened); the file is never created.
bool readClosureRecords(const std::filesystem::path& path, std::vector<ClosureRecord>& records);

struct ClosureSettings {
    int angClosure = 0;
    int vertClosure = 0;
    int travType = loopInteriorRef;

    friend bool operator==(const ClosureSettings&, const ClosureSettings&) = default;
};

// Applies an ANG_CLOSURE, VERT_CLOSURE or TRAV_TYPE record; any other record
// leaves the settings as they were, and so does a value outside its words
// (a record that holds one is refused).
void applyClosureSetting(ClosureSettings& settings, const ClosureRecord& record);

// The file's word for a closure type ("" for a code that is none).
const char* closureTypeName(int type);

// One definition as the closure editor shows it: the point sequence as text.
struct ClosureDefinition {
    std::string pointList;
    ClosureSettings settings;

    friend bool operator==(const ClosureDefinition&, const ClosureDefinition&) = default;
};

// The definitions of a file, settings inherited from the one before (both
// closures off and the interior loop type at the start); each point list is
// given in the compact text of trvPtListToText with every name of a range
// taken. A refused record (closureRecordRefusal) or a point sequence that
// does not parse adds its message to `errors` and reading goes on, so that
// the editor shows every one. False when the file cannot be opened.
bool readClosureDefinitions(const std::filesystem::path& path,
                            std::vector<ClosureDefinition>& definitions,
                            std::vector<std::string>& errors);

// The text of a file holding the definitions whose point list is not empty.
std::string closureFileText(const std::vector<ClosureDefinition>& definitions);

// Writes the definitions to `path` by a temporary file renamed over it, so a
// failed write leaves the previous file as it was. False with the reason in
// `error`.
bool writeClosureFile(const std::filesystem::path& path,
                      const std::vector<ClosureDefinition>& definitions, std::string& error);
