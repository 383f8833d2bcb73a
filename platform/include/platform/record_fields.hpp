#pragma once
// The one way every reader of a user's text file takes a record apart and
// reads its fields. A record is split by its format's own rule (blank runs,
// commas, fixed columns, a code before each value); each field is then read
// whole as what it must be, or refused:
//
// - a number: the whole field (blanks and tabs around it allowed) is one
//   decimal number that is data (platform::parseDataNumber). No prefix is
//   taken ("30#.816" is no 30) and no byte is deleted, so a decimal comma,
//   a blank, tab or control byte inside the number refuses it.
// - a whole number: digits with an optional sign, nothing else.
// - a packed angle dd.mmss: a number whose minutes (first two decimals) and
//   seconds (next two) are below 60.
// - a name: the field without the blanks around it, not empty, holding no
//   control byte and no longer than the lists hold. A name is never cut: a
//   longer one would silently merge two points.
//
// A refusal is a FieldError value the caller checks; it carries what the
// message needs (the field's name and its text) and says it in one
// sentence. Where the record stands (file, line) the caller adds, with the
// record itself quoted through recordExcerpt, so that no message ever holds
// a whole megabyte-long line.
//
// Texts are bytes; numbers are read in the C locale whatever the process
// locale is.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// How many bytes a message's quote of a record or a field holds at most.
inline constexpr std::size_t excerptBytes = 200;

// The record as a message quotes it: as many of its first bytes as fit in
// excerptBytes, followed by "... (<n> bytes)" with its whole length when
// some are left out. Control bytes are shown by name so they can be seen
// and never cut a console line: "<TAB>", "<NUL>", "<CR>", "<LF>", else
// "<0x1B>"; a name is shown whole or not at all.
std::string recordExcerpt(std::string_view record);

enum class FieldFault {
    missing,         // the record ends before the field
    notANumber,      // not wholly a number, or a number that is no data
    notAWholeNumber, // not wholly digits with an optional sign
    notAnAngle,      // a number, but minutes or seconds of 60 or more
    blankName,       // a name field of blanks only
    notAName,        // a name holding a control byte
    nameTooLong,     // a name longer than the lists hold
    fieldCount,      // the record has too few or too many fields
    outsideColumns,  // a fixed-column field that runs into the blank after its columns
    unknownPrefix,   // a token whose prefix names no field of its record
    unknownCode,     // a record code that names no record type of its format
    notInList,       // a word that is none of those its field takes
};

struct FieldError {
    FieldFault fault = FieldFault::missing;
    std::string field; // how the message names the field: "distance", "point name"
    std::string text;  // the field's text as recordExcerpt quotes it
    // nameTooLong: the longest name the lists hold. fieldCount: the fields
    // found and the least and most the record may have.
    std::size_t limit = 0;
    std::size_t found = 0;
    std::size_t least = 0;
    std::size_t most = 0;
    // outsideColumns: the field's first and last column (from 0).
    std::size_t firstColumn = 0;
    std::size_t lastColumn = 0;
    // notInList: the words the field takes, as the message lists them ("ON or OFF").
    std::string words;

    // One sentence for the .ERR and the message box, e.g.
    // `The distance "30#.816" is not a number.`,
    // `The point name "LONGNAME001" is longer than 10 characters.`,
    // `The record has 3 fields; it needs 5.`,
    // `The HI "11.520" runs past its columns 12 to 19.`,
    // `The height "HQ1.550" has a prefix its record does not know.`,
    // `The record code "QS" names no record type of its file.`,
    // `The VERT_CLOSURE value "QN" is not ON or OFF.`
    std::string sentence() const;
};

// A field read as a T, or why it was refused.
template <class T> class FieldValue {
public:
    FieldValue(T value) : value_(std::move(value)) {}
    FieldValue(FieldError error) : error_(std::move(error)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // Only when !ok().
    const FieldError& error() const { return error_; }
    // The error when the field was refused, else none: for checks that only
    // ask whether a field is whole.
    std::optional<FieldError> fault() const {
        return ok() ? std::nullopt : std::optional<FieldError>(error_);
    }

private:
    std::optional<T> value_;
    FieldError error_;
};

// --- Splitting a record -----------------------------------------------------

// True for a line of blanks and tabs only, or an empty one: no record, where
// a line with any other byte is one, whose code must be its format's.
bool isBlankLine(std::string_view line);

// The fields between runs of blanks and tabs; never an empty one.
std::vector<std::string_view> splitOnBlanks(std::string_view record);

// The fields between each `separator` (a comma), blanks and tabs around each
// removed. Empty fields are kept, so ",," is three fields and a count check
// sees them; an empty record is one empty field.
std::vector<std::string_view> splitOn(std::string_view record, char separator);

// A fixed column: `width` bytes from `first` (counted from 0), or the part of
// them that the record holds (empty when it ends before `first`).
std::string_view fixedColumn(std::string_view record, std::size_t first, std::size_t width);

// The value of a field that starts with its code ("FS0.380" after "FS",
// "N 5000" after "N"): the text after `code` when the field starts with it,
// ASCII letter case aside; none when it does not.
std::optional<std::string_view> afterCode(std::string_view field, std::string_view code);

// None when the record has from `least` to `most` fields, else the
// fieldCount error.
std::optional<FieldError> checkFieldCount(std::size_t found, std::size_t least, std::size_t most);

// The `missing` error naming `field`; `text` what stands in its place (a
// token without the field's code), quoted as recordExcerpt quotes it.
FieldError missingField(std::string_view field, std::string_view text = {});

// The unknownPrefix error of the token `text`, whose prefix names no
// `field` its record has.
FieldError unknownPrefix(std::string_view field, std::string_view text);

// The unknownCode error of a record whose code is `code`. A reader passes
// over the records its format has and it does not use; a code that is none
// of the format's is a damaged one, and the record it hides would be lost.
FieldError unknownRecordCode(std::string_view code);

// The field at `index`, or the `missing` error naming `field` when the
// record has fewer.
FieldValue<std::string_view> fieldAt(const std::vector<std::string_view>& fields, std::size_t index,
                                     std::string_view field);

// None when the byte at `column` (from 0) is a blank or past the record's
// end; else the outsideColumns error naming `field`, whose columns run from
// `firstColumn` to `lastColumn`, with the run of non-blank bytes through
// `column` as its text. Fixed-column formats keep a blank between fields: a
// byte there means a field ran past its columns, and read by its columns it
// would be cut.
std::optional<FieldError> checkBlankColumn(std::string_view record, std::size_t column,
                                           std::string_view field, std::size_t firstColumn,
                                           std::size_t lastColumn);

// --- Reading one field ------------------------------------------------------
// `field` is how a message names the field ("distance", "HI", "point name").

// The field as a number (see above). An empty field is notANumber.
FieldValue<double> readNumber(std::string_view text, std::string_view field);

// The field as a whole number within long's range.
FieldValue<long> readWholeNumber(std::string_view text, std::string_view field);

// The field as a packed dd.mmss angle; the value is the packed number as
// written (the caller converts it). Minutes and seconds are split as
// dmsToDegrees splits them, through the "%.10f" text of the value.
FieldValue<double> readPackedAngle(std::string_view text, std::string_view field);

// The field, blanks around it aside, as one of `words` (compared exactly):
// its index among them. An empty field is missing, any other word
// notInList.
FieldValue<std::size_t> readWord(std::string_view text, std::string_view field,
                                 std::span<const char* const> words);

// The field as a name of at most `longest` bytes (the lists hold 10).
FieldValue<std::string> readName(std::string_view text, std::string_view field,
                                 std::size_t longest);

} // namespace platform
