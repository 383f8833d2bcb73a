#include "input/supplemental_control.hpp"

#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "model/settings/text_fields.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/line_reader.hpp"

#include <vector>

namespace {

std::vector<std::string> fieldsOf(const std::string& line) {
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

bool rawRecordUses(const rawRec& r, std::string_view name) {
    switch (r.kind) {
    case rawSetup:
        return sameName(fixedText(r.stationName), name) ||
               sameName(fixedText(r.backsightName), name);
    case rawForesight:
        return sameName(fixedText(r.foresightName), name);
    case rawCoord:
        return sameName(fixedText(r.pointName), name);
    case rawAzimuth:
        return sameName(fixedText(r.fromName), name) || sameName(fixedText(r.toName), name);
    default:
        return false;
    }
}

// A standard error as the file gives it: 0 holds the coordinate fixed.
double standardError(const std::string& text) {
    const double value = platform::atofC(text);
    return value == 0.0 ? -2.0 : value;
}

void appendStdErrs(const std::vector<std::string>& f) {
    rawRec record;
    initRawStdErrs(record);
    record.stErrY = standardError(f[4]);
    record.stErrX = standardError(f[5]);
    record.stErrZ = standardError(f[6]);
    rawDataList.append(record);
}

// The line's point, when it has an elevation and the project uses it.
void appendPoint(const std::vector<std::string>& f, int format) {
    if (f.size() < 4 || !isPointInRawData(f[0]))
        return;
    const std::size_t description = format == supplementalNezStdErrs ? 7 : 4;
    if (format == supplementalNezStdErrs && f.size() >= 7)
        appendStdErrs(f);
    rawRec record;
    initRawCoord(record);
    setPointName(record.pointName, f[0]);
    record.northing = platform::atofC(f[1]);
    record.easting = platform::atofC(f[2]);
    record.elevation = platform::atofC(f[3]);
    if (f.size() > description)
        setFixedText(record.description, f[description]);
    if (f.size() > description + 1)
        setFixedText(record.code, f[description + 1]);
    rawDataList.append(record);
}

} // namespace

int isPointInRawData(std::string_view name) {
    for (int i = 0; i < rawDataList.count(); ++i) {
        rawRec r;
        rawDataList.seek(i);
        rawDataList.get(r);
        if (rawRecordUses(r, name))
            return 1;
    }
    for (const gpsVectorRec& v : recordsOf(gpsVectorList))
        if (sameName(fixedText(v.from), name) || sameName(fixedText(v.to), name))
            return 1;
    return 0;
}

int addSupplementalToRawList(std::string& error) {
    const int format = projectVars.nezFileFmtType;
    if (format != supplementalNez && format != supplementalNezStdErrs)
        throw StageNotBuilt("Reading this supplemental control file format");
    const std::string path = projectRelativePath(projectVars.controlNEFileName);
    platform::TextFileReader reader(path);
    if (!reader.isOpen()) {
        error = "Error opening " + path;
        return 1;
    }
    std::string line;
    while (reader.next(line))
        appendPoint(fieldsOf(line), format);
    return 0;
}
