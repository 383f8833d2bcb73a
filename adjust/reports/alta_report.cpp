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
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_set>

namespace {

bool sameDescription(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

constexpr int threeDModel = 1;

bool threeDChain() {
    return projectVars.geodeticModel == threeDModel;
}

struct NamedPoint {
    std::string name;
    std::string description;
};

template <class Point> void addNamed(std::vector<NamedPoint>& named, obsList<Point>& list) {
    for (const Point& p : recordsOf(list))
        named.push_back({std::string(fixedText(p.name)), p.description});
}

// The points of the run's chain: adjustable then fixed.
std::vector<NamedPoint> chainPoints() {
    std::vector<NamedPoint> named;
    if (threeDChain()) {
        addNamed(named, stationList);
        addNamed(named, fixedStationList);
    } else {
        addNamed(named, pointList2D);
        addNamed(named, fixedPointList2D);
    }
    return named;
}

std::vector<std::string> chainPointNames() {
    std::vector<std::string> names;
    for (NamedPoint& p : chainPoints())
        names.push_back(std::move(p.name));
    return names;
}

std::string distanceText(double value) {
    return platform::formatC("%9.*f", projectVars.distPrec, value);
}

// The ellipse of a connection in the project's unit and the two points'
// positions in it, or none when it cannot be computed.
template <class Point, class Ellipse>
std::optional<altaRptPt> tested(const std::string& from, const std::string& to, Ellipse ellipse,
                                double toProjectUnit) {
    Point one, two;
    setPointName(one.name, from);
    setPointName(two.name, to);
    altaRptPt row{from, to};
    if (ellipse(&one, &two, &row.semiMajor, &row.semiMinor, &row.azimuth, 1, 0) !=
        relativeEllipseComputed)
        return std::nullopt;
    inverseDirDist(one.northing, one.easting, two.northing, two.easting, row.distance);
    row.distance *= toProjectUnit;
    return row;
}

// The connection's tested row, or none when its ellipse cannot be computed.
std::optional<altaRptPt> testedConnection(const std::string& from, const std::string& to) {
    std::optional<altaRptPt> row =
        threeDChain() ? tested<stationRec>(from, to, relErrEllipse3D,
                                           units::unitsPerMetre(projectVars.HorizUnits))
                      : tested<coordRec>(from, to, relErrEllipse2D, 1.0);
    if (row) {
        row->allowable =
            altaAllowable(row->distance, projectVars.altaTolerance, projectVars.altaPPM);
        row->ratio = altaRatio(row->semiMajor, row->allowable);
    }
    return row;
}

// A connection that no allowable can hold fails without a finite ratio:
// its column says so in a word rather than printing "inf".
std::string ratioText(double ratio) {
    return std::isinf(ratio) ? platform::formatC("%9s", "infinite") : distanceText(ratio);
}

std::string connectionLine(const altaRptPt& row) {
    return platform::formatC(
        " %-10.10s %-10.10s  %s   %s    %s   %s         %s       %s", row.from.c_str(),
        row.to.c_str(), distanceText(row.distance).c_str(), distanceText(row.semiMajor).c_str(),
        distanceText(row.allowable).c_str(), ratioText(row.ratio).c_str(),
        distanceText(row.semiMinor).c_str(), directionToText(row.azimuth).c_str());
}

bool writeLines(int handle, const std::vector<std::string>& lines) {
    return std::ranges::all_of(lines,
                               [&](const std::string& l) { return writeLine(handle, l) == 0; });
}

bool writeHeadings(int handle, const std::string& title) {
    return writeLines(
        handle,
        {platform::formatC("Alta Tolerance Report ,%s%2.0f%% Confidence Interval", title.c_str(),
                           projectVars.confidenceInterval),
         "                                        Actual       Allowable   Ratio",
         " Sta.       Sta.           Dist.        Semi Major   Semi Major  Actual/Allowable  Semi "
         "Minor  Max. Err. Az."});
}

bool writeSpecificConnections(int handle, const AltaPoints& points) {
    if (!writeLines(handle,
                    {"", "", "Relative Error and ALTA Tolerances", std::string(34, '='), ""}) ||
        !writeHeadings(handle, "Specific Connections, "))
        return false;
    for (const AltaPair& pair : points.pairs) {
        const std::optional<altaRptPt> row = testedConnection(pair.from, pair.to);
        if (row && writeLine(handle, connectionLine(*row)) != 0)
            return false;
    }
    return true;
}

// How the two adjustments word and run the all-connections test.
struct AllConnectionsStyle {
    std::string title;      // the heading's title with its separator
    bool blankBeforePassed; // an empty line before the "passed" line
    bool cancellable;       // progress message, Cancel button and cancel test
};

// The worst failing connections among the entries, in descending ratio;
// `anyFailed` tells whether any failed, listed or not.
std::vector<altaRptPt> failingConnections(const std::vector<AltaEntry>& entries, int maxPoints,
                                          bool cancellable, bool& anyFailed) {
    std::vector<altaRptPt> table(static_cast<std::size_t>(maxPoints));
    anyFailed = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (cancellable) {
            activeShell().pump();
            if (activeShell().cancelled())
                break;
        }
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            const std::optional<altaRptPt> row = testedConnection(entries[i].text, entries[j].text);
            if (!row || row->ratio <= 1.0)
                continue;
            anyFailed = true;
            if (altaPairIsNew(table, *row) == 1)
                insertAltaRptPt(table, *row);
        }
    }
    return table;
}

