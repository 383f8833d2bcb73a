#include "platform/record_fields.hpp"

#include "platform/c_locale_text.hpp"

#include <cmath>
#include <string>

namespace platform {

namespace {

bool isBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

bool isControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

std::string_view withoutBlanksAround(std::string_view text) {
    while (!text.empty() && isBlankOrTab(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrTab(text.back()))
        text.remove_suffix(1);
    return text;
}

void appendVisible(std::string& out, char c) {
    switch (c) {
    case '\t':
        out += "<TAB>";
        return;
    case '\0':
        out += "<NUL>";
        return;
    case '\r':
        out += "<CR>";
        return;
    case '\n':
        out += "<LF>";
        return;
    default:
        if (isControlByte(c))
            out += formatC("<0x%02X>", static_cast<unsigned>(static_cast<unsigned char>(c)));
        else
            out += c;
    }
}

FieldError refusal(FieldFault fault, std::string_view field, std::string_view text) {
    FieldError error;
    error.fault = fault;
    error.field = std::string(field);
    error.text = recordExcerpt(withoutBlanksAround(text));
    return error;
}

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Minutes and seconds of a packed angle, split from its "%.10f" text.
bool hasMinutesAndSecondsBelow60(double packed) {
    const std::string text = formatC("%.10f", std::fabs(packed));
    const auto point = text.find('.');
    const int minutes = (text[point + 1] - '0') * 10 + (text[point + 2] - '0');
    const int seconds = (text[point + 3] - '0') * 10 + (text[point + 4] - '0');
    return minutes < 60 && seconds < 60;
}

} // namespace

std::string recordExcerpt(std::string_view record) {
    // Bounded by what is shown, not by the bytes read: a control byte shown
    // by name takes up to six, and a field of them once made a message six
    // times as long as any other. A name is never cut.
    std::string out;
    std::size_t shownBytes = 0;
    for (const char c : record) {
        std::string visible;
        appendVisible(visible, c);
        if (out.size() + visible.size() > excerptBytes)
            break;
        out += visible;
        ++shownBytes;
    }
    if (shownBytes < record.size())
        out += formatC("... (%zu bytes)", record.size());
    return out;
}

std::string FieldError::sentence() const {
    const std::string quoted = field + " \"" + text + "\"";
    switch (fault) {
    case FieldFault::missing:
        return "The " + field + " is missing.";
    case FieldFault::notANumber:
        return "The " + quoted + " is not a number.";
    case FieldFault::notAWholeNumber:
        return "The " + quoted + " is not a whole number.";
    case FieldFault::notAnAngle:
        return "The " + quoted + " is not a dd.mmss angle: its minutes or seconds are 60 or more.";
    case FieldFault::blankName:
        return "The " + field + " is blank.";
    case FieldFault::notAName:
        return "The " + quoted + " is not a name: it holds a control byte.";
    case FieldFault::nameTooLong:
        return formatC("The %s is longer than %zu characters.", quoted.c_str(), limit);
    case FieldFault::outsideColumns:
        return formatC("The %s runs past its columns %zu to %zu.", quoted.c_str(), firstColumn,
                       lastColumn);
    case FieldFault::unknownPrefix:
        return "The " + quoted + " has a prefix its record does not know.";
    case FieldFault::unknownCode:
        return "The " + quoted + " names no record type of its file.";
    case FieldFault::notInList:
        return "The " + quoted + " is not " + words + ".";
    case FieldFault::fieldCount:
        if (least == most)
            return formatC("The record has %zu fields; it needs %zu.", found, least);
        return formatC("The record has %zu fields; it needs %zu to %zu.", found, least, most);
    }
    return {};
}

bool isBlankLine(std::string_view line) {
    return withoutBlanksAround(line).empty();
}

std::vector<std::string_view> splitOnBlanks(std::string_view record) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < record.size()) {
        while (start < record.size() && isBlankOrTab(record[start]))
            ++start;
        std::size_t end = start;
        while (end < record.size() && !isBlankOrTab(record[end]))
            ++end;
        if (end > start)
            fields.push_back(record.substr(start, end - start));
        start = end;
    }
    return fields;
}

