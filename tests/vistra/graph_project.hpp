#pragma once
// Small projects for the network model: raw files written into a private
// folder, the library's settings (here the test's `projectVars`) pointed at
// them, and the program-wide lists emptied before each test.

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "support/temp_folder.hpp"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace graphtest {

// One observation line of a numeric raw file in its fixed columns.
struct Sight {
    std::string station;   // empty for a foresight
    std::string backsight; // setups only
    std::string reading;   // dd.mmss
    std::string distance;
    std::string zenith = "90.0000";
    std::string foresight; // foresights only
};

inline std::string vkrLine(const Sight& s) {
    char text[200];
    std::snprintf(text, sizeof text, "1%-10s %8s %-10s %8s %10s %9s %9s %-10s", s.station.c_str(),
                  "", s.backsight.c_str(), "", s.reading.c_str(), s.distance.c_str(),
                  s.zenith.c_str(), s.foresight.c_str());
    std::string line = text;
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// A setup on `backsight` (reading 0) with the given foresights (reading =
// clockwise angle from the backsight).
struct Fore {
    std::string name;
    std::string angle;
    std::string distance;
};
inline std::vector<std::string> setupLines(const std::string& station, const std::string& backsight,
                                           const std::string& backsightDistance,
                                           const std::vector<Fore>& foresights) {
    std::vector<std::string> lines{
        vkrLine({station, backsight, "0.0000", backsightDistance, "90.0000", ""})};
    for (const Fore& f : foresights)
        lines.push_back(vkrLine({"", "", f.angle, f.distance, "90.0000", f.name}));
    return lines;
}

class GraphProject {
public:
    GraphProject() : folder_("vistra-model") {
        resetProgramLists();
        projectVars = globalVars();
        projectVars.projectFileName = (folder_ / "net.prj").string();
        projectVars.pInputFileName = "net.vkr\n";
        projectVars.includeRawData = 1;
        projectVars.horizAdjust = 1;
        projectVars.vertAdjust = 0;
        projectVars.geodeticModel = 0;
        projectVars.directionType = 1; // azimuths, not bearings
        projectVars.curvRefract = 0;
    }
    ~GraphProject() {
        resetProgramLists();
        projectVars = globalVars();
    }

    // Writes a numeric raw file: a header line, then `lines`, CR LF ended.
    void writeVkr(const std::string& name, const std::vector<std::string>& lines) const {
        std::ofstream out(folder_ / name, std::ios::binary);
        out << "header\r\n";
        for (const std::string& line : lines)
            out << line << "\r\n";
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

private:
    testsupport::TempFolder folder_;
};

} // namespace graphtest
