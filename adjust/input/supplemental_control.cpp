#include "input/supplemental_control.hpp"

#include "input/supplemental_files.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"

namespace {

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

void appendStdErrs(const SupplementalLine& line) {
    rawRec record;
    initRawStdErrs(record);
    record.stErrY = line.stdErrN;
    record.stErrX = line.stdErrE;
    record.stErrZ = line.stdErrZ;
    rawDataList.append(record);
}

void appendPoint(const SupplementalLine& line, bool needsElevation) {
    if ((needsElevation && !isSet(line.elevation)) || line.name.empty() ||
        !isPointInRawData(line.name))
        return;
    if (line.hasStdErrs)
        appendStdErrs(line);
    rawRec record;
    initRawCoord(record);
    setPointName(record.pointName, line.name);
    record.northing = line.northing;
    record.easting = line.easting;
    record.elevation = line.elevation;
    setFixedText(record.description, line.description);
    setFixedText(record.code, line.code);
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
    const bool needsElevation = !isSupplementalCrdFormat(projectVars.nezFileFmtType);
    return readSupplementalControl(
        [needsElevation](const SupplementalLine& line) { appendPoint(line, needsElevation); },
        error);
}
