#include "input/level_reports.hpp"

#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"

using platform::formatC;

namespace {

constexpr char blank = ' ';

std::vector<std::string> startOfRunLines(const levelRec& r, const char* name) {
    const char* desc = r.description.c_str();
    if (!isSet(r.backBottom))
        return {formatC("  %-10.10s %7.3f    %10.3f%10c %10.3f       %s", name, r.backsight,
                        r.heightOfInstrument, blank, r.elevation, desc)};
    return {formatC("  %-10.10s %7.3f T  %10.3f%10c %10.3f       %s", name, r.backTop,
                    r.heightOfInstrument, blank, r.elevation, desc),
            formatC("%12c %7.3f M", blank, r.backMiddle),
            formatC("%12c %7.3f B", blank, r.backBottom)};
}

std::vector<std::string> turningPointLines(const levelRec& r, const char* name) {
    const char* desc = r.description.c_str();
    if (!isSet(r.backBottom))
        return {formatC("  %-10.10s %7.3f    %10.3f %7.3f   %10.3f       %s", name, r.backsight,
                        r.heightOfInstrument, r.foresight, r.elevation, desc)};
    return {formatC("  %-10.10s %7.3f T  %10.3f %7.3f T %10.3f       %s", name, r.backTop,
                    r.heightOfInstrument, r.foreTop, r.elevation, desc),
            formatC("%12c %7.3f M %11c %7.3f M", blank, r.backMiddle, blank, r.foreMiddle),
            formatC("%12c %7.3f B %11c %7.3f B", blank, r.backBottom, blank, r.foreBottom)};
}

// ER and LV; a three-wire side shot is marked S where an end of run has T.
std::vector<std::string> foresightLines(const levelRec& r, const char* name) {
    const char* desc = r.description.c_str();
    std::vector<std::string> lines;
    if (!isSet(r.foreBottom)) {
        lines.push_back(formatC("  %-10.10s %21c %7.3f   %10.3f       %s", name, blank, r.foresight,
                                r.elevation, desc));
    } else {
        const char* mark = r.kind == levSideShot ? "S" : "T";
        lines.push_back(formatC("  %-10.10s %21c %7.3f %s  %10.3f       %s", name, blank, r.foreTop,
                                mark, r.elevation, desc));
        lines.push_back(formatC("%34c %7.3f M", blank, r.foreMiddle));
        lines.push_back(formatC("%34c %7.3f B", blank, r.foreBottom));
    }
    if (r.kind == levEndOfRun)
        lines.emplace_back();
    return lines;
}

std::vector<std::string> levelRecordLines(const levelRec& r) {
    const std::string name(fixedText(r.name));
    switch (r.kind) {
    case levStartOfRun:
        return startOfRunLines(r, name.c_str());
    case levTurningPoint:
        return turningPointLines(r, name.c_str());
    case levEndOfRun:
    case levSideShot:
        return foresightLines(r, name.c_str());
    default:
        return {formatC("Comment: %s", r.description.c_str())};
    }
}

} // namespace

void computeLevelReportValues(std::vector<levelRec>& records) {
    double hi = 0.0;
    for (levelRec& r : records) {
        switch (r.kind) {
        case levStartOfRun:
            hi = r.elevation + r.backsight;
            r.heightOfInstrument = hi;
            break;
        case levTurningPoint:
            r.elevation = hi - r.foresight;
            hi = r.elevation + r.backsight;
            r.heightOfInstrument = hi;
            break;
        case levEndOfRun:
        case levSideShot:
            r.elevation = hi - r.foresight;
            break;
        default:
            break;
        }
    }
}

int writeUnadjustedLevelReport(int handle) {
    std::vector<levelRec> records = recordsOf(levelRunList);
    computeLevelReportValues(records);
    storeRecords(levelRunList, records);
    writeLine(handle, "Unadjusted Level Report");
    writeLine(handle, "");
    writeLine(handle, " Pt. Num.      BS            HI        FS    Unadjusted El.   Desc.");
    for (const levelRec& r : records)
        for (const std::string& line : levelRecordLines(r))
            writeLine(handle, line);
    writeLine(handle, "");
    return 0;
}
