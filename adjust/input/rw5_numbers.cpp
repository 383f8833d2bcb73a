#include "input/rw5_numbers.hpp"

#include "input/number_fields.hpp"
#include "input/rw5_reader.hpp"
#include "platform/c_locale_text.hpp"

#include <array>
#include <string_view>
#include <vector>

namespace {

enum class Marker { none, stdErr, controlStdErr };

struct NumberToken {
    std::size_t index;
    std::size_t prefixLength;
    const char* field;
    Marker marker = Marker::none;
    bool angle = false; // an observation's angle token: "BR" may carry quadrant letters
};

bool isQuadrant(std::string_view letters) {
    const std::string q = upperAscii(letters);
    return q == "NE" || q == "SE" || q == "SW" || q == "NW";
}

bool takesMarker(Marker marker, std::string_view value) {
    return (marker != Marker::none && value == "*") ||
           (marker == Marker::controlStdErr && (value == "#" || value == "!"));
}

// The value text of an angle token: after "BR" and its quadrant letters for
// a bearing, else after the prefix.
std::string angleValue(std::string_view token) {
    const std::string value = rw5ValueText(token, 2);
    if (startsWithIgnoringCase(rw5ValueText(token, 0), "BR") && value.size() >= 2 &&
        isQuadrant(std::string_view(value).substr(0, 2)))
        return rw5ValueText(value, 2);
    return value;
}

std::string damagedOf(const Rw5Record& record, const std::vector<NumberToken>& numbers) {
    for (const NumberToken& number : numbers) {
        const std::string_view token = rw5Token(record, number.index);
        const std::string value =
            number.angle ? angleValue(token) : rw5ValueText(token, number.prefixLength);
        if (!value.empty() && !takesMarker(number.marker, value) &&
            !platform::parseDataNumber(value))
            return quotedField(number.field, rw5ValueText(token, 0));
    }
    return {};
}

std::vector<NumberToken> stdErrNumbers(const std::string& code) {
    if (code == "MSE")
        return {{0, 2, "pointing error", Marker::stdErr},
                {1, 2, "reading error", Marker::stdErr},
                {2, 2, "vertical pointing error", Marker::stdErr},
                {3, 2, "vertical reading error", Marker::stdErr},
                {4, 2, "distance error", Marker::stdErr},
                {5, 2, "distance PPM", Marker::stdErr}};
    if (code == "SSE")
        return {{0, 2, "target centering error", Marker::stdErr},
                {1, 2, "instrument centering error", Marker::stdErr},
                {2, 2, "HI error", Marker::stdErr},
                {3, 2, "rod error", Marker::stdErr}};
    return {{0, 1, "northing error", Marker::controlStdErr},
            {1, 1, "easting error", Marker::controlStdErr},
            {2, 2, "elevation error", Marker::controlStdErr},
            {3, 2, "azimuth error", Marker::stdErr}};
}

// "LS": a token whose second letter is 'I' is the HI, 'R' the rod height.
std::string damagedHeight(const Rw5Record& record) {
    for (const std::string& token : record.tokens) {
        const std::string text = rw5ValueText(token, 0);
        if (text.size() < 2 || (text[1] != 'I' && text[1] != 'R'))
            continue;
        const std::string value = rw5ValueText(text, 2);
        if (!value.empty() && !platform::parseDataNumber(value))
            return quotedField(text[1] == 'I' ? "HI" : "rod height", text);
    }
    return {};
}

} // namespace

std::string damagedRw5Sight(const Rw5Record& record, std::size_t angleToken) {
    return damagedOf(record, {{angleToken, 2, "angle", Marker::none, true},
                              {angleToken + 1, 2, "vertical"},
                              {angleToken + 2, 2, "distance"}});
}

std::string damagedRw5Number(const Rw5Record& record) {
    const std::string& code = record.code;
    if (isRw5ObservationCode(code) != 0)
        return damagedRw5Sight(record, 2);
    if (code == "BK")
        return damagedOf(record, {{2, 2, "backsight azimuth"}, {3, 2, "circle reading"}});
    if (code == "SP" || code == "GS" || code == "OC")
        return damagedOf(record, {{1, 1, "northing"}, {2, 1, "easting"}, {3, 2, "elevation"}});
    if (code == "EL" || code == "Z")
        return damagedOf(record, {{1, 2, "elevation"}});
    if (code == "AZ")
        return damagedOf(record, {{2, 2, "azimuth"}});
    if (code == "LS")
        return damagedHeight(record);
    if (code == "MSE" || code == "SSE" || code == "CSE")
        return damagedOf(record, stdErrNumbers(code));
    return {};
}
