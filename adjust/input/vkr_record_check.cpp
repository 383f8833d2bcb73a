#include "input/vkr_record_check.hpp"

#include "input/numeric_raw_reader.hpp"
#include "input/raw_text.hpp"
#include "input/vkr_fields.hpp"
#include "input/vkr_std_errs.hpp"
#include "model/point_name.hpp"
#include "model/settings/global_vars.hpp"

#include <array>
#include <string_view>
#include <vector>

namespace {

using platform::FieldError;
using Fault = std::optional<FieldError>;

constexpr int gradsAngleType = 1;

// An angle in the project's unit: packed dd.mmss unless grads.
Fault angleFault(std::string_view text, std::string_view field) {
    if (projectVars.angleType == gradsAngleType)
        return platform::readNumber(text, field).fault();
    return platform::readPackedAngle(text, field).fault();
}

Fault nameFault(std::string_view text, std::string_view field) {
    return platform::readName(text, field, pointNameMax).fault();
}

enum class Kind { name, number, angle, unread };

struct ColumnField {
    vkrColumn column;
    std::string_view field;
    Kind kind;
};

// The fields of a '1' (slope) or '2' record in column order.
std::array<ColumnField, 8> observationFields(int mode, bool setup) {
    const bool slope = mode == vkrSlopeZenith;
    return {{
        {vkrStationColumn, "station", setup ? Kind::name : Kind::unread},
        {vkrHiColumn, "HI", setup ? Kind::number : Kind::unread},
        {vkrBacksightColumn, "backsight point", setup ? Kind::name : Kind::unread},
        {vkrTargetColumn, "target height", Kind::number},
        {vkrReadingColumn, "horizontal reading", Kind::angle},
        {vkrDistanceColumn, "distance", Kind::number},
        {vkrZenithColumn, slope ? "zenith" : "vertical difference",
         slope ? Kind::angle : Kind::number},
        {vkrForesightColumn, "foresight point", setup ? Kind::unread : Kind::name},
    }};
}

// The blank column after `before` holds a byte: `before` ran past its
// columns (a name that long is refused as a name), or `after` starts early.
Fault columnOverrun(const std::string& line, const ColumnField& before, const ColumnField& after) {
    const std::size_t gap = before.column.last() + 1;
    if (gap >= line.size() || line[gap] == ' ')
        return std::nullopt;
    const bool beforeRan = line[gap - 1] != ' ';
    if (beforeRan && before.kind == Kind::name) {
        const std::size_t end = line.find(' ', gap);
        const std::string_view text = std::string_view(line).substr(
            before.column.first,
            end == std::string::npos ? std::string::npos : end - before.column.first);
        if (Fault fault = nameFault(text, before.field))
            return fault;
    }
    const ColumnField& field = beforeRan ? before : after;
    return platform::checkBlankColumn(line, gap, field.field, field.column.first,
                                      field.column.last());
}

Fault columnFieldFault(const std::string& line, const ColumnField& field) {
    const std::string_view text =
        platform::fixedColumn(line, field.column.first, field.column.width);
    switch (field.kind) {
    case Kind::name:
        return nameFault(text, field.field);
    case Kind::number:
        return trimmedBlanks(text).empty() ? Fault()
                                           : platform::readNumber(text, field.field).fault();
    case Kind::angle:
        return trimmedBlanks(text).empty() ? Fault() : angleFault(text, field.field);
    case Kind::unread:
        return std::nullopt;
    }
    return std::nullopt;
}

Fault observationFault(int mode, const std::string& line) {
    const bool setup = !vkrNameField(line, vkrStationColumn).empty();
    const auto fields = observationFields(mode, setup);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ColumnField after = i + 1 < fields.size()
                                      ? fields[i + 1]
                                      : ColumnField{vkrCodeColumn, "code", Kind::unread};
        if (Fault fault = columnOverrun(line, fields[i], after))
            return fault;
    }
    for (const ColumnField& field : fields)
        if (Fault fault = columnFieldFault(line, field))
            return fault;
    return std::nullopt;
}

