#include "input/supplemental_lines.hpp"

#include "model/point_name.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/comma_or_blank_fields.hpp"
#include "platform/record_fields.hpp"

#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace {

using Fields = std::vector<std::string_view>;

// The most fields a line of the format holds: a field more is a slip (a
// decimal comma or a blank splitting a number), never one to pass over.
std::size_t mostFields(int format) {
    return format == supplementalNezStdErrs ? 9 : 6;
}

std::string fieldOr(const Fields& f, std::size_t i) {
    return i < f.size() ? std::string(f[i]) : std::string();
}

// The hemisphere letter in front of a format-6 angle gives its sign: the
// positive letter (N, W) keeps it, the negative one (S, E) turns it. A value
// beyond `limit_rad` (a latitude past a pole, a longitude past 180 degrees)
// is no position on the earth.
std::string hemisphereAngle(std::string_view field, const char* name, char positive, char negative,
                            double limit_rad, double& radians) {
    const char letter = field.empty() ? '\0' : static_cast<char>(field[0] & ~0x20);
    if (letter != positive && letter != negative)
        return "The " + std::string(name) + " \"" + platform::recordExcerpt(field) +
               "\" does not start with " + positive + " or " + negative + ".";
    const platform::FieldValue<double> packed = platform::readPackedAngle(field.substr(1), name);
    if (!packed) {
        platform::FieldError error = packed.error();
        error.text = platform::recordExcerpt(field);
        return error.sentence();
    }
    const double value = signedDmsToDegrees(*packed) * std::numbers::pi / 180.0;
    if (std::fabs(value) > limit_rad)
        return "The " + std::string(name) + " \"" + platform::recordExcerpt(field) +
               "\" is no position on the earth.";
    radians = letter == positive ? value : -value;
    return {};
}

// Field `i` as a number into `value` (left as it is when the line has no
// such field); the refusal's sentence when it holds no number.
std::string readNumber(const Fields& f, std::size_t i, const char* name, double& value) {
    if (i >= f.size())
        return {};
    const platform::FieldValue<double> number = platform::readNumber(f[i], name);
    if (!number)
        return number.error().sentence();
    value = *number;
    return {};
}

std::string readLatLong(const Fields& f, SupplementalLine& read) {
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

std::string readStdErrs(const Fields& f, SupplementalLine& read) {
    read.hasStdErrs = f.size() > 6;
    if (!read.hasStdErrs)
        return {};
    const std::array<std::pair<const char*, double*>, 3> fields = {
        {{"northing standard error", &read.stdErrN},
         {"easting standard error", &read.stdErrE},
         {"elevation standard error", &read.stdErrZ}}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (std::string bad = readNumber(f, 4 + i, fields[i].first, *fields[i].second);
            !bad.empty())
            return bad;
        *fields[i].second = supplementalStdErr(*fields[i].second);
    }
    return {};
}

std::string readName(const Fields& f, SupplementalLine& read) {
    if (f.empty())
        return {};
    const platform::FieldValue<std::string> name =
        platform::readName(f[0], "point name", pointNameMax);
    if (!name)
        return name.error().sentence();
    read.name = *name;
    return {};
}

std::string readCoordinates(int format, const Fields& f, SupplementalLine& read) {
    const bool latLong = format == supplementalLatLong;
    std::string bad = latLong ? readLatLong(f, read) : readNumber(f, 1, "northing", read.northing);
    if (bad.empty() && !latLong)
        bad = readNumber(f, 2, "easting", read.easting);
    if (bad.empty())
        bad = readNumber(f, 3, latLong ? "height" : "elevation", read.elevation);
    if (bad.empty() && format == supplementalNezStdErrs)
        bad = readStdErrs(f, read);
    return bad;
}

} // namespace

double supplementalStdErr(double value) {
    return value == 0.0 ? -2.0 : value;
}

std::string readSupplementalLine(int format, const std::string& line, SupplementalLine& read) {
    const Fields f = platform::splitOnCommasOrBlanks(line);
    read = SupplementalLine{};
    // An empty line is no point; a line of fields has from one to the most.
    if (!f.empty())
        if (const auto count = platform::checkFieldCount(f.size(), 1, mostFields(format)))
            return count->sentence();
    std::string bad = readName(f, read);
    if (bad.empty())
        bad = readCoordinates(format, f, read);
    const std::size_t texts = format == supplementalNezStdErrs ? 7 : 4;
    read.description = fieldOr(f, texts);
    read.code = fieldOr(f, texts + 1);
    return bad;
}
