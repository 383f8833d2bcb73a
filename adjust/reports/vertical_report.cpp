#include "reports/vertical_report.hpp"

#include "model/point_records.hpp"
#include "output/report_lines.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"

using platform::formatC;

namespace {

constexpr char blank = ' ';

// Two empty lines, the title, an empty line and the column heading. False
// after a failed write.
bool heading(ReportWriter& out, const std::string& title, const std::string& columns) {
    return !out.blank().blank().line(title).blank().line(columns).failed();
}

bool writeBenchmarks(ReportWriter& out, const verticalNetwork& net) {
    heading(out, formatC("%30c VERTICAL BENCHMARKS", blank),
            formatC("%7cStation%12cElevation%12cStd. Error", blank, blank, blank));
    for (const verticalPoint& p : net.points) {
        if (p.vertType == vtWeightedElevation)
            out.line(formatC("%5c%-10.10s%8c%10.4f%14c%5.3f", blank, p.name.c_str(), blank,
                             p.elevation, blank, p.stdErr));
        else if (p.vertType == vtFixedElevation)
            out.line(formatC("%5c%-10.10s%8c%10.4f%14c FIXED", blank, p.name.c_str(), blank,
                             p.elevation, blank));
    }
    return !out.failed();
}

bool writePointsToAdjust(ReportWriter& out, const verticalNetwork& net) {
    if (!heading(out, formatC("%28cPOINTS TO BE ADJUSTED", blank), formatC("%7cStation", blank)))
        return false;
    std::string line;
    for (const verticalPoint& p : net.points)
        if (p.vertType == vtFreeElevation && appendNameToLine(line, p.name) != 0)
            return false;
    if (!line.empty())
        out.line(line);
    return !out.failed();
}

bool writeMeasurements(ReportWriter& out, const verticalNetwork& net) {
    heading(out, formatC("%32cMEASUREMENT SUMMARY", blank),
            formatC("%7cFrom%10cTo%11cElev. Diff.    StdErr", blank, blank, blank));
    out.line(formatC("%33c(unadjusted)", blank));
    for (const heightDifference& d : net.diffs)
        out.line(formatC("%5c%-10.10s    %-10.10s    %10.4f    %8.4f", blank, d.from.c_str(),
                         d.to.c_str(), d.diff, d.stdErr));
    return !out.failed();
}

bool writeAdjustedElevations(ReportWriter& out, const verticalNetwork& net,
                             const verticalSolution& solution) {
    heading(out, formatC("%30cADJUSTED ELEVATIONS", blank),
            formatC("%7cStation%5cAdjusted Elev%3cStandard Dev.", blank, blank, blank));
    for (const int type : {vtWeightedElevation, vtFreeElevation})
        for (const verticalPoint& p : net.points)
            if (p.vertType == type)
                out.line(formatC("%5c%-10.10s    %10.4f     %10.5f", blank, p.name.c_str(),
                                 solution.elevation[p.column], solution.stdDev[p.column]));
    return !out.failed();
}

bool writeAdjustedMeasurements(ReportWriter& out, const verticalNetwork& net,
                               const verticalSolution& solution) {
    heading(out, formatC("%24cADJUSTED MEASUREMENT SUMMARY", blank),
            formatC("%7cFrom%10cTo%10cElev. Diff.%6cResiduals %5c Std. Dev.", blank, blank, blank,
                    blank, blank));
    out.line(formatC("%33c(adjusted)", blank));
    for (std::size_t i = 0; i < net.diffs.size(); ++i)
        out.line(formatC("%5c%-10.10s   %-10.10s    %10.4f    %10.4f       %7.3f", blank,
                         net.diffs[i].from.c_str(), net.diffs[i].to.c_str(),
                         solution.adjustedDiff[i], solution.residual[i], solution.diffStdDev[i]));
    out.blank();
    return !out.failed();
}

} // namespace

int appendNameToLine(std::string& line, const std::string& name) {
    if (line.size() + name.size() > 78) {
        if (writeLine(rptFile, line) != 0)
            return 1;
        line = formatC("%5c%-s", blank, name.c_str());
    } else if (!line.empty()) {
        line += "," + name;
    } else {
        line = formatC("%5c%-s", blank, name.c_str());
    }
    return 0;
}

int writeVerticalReport(const verticalNetwork& network, const verticalSolution& solution) {
    ReportWriter out(rptFile);
    const bool written = writeBenchmarks(out, network) && writePointsToAdjust(out, network) &&
                         writeMeasurements(out, network) &&
                         writeAdjustedElevations(out, network, solution) &&
                         writeAdjustedMeasurements(out, network, solution);
    return written ? 0 : 1;
}