std::vector<std::string_view> splitOn(std::string_view record, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto end = record.find(separator, start);
        fields.push_back(withoutBlanksAround(record.substr(start, end - start)));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

std::string_view fixedColumn(std::string_view record, std::size_t first, std::size_t width) {
    if (first >= record.size())
        return {};
    return record.substr(first, width);
}

std::optional<std::string_view> afterCode(std::string_view field, std::string_view code) {
    if (field.size() < code.size())
        return std::nullopt;
    for (std::size_t i = 0; i < code.size(); ++i)
        if (asciiUpper(field[i]) != asciiUpper(code[i]))
            return std::nullopt;
    return field.substr(code.size());
}

std::optional<FieldError> checkFieldCount(std::size_t found, std::size_t least, std::size_t most) {
    if (found >= least && found <= most)
        return std::nullopt;
    FieldError error;
    error.fault = FieldFault::fieldCount;
    error.field = "record";
    error.found = found;
    error.least = least;
    error.most = most;
    return error;
}

std::optional<FieldError> checkBlankColumn(std::string_view record, std::size_t column,
                                           std::string_view field, std::size_t firstColumn,
                                           std::size_t lastColumn) {
    if (column >= record.size() || record[column] == ' ')
        return std::nullopt;
    std::size_t first = column;
    while (first > 0 && record[first - 1] != ' ')
        --first;
    std::size_t end = column;
    while (end < record.size() && record[end] != ' ')
        ++end;
    FieldError error =
        refusal(FieldFault::outsideColumns, field, record.substr(first, end - first));
    error.firstColumn = firstColumn;
    error.lastColumn = lastColumn;
    return error;
}

FieldError missingField(std::string_view field, std::string_view text) {
    return refusal(FieldFault::missing, field, text);
}

FieldError unknownPrefix(std::string_view field, std::string_view text) {
    return refusal(FieldFault::unknownPrefix, field, text);
}

FieldError unknownRecordCode(std::string_view code) {
    return refusal(FieldFault::unknownCode, "record code", code);
}

FieldValue<std::string_view> fieldAt(const std::vector<std::string_view>& fields, std::size_t index,
                                     std::string_view field) {
    if (index >= fields.size())
        return missingField(field);
    return fields[index];
}

FieldValue<double> readNumber(std::string_view text, std::string_view field) {
    const std::optional<double> value = parseDataNumber(withoutBlanksAround(text));
    if (!value)
        return refusal(FieldFault::notANumber, field, text);
    return *value;
}

FieldValue<long> readWholeNumber(std::string_view text, std::string_view field) {
    const std::string_view digits = withoutBlanksAround(text);
    const std::size_t sign = !digits.empty() && (digits[0] == '-' || digits[0] == '+') ? 1 : 0;
    const bool allDigits = digits.size() > sign &&
                           digits.find_first_not_of("0123456789", sign) == std::string_view::npos;
    const std::optional<long> value = allDigits ? parseLong(digits) : std::nullopt;
    if (!value)
        return refusal(FieldFault::notAWholeNumber, field, text);
    return *value;
}

FieldValue<double> readPackedAngle(std::string_view text, std::string_view field) {
    FieldValue<double> number = readNumber(text, field);
    if (number && !hasMinutesAndSecondsBelow60(*number))
        return refusal(FieldFault::notAnAngle, field, text);
    return number;
}

FieldValue<std::size_t> readWord(std::string_view text, std::string_view field,
                                 std::span<const char* const> words) {
    const std::string_view word = withoutBlanksAround(text);
    if (word.empty())
        return missingField(field);
    for (std::size_t i = 0; i < words.size(); ++i)
        if (word == words[i])
            return i;
    FieldError error = refusal(FieldFault::notInList, field, word);
    for (std::size_t i = 0; i < words.size(); ++i)
        error.words += (i == 0                  ? ""
                        : i + 1 == words.size() ? " or "
                                                : ", ") +
                       std::string(words[i]);
    return error;
}

FieldValue<std::string> readName(std::string_view text, std::string_view field,
                                 std::size_t longest) {
    const std::string_view name = withoutBlanksAround(text);
    if (name.empty())
        return refusal(FieldFault::blankName, field, text);
    for (const char c : name)
        if (isControlByte(c))
            return refusal(FieldFault::notAName, field, name);
    if (name.size() > longest) {
        FieldError error = refusal(FieldFault::nameTooLong, field, name);
        error.limit = longest;
        return error;
    }
    return std::string(name);
}

} // namespace platform
