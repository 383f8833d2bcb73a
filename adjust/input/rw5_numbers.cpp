#include "input/rw5_numbers.hpp"

#include "input/raw_text.hpp"
#include "input/rw5_reader.hpp"
#include "model/point_name.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace {

using platform::FieldError;
using Fault = std::optional<FieldError>;

enum class Marker { none, stdErr, controlStdErr };
enum class Kind { number, angle, sightAngle, vertical, distance };

struct NumberToken {
    std::size_t index;
    std::size_t prefixLength;
    const char* field;
    Kind kind = Kind::number;
    Marker marker = Marker::none;
};

struct NameToken {
    std::size_t index;
    const char* field;
    bool required = false;
};

constexpr std::array<const char*, 4> quadrants = {"NE", "SE", "SW", "NW"};

bool isQuadrant(std::string_view letters) {
    const std::string q = upperAscii(letters);
    return std::ranges::find(quadrants, q) != quadrants.end();
}

bool hasPrefix(std::string_view token, std::initializer_list<std::string_view> prefixes) {
    const std::string text = rw5ValueText(token, 0);
    for (std::string_view prefix : prefixes)
        if (startsWithIgnoringCase(text, prefix))
            return true;
    return false;
}

bool takesMarker(Marker marker, std::string_view value) {
    return (marker != Marker::none && value == "*") ||
           (marker == Marker::controlStdErr && (value == "#" || value == "!"));
}

// The value text of a sight's angle token: after "BR" and its quadrant
// letters for a bearing, else after the prefix.
std::string sightAngleValue(std::string_view token) {
    const std::string value = rw5ValueText(token, 2);
    if (startsWithIgnoringCase(rw5ValueText(token, 0), "BR") && value.size() >= 2 &&
        isQuadrant(std::string_view(value).substr(0, 2)))
        return rw5ValueText(value, 2);
    return value;
}

// The prefix of a sight's angle token: a reading by its kind (angle right,
// azimuth, direction, grid), an angle left, or a bearing whose quadrant
// letters follow "BR". A token of any other prefix was read as the value,
// so a slip in "AL" turned an angle left into an angle right; a bearing
// without its quadrant was read as an azimuth.
Fault anglePrefixFault(std::string_view token, std::string_view field) {
    if (hasPrefix(token, {"AR", "AZ", "DR", "DL", "GN", "AL"}))
        return std::nullopt;
    if (!hasPrefix(token, {"BR"}))
        return platform::unknownPrefix(field, token);
    const std::string letters = rw5ValueText(token, 2).substr(0, 2);
    if (isQuadrant(letters))
        return std::nullopt;
    return platform::readWord(letters, "bearing quadrant", quadrants).fault();
}

// The prefix of a sight's vertical token: a zenith angle, a vertical
// difference, a vertical angle. A token of any other prefix was read as a
// vertical angle, so a slip in "ZE" turned a zenith of 89 degrees into a
// vertical angle of 89 and moved the point by metres. The prefix of its
// distance token: slope or horizontal; one of any other first letter than
// 'H' was read as slope, so a slip in "HD" lengthened the sight.
Fault sightPrefixFault(Kind kind, std::string_view token, std::string_view field) {
    if (kind == Kind::sightAngle)
        return anglePrefixFault(token, field);
    if (kind == Kind::vertical && !hasPrefix(token, {"ZE", "CE", "VA"}))
        return platform::unknownPrefix(field, token);
    if (kind == Kind::distance && !hasPrefix(token, {"SD", "HD"}))
        return platform::unknownPrefix(field, token);
    return std::nullopt;
}

// A vertical token is a difference after "CE", else an angle.
bool isAngle(const NumberToken& number, std::string_view token) {
    if (number.kind == Kind::vertical)
        return !startsWithIgnoringCase(rw5ValueText(token, 0), "CE");
    return number.kind == Kind::angle || number.kind == Kind::sightAngle;
}

// The fault of a value, quoting the whole token.
Fault quotingToken(Fault fault, std::string_view token) {
    if (fault)
        fault->text = platform::recordExcerpt(trimmedBlanks(token));
    return fault;
}

Fault numberFault(const Rw5Record& record, const NumberToken& number) {
    const std::string_view token = rw5Token(record, number.index);
    const std::string value = number.kind == Kind::sightAngle
                                  ? sightAngleValue(token)
                                  : rw5ValueText(token, number.prefixLength);
    if (value.empty() || takesMarker(number.marker, value))
        return std::nullopt;
    if (Fault fault = sightPrefixFault(number.kind, token, number.field))
        return fault;
    return quotingToken(isAngle(number, token)
                            ? platform::readPackedAngle(value, number.field).fault()
                            : platform::readNumber(value, number.field).fault(),
                        token);
}

Fault nameFault(const Rw5Record& record, const NameToken& name) {
    const std::string_view token = rw5Token(record, name.index);
    const std::string value = rw5Name(token);
    if (value.empty())
        return name.required ? quotingToken(platform::readName(value, name.field, 0).fault(), token)
                             : std::nullopt;
    return platform::readName(value, name.field, pointNameMax).fault();
}

Fault firstFault(const Rw5Record& record, const std::vector<NameToken>& names,
                 const std::vector<NumberToken>& numbers) {
    for (const NameToken& name : names)
        if (Fault fault = nameFault(record, name))
            return fault;
    for (const NumberToken& number : numbers)
        if (Fault fault = numberFault(record, number))
            return fault;
    return std::nullopt;
}

