// Point names of the point database: the layouts' widths, the name check,
// the order of names and the next free name.

#include "isam/point_records.hpp"
#include "ptbank/crd_text.hpp"
#include "ptbank/isam/point_database.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cstring>

namespace ptbank {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string trimmedSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// A numeric name: 1 to 5 digits with a value from 1 to 65535.
bool isNumericName(std::string_view text) {
    if (text.empty() || text.size() > 5)
        return false;
    for (const char c : text)
        if (!isDigit(c))
            return false;
    const long value = platform::atolC(text);
    return value >= 1 && value <= point_db::highestNumericName;
}

std::string rightJustified(std::string_view text, int width) {
    if (static_cast<int>(text.size()) >= width)
        return std::string(text.substr(0, static_cast<std::size_t>(width)));
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + std::string(text);
}

} // namespace

void pointDbSetLayout(int subType, PointDb& db) {
    struct Row {
        int codeBytes, codeWidth, nameWidth, countBytes, fixedPart;
    };
    static constexpr Row rows[] = {
        {2, 2, 5, 2, 31}, {2, 4, 5, 2, 33}, {3, 3, 10, 4, 37}, {4, 4, 10, 4, 38}};
    const Row& row = rows[subType < 0 || subType > 3 ? 3 : subType];
    PointDbLayout& l = db.layout;
    l.codeBytes = row.codeBytes;
    l.codeWidth = row.codeWidth;
    l.nameWidth = row.nameWidth;
    l.countBytes = row.countBytes;
    l.fixedPart = row.fixedPart;
    l.nameOffset = row.codeBytes;
    l.northingOffset = row.codeBytes + row.nameWidth;
    l.eastingOffset = l.northingOffset + 8;
    l.elevationOffset = l.northingOffset + 16;
    l.descriptionOffset = l.northingOffset + 24;
    db.subType = subType;
}

int pointDbCheckName(std::string& name) {
    trimText(name.data(), 0);
    name.resize(std::strlen(name.c_str()));
    if (name.size() > static_cast<std::size_t>(point_db::alphanumericNameWidth))
        return 2;
    upperCaseText(name.data());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 33 || byte >= 127 || c == '/' || c == '*' || c == '-' || c == '+')
            return 1;
    }
    return 0;
}

int pointDbCompareNames(std::string& a, std::string& b, const PointDb& db) {
    if (db.numericNames()) {
        const long x = platform::atolC(trimmedSpaces(a));
        const long y = platform::atolC(trimmedSpaces(b));
        return (x > y) - (x < y);
    }
    a = rightJustified(trimmedSpaces(a), db.layout.nameWidth);
    b = rightJustified(trimmedSpaces(b), db.layout.nameWidth);
    const int order = compareIgnoringCase(a, b);
    return (order > 0) - (order < 0);
}

void pointDbNextName(std::string_view name, std::string& out, int subType, long step) {
    const int width = subType < 2 ? point_db::numericNameWidth : point_db::alphanumericNameWidth;
    const std::string full(width, 'X');
    std::string text(name);
    text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                   : text.find_first_not_of(' '));

    // suffix: the non-digits after the last run of digits; prefix: all before the run.
    std::size_t runEnd = text.size();
    while (runEnd > 0 && !isDigit(text[runEnd - 1]))
        --runEnd;
    std::size_t runStart = runEnd;
    while (runStart > 0 && isDigit(text[runStart - 1]))
        --runStart;

    std::string stepped;
    bool haveResult = false;
    if (runEnd > runStart) {
        const long value =
            platform::atolC(std::string_view(text).substr(runStart, runEnd - runStart));
        stepped = trimmedSpaces(std::string_view(text).substr(0, runStart)) +
                  platform::formatC("%ld", value + step) +
                  trimmedSpaces(std::string_view(text).substr(runEnd));
        haveResult = static_cast<int>(stepped.size()) <= width;
    }
    if (!haveResult)
        stepped = static_cast<int>(text.size()) < width ? text + "1" : full;
    out = static_cast<int>(stepped.size()) <= width ? rightJustified(stepped, width) : full;

    if (subType < 2 && !isNumericName(trimmedSpaces(out)))
        out = std::string(static_cast<std::size_t>(width), '1');
}

void pointDbBlankPoint(crdShortPointRec& out, const PointDb& db) {
    std::memset(&out, 0, sizeof out);
    const auto width = [](int w, std::size_t field) {
        return static_cast<std::size_t>(std::clamp<int>(w, 0, static_cast<int>(field) - 1));
    };
    std::memset(out.name, ' ', width(db.layout.nameWidth, sizeof out.name));
    std::memset(out.code, ' ', width(db.layout.codeWidth, sizeof out.code));
    std::memset(out.description, ' ', width(db.descLength, sizeof out.description));
    out.northing = 0.0;
    out.easting = 0.0;
    out.elevation = point_db::noElevation;
}

// Shared with the record operations: the validated, right-justified key.
int pointDbJustifyName(std::string& name, const PointDb& db) {
    std::string checked = name;
    if (db.numericNames()) {
        checked = trimmedSpaces(checked);
        if (!isNumericName(checked))
            return point_db::invalidName;
    } else if (pointDbCheckName(checked) != 0) {
        return point_db::invalidName;
    }
    if (static_cast<int>(checked.size()) > db.layout.nameWidth)
        return point_db::invalidName;
    name = rightJustified(checked, db.layout.nameWidth);
    return point_db::ok;
}

} // namespace ptbank
