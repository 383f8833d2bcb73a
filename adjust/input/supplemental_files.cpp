#include "input/supplemental_files.hpp"

#include "platform/c_locale_text.hpp"

#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/line_reader.hpp"
#include "ptbank/crd_user_type_sync.hpp"

#include <filesystem>

namespace {

// The coordinate file library's "no value".
constexpr double crdNull = -99999999.0;
constexpr int pointRead = 1;
constexpr int walkEnded = 0;

double givenOrUnset(double value) {
    return value > crdNull ? value : notComputed;
}

std::string stripped(const char* text) {
    std::string value(text);
    stripBlanks(value);
    return value;
}

SupplementalLine pointOf(const crdPointRec& record) {
    SupplementalLine point;
    point.name = stripped(record.name);
    point.code = stripped(record.code);
    point.description = stripped(record.description);
    point.northing = givenOrUnset(record.northing);
    point.easting = givenOrUnset(record.easting);
    point.elevation = givenOrUnset(record.elevation);
    return point;
}

int walkCrdFile(const std::string& path, const std::function<void(const SupplementalLine&)>& take,
                std::string& error) {
    if (projectVars.controlNEFileName.empty()) {
        error = "No supplamental NEZ file has been specified";
        return 1;
    }
    std::error_code ignored;
    // The library would create the file it is asked to open.
    if (!std::filesystem::is_regular_file(path, ignored)) {
        error = path + " does not exist.";
        return 1;
    }
    VkCrdHandle handle = VKCRD_NO_HANDLE;
    if (VkCrdApi_open_coordfile(path.c_str(), 0, &handle) != 0) {
        error = "Error opening: " + path;
        return 1;
    }
    syncCrdUserType(handle);
    crdPointRec record{};
    int status = VkCrdApi_find_coord_top(record.name, handle) == 0 ? pointRead : -1;
    while (status == pointRead) {
        status = VkCrdApi_next_coord(handle, record.name, &record);
        if (status == pointRead)
            take(pointOf(record));
    }
    VkCrdApi_end_coord_file(&handle);
    if (status != walkEnded) {
        error = "Error reading: " + path;
        return 1;
    }
    return 0;
}

// The grid position of a latitude and longitude, in the project's unit;
// false when the projection gives none (a position far outside its zone).
bool gridFromLatLong(SupplementalLine& line) {
    if (!isSet(line.latitude) || !isSet(line.longitude))
        return true;
    const bool westPositive =
        projectVars.gridSystem == gridStatePlane83 || projectVars.gridSystem == gridStatePlane27;
    geodCoord at{};
    at.lat = line.latitude;
    at.lon = westPositive ? -line.longitude : line.longitude;
    at.northing = notComputed;
    at.easting = notComputed;
    at.scale = 1.0;
    projGeodToGrid(at);
    line.northing = at.northing;
    line.easting = at.easting;
    return platform::isDataNumber(at.northing) && platform::isDataNumber(at.easting);
}

int walkText(const std::string& path, int format,
             const std::function<void(const SupplementalLine&)>& take, std::string& error) {
    platform::TextFileReader reader(path);
    std::error_code ignored;
    // A folder opens as a stream that reads nothing.
    if (!reader.isOpen() || !std::filesystem::is_regular_file(path, ignored)) {
        error = "Error opening " + path;
        return 1;
    }
    std::string line;
    SupplementalLine read;
    while (reader.next(line)) {
        if (const std::string bad = readSupplementalLine(format, line, read); !bad.empty()) {
            error = "Bad " + bad + " in " + path + ", line " + std::to_string(reader.lineNumber()) +
                    ": " + line;
            return 1;
        }
        if (format == supplementalLatLong && !gridFromLatLong(read)) {
            error = "Bad latitude or longitude in " + path + ", line " +
                    std::to_string(reader.lineNumber()) +
                    " (no grid position in the project's coordinate system): " + line;
            return 1;
        }
        take(read);
    }
    return 0;
}

} // namespace

bool isSupplementalCrdFormat(int format) {
    return format >= 0 && format < supplementalNez;
}

int readSupplementalControl(const std::function<void(const SupplementalLine&)>& take,
                            std::string& error) {
    const int format = projectVars.nezFileFmtType;
    const std::string path = projectRelativePath(projectVars.controlNEFileName);
    if (isSupplementalCrdFormat(format))
        return walkCrdFile(path, take, error);
    return walkText(path, format, take, error);
}
