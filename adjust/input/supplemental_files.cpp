#include "input/supplemental_files.hpp"

#include "input/refused_records.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/line_reader.hpp"
#include "platform/record_fields.hpp"
#include "ptbank/crd_user_type_sync.hpp"

#include <cmath>
#include <filesystem>

namespace {

// The coordinate file library's "no value".
constexpr double crdNull = -99999999.0;
constexpr int pointRead = 1;
constexpr int walkEnded = 0;

std::string stripped(const char* text) {
    std::string value(text);
    stripBlanks(value);
    return value;
}

double givenOrUnset(double value) {
    return value > crdNull ? value : notComputed;
}

// A stored value that is neither the library's null (or below it) nor data:
// NaN, infinity, 1e300. Taken as it stands, it was control at -999999999 or
// at a coordinate listed with 301 digits.
bool isDamagedValue(double value) {
    return std::isnan(value) || (value > crdNull && !platform::isDataNumber(value));
}

// Why a point of a coordinate file cannot be control, or empty.
std::string crdPointFault(const crdPointRec& record) {
    const std::pair<const char*, double> values[] = {{"northing", record.northing},
                                                     {"easting", record.easting},
                                                     {"elevation", record.elevation}};
    for (const auto& [field, value] : values)
        if (isDamagedValue(value)) {
            platform::FieldError error;
            error.fault = platform::FieldFault::notANumber;
            error.field = field;
            error.text = platform::formatC("%g", value);
            return error.sentence();
        }
    return {};
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
    std::string fault;
    while (status == pointRead && fault.empty()) {
        status = VkCrdApi_next_coord(handle, record.name, &record);
        if (status != pointRead)
            break;
        fault = crdPointFault(record);
        if (fault.empty())
            take(pointOf(record));
    }
    VkCrdApi_end_coord_file(&handle);
    if (!fault.empty()) {
        error =
            path + ", point \"" + platform::recordExcerpt(stripped(record.name)) + "\": " + fault;
        return 1;
    }
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
            error = refusedRecordLine(path, reader.lineNumber(), bad, line);
            return 1;
        }
        if (format == supplementalLatLong && !gridFromLatLong(read)) {
            error = refusedRecordLine(path, reader.lineNumber(),
                                      "The latitude and longitude have no grid position in the "
                                      "project's coordinate system.",
                                      line);
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
