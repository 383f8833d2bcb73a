#include "reports/alta_report.hpp"

#include "engine/relative_error_ellipse.hpp"
#include "input/point_sequence.hpp"
#include "model/angle_text.hpp"
#include "model/list_snapshot.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

bool sameDescription(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

std::vector<coordRec> horizontalPoints() {
    std::vector<coordRec> points = recordsOf(pointList2D);
    const std::vector<coordRec> fixed = recordsOf(fixedPointList2D);
    points.insert(points.end(), fixed.begin(), fixed.end());
    return points;
}

bool isHorizontalPoint(std::string_view name) {
    const std::vector<coordRec> points = horizontalPoints();
    return std::ranges::any_of(points,
                               [&](const coordRec& p) { return sameName(fixedText(p.name), name); });
}

std::string distanceText(double value) {
    return platform::formatC("%9.*f", projectVars.distPrec, value);
}

// The connection's tested row, or none when its ellipse cannot be computed.
std::optional<altaRptPt> testedConnection(const std::string& from, const std::string& to) {
    coordRec one, two;
    setPointName(one.name, from);
    setPointName(two.name, to);
    altaRptPt row{from, to};
    if (relErrEllipse2D(&one, &two, &row.semiMajor, &row.semiMinor, &row.azimuth, 1, 0) !=
        relativeEllipseComputed)
        return std::nullopt;
    inverseDirDist(one.northing, one.easting, two.northing, two.easting, row.distance);
    row.allowable = altaAllowable(row.distance, projectVars.altaTolerance, projectVars.altaPPM);
    row.ratio = row.semiMajor / row.allowable;
    return row;
}

std::string connectionLine(const altaRptPt& row) {
    return platform::formatC(" %-10.10s %-10.10s  %s   %s    %s   %s         %s       %s",
                             row.from.c_str(), row.to.c_str(), distanceText(row.distance).c_str(),
                             distanceText(row.semiMajor).c_str(),
                             distanceText(row.allowable).c_str(), distanceText(row.ratio).c_str(),
                             distanceText(row.semiMinor).c_str(),
                             directionToText(row.azimuth).c_str());
}

bool writeLines(int handle, const std::vector<std::string>& lines) {
    return std::ranges::all_of(lines, [&](const std::string& l) { return writeLine(handle, l) == 0; });
}

bool writeHeadings(int handle, const char* title) {
    return writeLines(
        handle,
        {platform::formatC("Alta Tolerance Report ,%s, %2.0f%% Confidence Interval", title,
                           projectVars.confidenceInterval),
         "                                        Actual       Allowable   Ratio",
         " Sta.       Sta.           Dist.        Semi Major   Semi Major  Actual/Allowable  Semi "
         "Minor  Max. Err. Az."});
}

bool writeSpecificConnections(int handle, const AltaPoints& points) {
    if (!writeLines(handle, {"", "", "Relative Error and ALTA Tolerances", std::string(34, '='), ""}) ||
        !writeHeadings(handle, "Specific Connections"))
        return false;
    for (const AltaPair& pair : points.pairs) {
        const std::optional<altaRptPt> row = testedConnection(pair.from, pair.to);
        if (row && writeLine(handle, connectionLine(*row)) != 0)
            return false;
    }
    return true;
}

// The worst failing connections among the entries, in descending ratio;
// `anyFailed` tells whether any failed, listed or not.
std::vector<altaRptPt> failingConnections(const std::vector<AltaEntry>& entries, int maxPoints,
                                          bool& anyFailed) {
    std::vector<altaRptPt> table(static_cast<std::size_t>(maxPoints));
    anyFailed = false;
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            const std::optional<altaRptPt> row = testedConnection(entries[i].text, entries[j].text);
            if (!row || row->ratio <= 1.0)
                continue;
            anyFailed = true;
            if (altaPairIsNew(table, *row) == 1)
                insertAltaRptPt(table, *row);
        }
    return table;
}

void writeAllConnections(int handle, AltaPoints& points) {
    if (!writeLines(handle, {"", ""}) || !writeHeadings(handle, "All Connections"))
        return;
    expandAltaDescEntries(points.entries);
    std::string error;
    if (expandAltaPtRanges(points.entries, error) != 0)
        writeLine(errFile, error);
    const char* passed = " All connection combinations passed the tolerance test";
    if (points.entries.size() < 2) {
        writeLine(handle, passed);
        return;
    }
    bool anyFailed = false;
    const std::vector<altaRptPt> table =
        failingConnections(points.entries, points.maxPoints, anyFailed);
    if (!anyFailed) {
        writeLine(handle, passed);
        return;
    }
    for (const altaRptPt& row : table)
        if (row.semiMajor > 0.0 && writeLine(handle, connectionLine(row)) != 0)
            return;
}

} // namespace

double altaAllowable(double distance, double tolerance, int ppm) {
    return tolerance + distance * ppm / 1000000.0;
}

int insertAltaRptPt(std::vector<altaRptPt>& table, const altaRptPt& row) {
    const auto place =
        std::ranges::find_if(table, [&](const altaRptPt& r) { return r.ratio < row.ratio; });
    if (place == table.end())
        return 0;
    table.insert(place, row);
    table.pop_back();
    return 0;
}

int altaPairIsNew(const std::vector<altaRptPt>& table, const altaRptPt& row) {
    const bool known = std::ranges::any_of(table, [&](const altaRptPt& r) {
        return (sameName(r.from, row.from) && sameName(r.to, row.to)) ||
               (sameName(r.from, row.to) && sameName(r.to, row.from));
    });
    return known ? 0 : 1;
}

int expandAltaDescEntries(std::vector<AltaEntry>& entries) {
    const std::vector<coordRec> points = horizontalPoints();
    std::vector<AltaEntry> expanded;
    for (const AltaEntry& entry : entries) {
        if (entry.kind != AltaEntry::description) {
            expanded.push_back(entry);
            continue;
        }
        for (const coordRec& p : points)
            if (sameDescription(p.description, entry.text))
                expanded.push_back({AltaEntry::name, std::string(fixedText(p.name))});
    }
    entries = std::move(expanded);
    return 0;
}

int expandAltaPtRanges(std::vector<AltaEntry>& entries, std::string& error) {
    const RangeNames names{isHorizontalPoint, {}};
    std::vector<AltaEntry> expanded;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].text.find('-') == std::string::npos) {
            expanded.push_back(entries[i]);
            continue;
        }
        simpleList<ptNameRec> members;
        if (parseTrvPtList(entries[i].text, members, names, error) != sequenceParsed) {
            expanded.insert(expanded.end(), entries.begin() + static_cast<long>(i), entries.end());
            entries = std::move(expanded);
            return 1;
        }
        for (const std::string& name : pointNamesOf(members))
            expanded.push_back({AltaEntry::name, name});
    }
    entries = std::move(expanded);
    return 0;
}

void writeAltaReport(int handle) {
    AltaPoints points;
    std::vector<std::string> errors;
    readAltaPointsFile(altaPointsFilePath(projectVars.relativeErrFileNm), points, errors);
    for (const std::string& error : errors)
        writeLine(errFile, error);
    if (!writeSpecificConnections(handle, points))
        return;
    if (projectVars.ALTARptOn != 0)
        writeAllConnections(handle, points);
}