void writeAllConnectionRows(int handle, const AltaPoints& points,
                            const AllConnectionsStyle& style) {
    const char* passed = " All connection combinations passed the tolerance test";
    const auto writePassed = [&] {
        if (style.blankBeforePassed)
            writeLine(handle, "");
        writeLine(handle, passed);
    };
    if (points.entries.size() < 2) {
        writePassed();
        return;
    }
    bool anyFailed = false;
    const std::vector<altaRptPt> table =
        failingConnections(points.entries, points.maxPoints, style.cancellable, anyFailed);
    if (!anyFailed) {
        writePassed();
        return;
    }
    for (const altaRptPt& row : table)
        if (row.semiMajor > 0.0 && writeLine(handle, connectionLine(row)) != 0)
            return;
}

void writeAllConnections(int handle, AltaPoints& points, const AllConnectionsStyle& style) {
    if (!writeLines(handle, {"", ""}) || !writeHeadings(handle, style.title))
        return;
    expandAltaDescEntries(points.entries);
    std::string error;
    if (expandAltaPtRanges(points.entries, error) != 0) {
        writeLine(errFile, error);
        activeShell().message(error, MessageKind::ok);
    }
    takeEachAltaNameOnce(points.entries);
    ShellServices& shell = activeShell();
    if (style.cancellable) {
        shell.setMessage("Computing Alta error tolerances.");
        shell.showCancel(true);
    }
    writeAllConnectionRows(handle, points, style);
    if (style.cancellable)
        shell.showCancel(false);
}

void writeReport(int handle, const AllConnectionsStyle& style) {
    AltaPoints points;
    std::vector<std::string> errors;
    readAltaPointsFile(altaPointsFilePath(projectVars.relativeErrFileNm), points, errors);
    for (const std::string& error : errors)
        writeLine(errFile, error);
    if (!writeSpecificConnections(handle, points))
        return;
    if (projectVars.ALTARptOn != 0)
        writeAllConnections(handle, points, style);
}

} // namespace

double altaAllowable(double distance, double tolerance, int ppm) {
    return tolerance + distance * ppm / 1000000.0;
}

double altaRatio(double semiMajor, double allowable) {
    if (allowable > 0.0)
        return semiMajor / allowable;
    return semiMajor > 0.0 ? std::numeric_limits<double>::infinity() : 0.0;
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
    const std::vector<NamedPoint> points = chainPoints();
    std::vector<AltaEntry> expanded;
    for (const AltaEntry& entry : entries) {
        if (entry.kind != AltaEntry::description) {
            expanded.push_back(entry);
            continue;
        }
        for (const NamedPoint& p : points)
            if (sameDescription(p.description, entry.text))
                expanded.push_back({AltaEntry::name, p.name});
    }
    entries = std::move(expanded);
    return 0;
}

int expandAltaPtRanges(std::vector<AltaEntry>& entries, std::string& error) {
    std::unordered_set<std::string> chain;
    for (const std::string& name : chainPointNames())
        chain.insert(pointNameKey(name));
    const RangeNames names{
        [&chain](std::string_view name) { return chain.contains(pointNameKey(name)); },
        {},
        chainPointNames};
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

void takeEachAltaNameOnce(std::vector<AltaEntry>& entries) {
    std::unordered_set<std::string> seen;
    std::erase_if(entries, [&](const AltaEntry& e) {
        return e.kind == AltaEntry::name && !seen.insert(pointNameKey(e.text)).second;
    });
}

void writeAltaReport(int handle) {
    writeReport(handle, {"All Connections, ", false, true});
}

void writeAltaReport3D(int handle) {
    writeReport(handle, {"All Connections,", true, false});
}
