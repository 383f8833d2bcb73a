#include "input/supplemental_lines.hpp"

#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"

#include <numbers>

namespace {

// The hemisphere letter in front of a format-6 angle gives its sign: the
// positive letter (N, W) keeps it, the negative one (S, E) turns it. False
// without a hemisphere letter.
bool hemisphereAngle(const std::string& field, char positive, char negative, double& radians) {
    if (field.empty())
        return false;
    const char letter = static_cast<char>(field[0] & ~0x20);
    if (letter != positive && letter != negative)
        return false;
    const double value = dmsStrToRadians(field.substr(1));
    radians = letter == positive ? value : -value;
    return true;
}

std::string fieldOr(const std::vector<std::string>& f, std::size_t i) {
    return i < f.size() ? f[i] : std::string();
}

double numberOr(const std::vector<std::string>& f, std::size_t i) {
    return i < f.size() ? platform::atofC(f[i]) : notComputed;
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

double dmsStrToRadians(const std::string& text) {
    return signedDmsToDegrees(platform::atofC(text)) * std::numbers::pi / 180.0;
}

double supplementalStdErr(const std::string& text) {
    const double value = platform::atofC(text);
    return value == 0.0 ? -2.0 : value;
}

bool readSupplementalLine(int format, const std::string& line, SupplementalLine& read) {
    const std::vector<std::string> f = supplementalFields(line);
    read = SupplementalLine{};
    read.name = fieldOr(f, 0);
    read.elevation = numberOr(f, 3);
    std::size_t texts = 4;
    if (format == supplementalLatLong) {
        // The west-positive longitude of the file is turned east-positive here.
        double west = 0.0;
        if ((f.size() > 1 && !hemisphereAngle(f[1], 'N', 'S', read.latitude)) ||
            (f.size() > 2 && !hemisphereAngle(f[2], 'W', 'E', west)))
            return false;
        if (f.size() > 2)
            read.longitude = -west;
    } else {
        read.northing = numberOr(f, 1);
        read.easting = numberOr(f, 2);
    }
    if (format == supplementalNezStdErrs) {
        texts = 7;
        read.hasStdErrs = f.size() > 6;
        if (read.hasStdErrs) {
            read.stdErrN = supplementalStdErr(f[4]);
            read.stdErrE = supplementalStdErr(f[5]);
            read.stdErrZ = supplementalStdErr(f[6]);
        }
    }
    read.description = fieldOr(f, texts);
    read.code = fieldOr(f, texts + 1);
    return true;
}
