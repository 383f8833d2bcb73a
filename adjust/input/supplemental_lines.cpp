#include "input/supplemental_lines.hpp"

#include "input/number_fields.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr const char* badLatLong = "latitude or longitude";

// The hemisphere letter in front of a format-6 angle gives its sign: the
// positive letter (N, W) keeps it, the negative one (S, E) turns it. A value
// beyond `limit_rad` (a latitude past a pole, a longitude past 180 degrees)
// is no position on the earth.
std::string hemisphereAngle(const std::string& field, const char* name, char positive,
                            char negative, double limit_rad, double& radians) {
    if (field.empty())
        return badLatLong;
    const char letter = static_cast<char>(field[0] & ~0x20);
    if (letter != positive && letter != negative)
        return badLatLong;
    const std::optional<double> value = dmsStrToRadians(field.substr(1));
    if (!value || std::fabs(*value) > limit_rad)
        return quotedField(name, field);
    radians = letter == positive ? *value : -*value;
    return {};
}

std::string fieldOr(const std::vector<std::string>& f, std::size_t i) {
    return i < f.size() ? f[i] : std::string();
}

// Field `i` as a number into `value` (left as it is when the line has no
// such field); the refusal when it holds no number.
std::string readNumber(const std::vector<std::string>& f, std::size_t i, const char* name,
                       double& value) {
    if (i >= f.size())
        return {};
    const std::optional<double> number = platform::parseDataNumber(f[i]);
    if (!number)
        return quotedField(name, f[i]);
    value = *number;
    return {};
}

std::string readLatLong(const std::vector<std::string>& f, SupplementalLine& read) {
    if (f.size() > 1)
        if (std::string bad =
                hemisphereAngle(f[1], "latitude", 'N', 'S', std::numbers::pi / 2, read.latitude);
            !bad.empty())
            return bad;
    // The west-positive longitude of the file is turned east-positive here.
    double west = 0.0;
    if (f.size() > 2) {
        if (std::string bad = hemisphereAngle(f[2], "longitude", 'W', 'E', std::numbers::pi, west);
            !bad.empty())
            return bad;
        read.longitude = -west;
    }
    return {};
}

std::string readStdErrs(const std::vector<std::string>& f, SupplementalLine& read) {
    read.hasStdErrs = f.size() > 6;
    if (!read.hasStdErrs)
        return {};
    const std::array<std::pair<const char*, double*>, 3> fields = {
        {{"northing standard error", &read.stdErrN},
         {"easting standard error", &read.stdErrE},
         {"elevation standard error", &read.stdErrZ}}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::optional<double> value = supplementalStdErr(f[4 + i]);
        if (!value)
            return quotedField(fields[i].first, f[4 + i]);
        *fields[i].second = *value;
    }
    return {};
}

} // namespace

std::vector<std::string> supplementalFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    for (const char c : line) {
        if (c == ' ' || c == ',' || c == '\t') {
            if (!field.empty())
                fields.push_back(std::move(field));
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty())
        fields.push_back(std::move(field));
    return fields;
}

std::optional<double> dmsStrToRadians(const std::string& text) {
    const std::optional<double> dms = platform::parseDataNumber(text);
    if (!dms)
        return std::nullopt;
    return signedDmsToDegrees(*dms) * std::numbers::pi / 180.0;
}

std::optional<double> supplementalStdErr(const std::string& text) {
    const std::optional<double> value = platform::parseDataNumber(text);
    if (!value)
        return std::nullopt;
    return *value == 0.0 ? -2.0 : *value;
}

std::string readSupplementalLine(int format, const std::string& line, SupplementalLine& read) {
    const std::vector<std::string> f = supplementalFields(line);
    read = SupplementalLine{};
    read.name = fieldOr(f, 0);
    const bool latLong = format == supplementalLatLong;
    std::string bad = latLong ? readLatLong(f, read) : readNumber(f, 1, "northing", read.northing);
    if (bad.empty() && !latLong)
        bad = readNumber(f, 2, "easting", read.easting);
    if (bad.empty())
        bad = readNumber(f, 3, latLong ? "height" : "elevation", read.elevation);
    if (bad.empty() && format == supplementalNezStdErrs)
        bad = readStdErrs(f, read);
    const std::size_t texts = format == supplementalNezStdErrs ? 7 : 4;
    read.description = fieldOr(f, texts);
    read.code = fieldOr(f, texts + 1);
    return bad;
}
