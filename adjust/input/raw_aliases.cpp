#include "input/raw_aliases.hpp"

#include "model/point_name.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"

namespace {

// Replaces `name` by its point when it is an alias; true when it changed.
bool replaceAlias(pointNameField& name) {
    ptAliasRec alias;
    if (fixedText(name).empty() || pointAliasList.find(fixedText(name), alias) != 0)
        return false;
    setPointName(name, fixedText(alias.pointName));
    return true;
}

bool replaceAliasesOf(rawRec& rec) {
    switch (rec.kind) {
    case rawSetup: {
        const bool station = replaceAlias(rec.stationName);
        const bool backsight = replaceAlias(rec.backsightName);
        return station || backsight;
    }
    case rawForesight:
        return replaceAlias(rec.foresightName);
    case rawCoord:
        return replaceAlias(rec.pointName);
    case rawAzimuth: {
        const bool from = replaceAlias(rec.fromName);
        const bool to = replaceAlias(rec.toName);
        return from || to;
    }
    default:
        return false;
    }
}

void listAliases() {
    writeLine(errFile, "Point Aliases:");
    for (int i = 0; i < pointAliasList.count(); ++i) {
        ptAliasRec alias;
        pointAliasList.getAt(i, alias);
        const std::string a(fixedText(alias.alias));
        const std::string p(fixedText(alias.pointName));
        writeLine(errFile, platform::formatC("  Pt. %s = Pt. %s", a.c_str(), p.c_str()));
    }
    writeLine(errFile, "");
}

} // namespace

std::string aliasPointName(std::string_view afterMarker) {
    const auto first = afterMarker.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(afterMarker.substr(first, afterMarker.find(' ', first) - first));
}

std::string addPointAlias(std::string_view alias, std::string_view point) {
    ptAliasRec stored;
    if (pointAliasList.find(alias, stored) < 0) {
        ptAliasRec added;
        setPointName(added.alias, alias);
        setPointName(added.pointName, point);
        pointAliasList.append(added);
        return {};
    }
    const std::string storedPoint(fixedText(stored.pointName));
    if (sameName(storedPoint, point))
        return {};
    const std::string a(alias);
    const std::string p(point);
    return platform::formatC("Invalid Point alias: %s cannot be alias for two points: %s & %s",
                             a.c_str(), p.c_str(), storedPoint.c_str());
}

int replaceRawAliases() {
    if (pointAliasList.count() == 0)
        return 1;
    listAliases();
    for (int end = rawDataList.seek(0); end == 0; end = rawDataList.advance()) {
        rawRec rec;
        rawDataList.get(rec);
        if (replaceAliasesOf(rec))
            rawDataList.replaceAtCursor(rec);
        advanceProgress();
    }
    return 0;
}