std::vector<NumberToken> stdErrNumbers(const std::string& code) {
    if (code == "MSE")
        return {{0, 2, "pointing error", Kind::number, Marker::stdErr},
                {1, 2, "reading error", Kind::number, Marker::stdErr},
                {2, 2, "vertical pointing error", Kind::number, Marker::stdErr},
                {3, 2, "vertical reading error", Kind::number, Marker::stdErr},
                {4, 2, "distance error", Kind::number, Marker::stdErr},
                {5, 2, "distance PPM", Kind::number, Marker::stdErr}};
    if (code == "SSE")
        return {{0, 2, "target centering error", Kind::number, Marker::stdErr},
                {1, 2, "instrument centering error", Kind::number, Marker::stdErr},
                {2, 2, "HI error", Kind::number, Marker::stdErr},
                {3, 2, "rod error", Kind::number, Marker::stdErr}};
    return {{0, 1, "northing error", Kind::number, Marker::controlStdErr},
            {1, 1, "easting error", Kind::number, Marker::controlStdErr},
            {2, 2, "elevation error", Kind::number, Marker::controlStdErr},
            {3, 2, "azimuth error", Kind::number, Marker::stdErr}};
}

// "LS": a token whose second letter is 'I' is the HI, 'R' the rod height.
// Any other token would leave the height it was meant to set at its last
// value, so a slip in its prefix ("HQ1.550") is refused.
Fault heightFault(const Rw5Record& record) {
    for (std::size_t i = 0; i < record.tokens.size(); ++i) {
        const std::string text = rw5ValueText(record.tokens[i], 0);
        if (text.empty())
            continue;
        if (text.size() < 2 || (text[1] != 'I' && text[1] != 'R'))
            return platform::unknownPrefix("height", text);
        if (Fault fault = numberFault(record, {i, 2, text[1] == 'I' ? "HI" : "rod height"}))
            return fault;
    }
    return std::nullopt;
}

// The fields of the record, its code included, up to its last that is not
// blank (a trailing comma adds none).
std::size_t fieldCount(const Rw5Record& record) {
    std::size_t count = record.tokens.size();
    while (count > 0 && trimmedBlanks(record.tokens[count - 1]).empty())
        --count;
    return count + 1;
}

// More fields than the code has: a decimal comma ("SD50,123") split a
// value in two, and the second part was never read.
Fault tooManyFields(const Rw5Record& record, std::size_t most) {
    const std::size_t found = fieldCount(record);
    return found > most ? platform::checkFieldCount(found, most, most) : std::nullopt;
}

// The most fields a record of `code` has, its code included; 0 for a code
// whose count is not fixed.
std::size_t mostFields(const std::string& code) {
    if (code == "MSE")
        return 7;
    if (isRw5ObservationCode(code) != 0)
        return 6;
    if (code == "BK" || code == "SP" || code == "GS" || code == "OC" || code == "SSE" ||
        code == "CSE")
        return 5;
    if (code == "AZ")
        return 4;
    if (code == "EL" || code == "Z" || code == "LS")
        return 3;
    return 0;
}

Fault fieldsFault(const Rw5Record& record) {
    const std::string& code = record.code;
    if (isRw5ObservationCode(code) != 0) {
        // "BD" and "BR" without a foresight sight the setup's backsight.
        const bool backsightSight = code == "BD" || code == "BR";
        if (Fault fault = firstFault(
                record, {{0, "occupied point"}, {1, "foresight point", !backsightSight}}, {}))
            return fault;
        return rw5SightFault(record, 2);
    }
    if (code == "BK")
        return firstFault(
            record, {{0, "occupied point"}, {1, "backsight point"}},
            {{2, 2, "backsight azimuth", Kind::angle}, {3, 2, "circle reading", Kind::angle}});
    if (code == "SP" || code == "GS" || code == "OC")
        return firstFault(record, {{0, "point name"}},
                          {{1, 1, "northing"}, {2, 1, "easting"}, {3, 2, "elevation"}});
    if (code == "EL" || code == "Z")
        return firstFault(record, {{0, "point name"}}, {{1, 2, "elevation"}});
    if (code == "AZ")
        return firstFault(record, {{0, "from point"}, {1, "to point"}},
                          {{2, 2, "azimuth", Kind::angle}});
    if (code == "LS")
        return heightFault(record);
    if (code == "MSE" || code == "SSE" || code == "CSE")
        return firstFault(record, {}, stdErrNumbers(code));
    return std::nullopt;
}

} // namespace

Fault rw5SightFault(const Rw5Record& record, std::size_t angleToken) {
    return firstFault(record, {},
                      {{angleToken, 2, "angle", Kind::sightAngle},
                       {angleToken + 1, 2, "vertical", Kind::vertical},
                       {angleToken + 2, 2, "distance", Kind::distance}});
}

// The count comes first: a decimal comma splits a value in two, and the
// second part would be named as a token of an unknown prefix.
Fault rw5RecordFault(const Rw5Record& record) {
    const std::size_t most = mostFields(record.code);
    if (Fault fault = most == 0 ? std::nullopt : tooManyFields(record, most))
        return fault;
    return fieldsFault(record);
}

platform::FieldValue<double> rw5TokenNumber(std::string_view token, std::size_t prefixLength,
                                            std::string_view field) {
    platform::FieldValue<double> value =
        platform::readNumber(rw5ValueText(token, prefixLength), field);
    if (value)
        return value;
    return *quotingToken(value.error(), token);
}