// Fields of a blank-separated record: their count, then each by its kind.
Fault tokenFault(const std::vector<std::string_view>& tokens,
                 const std::vector<std::pair<std::string_view, Kind>>& fields, std::size_t least) {
    if (Fault fault = platform::checkFieldCount(tokens.size(), least, fields.size()))
        return fault;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const auto& [field, kind] = fields[i];
        Fault fault = kind == Kind::name    ? nameFault(tokens[i], field)
                      : kind == Kind::angle ? angleFault(tokens[i], field)
                                            : platform::readNumber(tokens[i], field).fault();
        if (fault)
            return fault;
    }
    return std::nullopt;
}

// "FROM-TO value": a coded bearing carries the angle in its last digits, so
// it is checked as an angle too.
Fault azimuthFault(std::string_view text) {
    const std::vector<std::string_view> tokens = platform::splitOnBlanks(text);
    if (Fault fault = platform::checkFieldCount(tokens.size(), 2, 2))
        return fault;
    const std::size_t dash = tokens[0].find('-');
    if (dash == std::string_view::npos)
        return platform::missingField("to point", tokens[0]);
    if (Fault fault = nameFault(tokens[0].substr(0, dash), "from point"))
        return fault;
    if (Fault fault = nameFault(tokens[0].substr(dash + 1), "to point"))
        return fault;
    return angleFault(tokens[1], "azimuth");
}

Fault subRecordFault(std::string body) {
    trimRawLine(body);
    const std::string_view letters = std::string_view(body).substr(0, 2);
    const std::string_view rest = body.size() > 2 ? std::string_view(body).substr(2) : "";
    // A control, elevation or azimuth record of its code alone was passed
    // over: the point or azimuth it was to give was lost without a word.
    if (body == "C" || body == "E")
        return platform::missingField("point name");
    if (body == "DR")
        return platform::missingField("from point");
    if (letters == "C ")
        return tokenFault(platform::splitOnBlanks(rest.substr(0, rest.find('\''))),
                          {{"point name", Kind::name},
                           {"northing", Kind::number},
                           {"easting", Kind::number},
                           {"elevation", Kind::number}},
                          3);
    if (letters == "DR" && !rest.empty() && rest[0] == ' ')
        return azimuthFault(rest);
    if (letters == "E ")
        return tokenFault(platform::splitOnBlanks(rest.substr(0, rest.find('\''))),
                          {{"point name", Kind::name}, {"elevation", Kind::number}}, 2);
    if (letters == "SE")
        return stdErrValueFault(rest);
    return std::nullopt;
}

} // namespace

std::optional<platform::FieldError> vkrRecordFault(const std::string& line) {
    switch (line.empty() ? '\0' : line[0]) {
    case '1':
        return observationFault(vkrSlopeZenith, line);
    case '2':
        return observationFault(vkrHorizVertDiff, line);
    case '3':
        return azimuthFault(std::string_view(line).substr(1));
    case '6':
        return subRecordFault(line.substr(1));
    default:
        return std::nullopt;
    }
}

namespace {

bool isSubRecordCode(const std::string& body) {
    const std::string_view letters = std::string_view(body).substr(0, 2);
    const bool endsWord = body.size() < 2 || body[1] == ' ';
    if (body.starts_with("C") || body.starts_with("E") || body.starts_with("S"))
        return endsWord || letters == "SE";
    const bool dirEndsWord = body.size() < 3 || body[2] == ' ';
    return (letters == "DR" && dirEndsWord) || letters == "DO";
}

} // namespace

std::optional<platform::FieldError> vkrCodeFault(const std::string& line) {
    if (platform::isBlankLine(line))
        return std::nullopt;
    switch (line[0]) {
    case '1':
    case '2':
    case '3':
    case '5':
        return std::nullopt;
    case '6': {
        std::string body = line.substr(1);
        trimRawLine(body);
        if (isSubRecordCode(body))
            return std::nullopt;
        return platform::unknownRecordCode("6" + body.substr(0, body.find(' ')));
    }
    case ' ':
    case '\t':
        return platform::missingField("record code");
    default:
        return platform::unknownRecordCode(line.substr(0, 1));
    }
}
