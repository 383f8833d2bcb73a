#include "input/converters/asc_export_reader.hpp"

#include "input/converters/converter_files.hpp"
#include "input/raw_text.hpp"
#include "model/program_lists.hpp"
#include "model/raw_record.hpp"
#include "platform/record_fields.hpp"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace {

constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;

enum ascSection { otherSection, generalSection, gpsSection, terrestrialSection };

struct SectionHeader {
    const char* text;
    ascSection section;
};

// Every section header of the file; only three of the sections are read.
constexpr SectionHeader sectionHeaders[] = {
    {"[General]", generalSection},
    {"[Stations]", otherSection},
    {"[Keyed In Coordinates]", otherSection},
    {"[Observed Coordinates]", otherSection},
    {"[GPS]", gpsSection},
    {"[Terrestrial]", terrestrialSection},
    {"[Laser]", otherSection},
    {"[Level Run]", otherSection},
    {"[Reduced observations]", otherSection},
    {"[Azimuths]", otherSection},
};

std::optional<ascSection> sectionOpenedBy(const std::string& line) {
    for (const SectionHeader& header : sectionHeaders) {
        if (line == header.text)
            return header.section;
    }
    return std::nullopt;
}

std::string trimmedLine(std::string line) {
    trimRawLine(line);
    return line;
}

// Calls `visit(line, lineNumber)` for each line of the section, trailing
// blanks removed, until it returns false.
template <class Visit>
void forEachSectionLine(const std::vector<std::string>& lines, ascSection wanted, Visit visit) {
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trimmedLine(lines[i]);
        if (const auto opened = sectionOpenedBy(line)) {
            inside = *opened == wanted;
            continue;
        }
        if (inside && !visit(line, static_cast<int>(i + 1)))
            return;
    }
}

// Field n (counted from 1) of a TerrObs line; empty beyond the last.
std::string_view field(const std::vector<std::string_view>& fields, std::size_t n) {
    return n <= fields.size() ? fields[n - 1] : std::string_view();
}

struct TerrObs {
    std::string station, backsight, target;
    double reading = notComputed; // radians
    double zenith = notComputed;  // radians
    double distance = notComputed;
    double instrumentHeight = notComputed;
    double targetHeight = notComputed;
};

struct NumberField {
    std::size_t index;
    const char* what;
    double TerrObs::*value;
    bool angle;
};

constexpr NumberField numberFields[] = {
    {6, "horizontal circle reading", &TerrObs::reading, true},
    {7, "zenith angle", &TerrObs::zenith, true},
    {8, "slope distance", &TerrObs::distance, false},
    {10, "instrument height", &TerrObs::instrumentHeight, false},
    {11, "target height", &TerrObs::targetHeight, false},
};

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// The valid names given to the points of one file, so that two points never
// become one when their names are made valid ("P-1" and "P 1" both give
// "P_1", two long names may share their first ten characters).
class PointNames {
public:
    // The valid name of a field; sets `fault` (when still empty) when another
    // point already has that name.
    std::string validName(std::string_view field, std::string& fault) {
        std::string name = ascPointName(field);
        const std::string original = upperAscii(field);
        const auto [known, added] = originals_.emplace(name, original);
        if (!added && known->second != original && fault.empty())
            fault =
                "the points " + known->second + " and " + original + " would both be named " + name;
        return name;
    }

private:
    std::map<std::string, std::string> originals_;
};

// The observation of a line, or the fault that keeps it from being read.
std::string parseTerrObs(const std::vector<std::string_view>& fields, PointNames& names,
                         TerrObs& obs) {
    std::string fault;
    obs.station = names.validName(field(fields, 3), fault);
    obs.backsight = names.validName(field(fields, 4), fault);
    obs.target = names.validName(field(fields, 5), fault);
    if (!fault.empty())
        return fault;
    if (obs.station.empty() || obs.backsight.empty())
        return "observation without a station or backsight point";
    for (const NumberField& f : numberFields) {
        const std::string_view text = field(fields, f.index);
        if (isBlankText(text))
            continue;
        const platform::FieldValue<double> value = platform::readNumber(text, f.what);
        if (!value)
            return value.error().sentence();
        obs.*f.value = f.angle ? *value * radiansPerDegree : *value;
    }
    return {};
}

rawRec setupOf(const TerrObs& obs) {
    rawRec r;
    initRawSetup(r);
    setPointName(r.stationName, obs.station);
    setPointName(r.backsightName, obs.backsight);
    r.instrumentHeight = obs.instrumentHeight;
    r.bsTargetHeight = obs.targetHeight;
    r.bsHorizontalReading = obs.reading;
    r.zenithOrVertDiff = obs.zenith;
    r.distance = obs.distance;
    return r;
}

rawRec foresightOf(const TerrObs& obs) {
    rawRec r;
    initRawForesight(r);
    setPointName(r.foresightName, obs.target);
    r.targetHeight = obs.targetHeight;
    r.horizontalReading = obs.reading;
    r.zenithOrVertDiff = obs.zenith;
    r.distance = obs.distance;
    r.heightsApplied = 0;
    return r;
}

} // namespace

char readAscSeparator(const std::vector<std::string>& lines) {
    char separator = ascDefaultSeparator;
    bool found = false;
    forEachSectionLine(lines, generalSection, [&](const std::string& line, int) {
        const auto equals = line.find('=');
        if (!found && equals != std::string::npos && equals + 1 < line.size() &&
            line.compare(0, equals, "Separator") == 0) {
            separator = line[equals + 1];
            found = true;
        }
        return true;
    });
    return separator;
}

void forEachAscGpsLine(const std::vector<std::string>& lines,
                       const std::function<bool(const std::string&, int)>& visit) {
    forEachSectionLine(lines, gpsSection, visit);
}

std::vector<std::string_view> ascFields(std::string_view line, char separator) {
    return platform::splitOn(line, separator);
}

std::string ascPointName(std::string_view field) {
    std::string name = upperAscii(field);
    if (name.size() <= pointNameMax && name.find_first_of("- ") == std::string::npos)
        return name;
    name.resize(std::min(name.size(), pointNameMax));
    for (char& c : name) {
        if (c == '-' || c == ' ')
            c = '_';
    }
    return name;
}

std::string readAscTerrestrialObs(const std::vector<std::string>& lines, char separator,
                                  const std::string& path) {
    std::string fault;
    std::string lastStation, lastBacksight;
    bool haveSetup = false;
    PointNames names;
    forEachSectionLine(lines, terrestrialSection, [&](const std::string& line, int number) {
        const auto fields = platform::splitOn(line, separator);
        if (field(fields, 1).rfind("TerrObs", 0) != 0)
            return true;
        TerrObs obs;
        if (const std::string problem = parseTerrObs(fields, names, obs); !problem.empty()) {
            fault = faultAtLine(path, number, problem);
            return false;
        }
        if (haveSetup && obs.station == lastStation && obs.backsight == lastBacksight) {
            if (obs.target.empty()) {
                fault = faultAtLine(path, number, "observation without a target point");
                return false;
            }
            tsConvertRawList.append(foresightOf(obs));
            return true;
        }
        tsConvertRawList.append(setupOf(obs));
        lastStation = obs.station;
        lastBacksight = obs.backsight;
        haveSetup = true;
        return true;
    });
    return fault;
}
