// One network surveyed in metres, US survey feet and international feet
// (fixtures/run/terrestrial_3d: two fixed stations, a traverse of angles,
// slope distances and zenith angles) must adjust to the same positions and
// the same precisions, in 2D and in 3D. Every length of the raw file and of
// the project's standard errors is written in the project's unit, the
// parts-per-million standard error stays as it is, and the .NEZ (layout 16,
// six decimals) is brought back to metres for the comparison.

#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Position {
    double northing, easting, elevation, sN, sE, sZ;
};

// Fixed columns of the '1' records: first column and width.
struct Column {
    std::size_t first, width;
};
constexpr Column hiColumn{12, 8}, targetColumn{32, 8}, distanceColumn{52, 9};

// `value` right-aligned in `width` characters with as many decimals as fit.
std::string fitted(double value, std::size_t width) {
    const int integerDigits =
        static_cast<int>(std::floor(std::log10(std::max(std::fabs(value), 1.0)))) + 1;
    const int decimals = static_cast<int>(width) - integerDigits - 1 - (value < 0 ? 1 : 0);
    return platform::formatC("%*.*f", static_cast<int>(width), decimals, value);
}

void scaleColumn(std::string& line, Column c, double toUnit) {
    if (line.size() < c.first + c.width ||
        line.substr(c.first, c.width).find_first_not_of(' ') == std::string::npos)
        return;
    const double metres = platform::atofC(line.substr(c.first, c.width));
    line.replace(c.first, c.width, fitted(metres * toUnit, c.width));
}

// The fixture's raw file with every length in units of `toUnit` per metre.
std::string rawInUnit(double toUnit) {
    std::istringstream in(testsupport::terrestrial3DRaw());
    std::string out, line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with("1")) {
            for (Column c : {hiColumn, targetColumn, distanceColumn})
                scaleColumn(line, c, toUnit);
        } else if (line.starts_with("6C ")) {
            std::istringstream fields(line.substr(0, line.find('\'')));
            std::string code, name;
            double n = 0, e = 0, z = 0;
            fields >> code >> name >> n >> e >> z;
            line = platform::formatC("6C %s %.6f %.6f %.6f ", name.c_str(), n * toUnit, e * toUnit,
                                     z * toUnit) +
                   line.substr(line.find('\''));
        }
        out += line + "\r\n";
    }
    return out;
}

std::map<std::string, Position> adjustInUnit(int unitCode, int geodeticModel) {
    const double toUnit = units::unitsPerMetre(unitCode);
    testsupport::TempFolder folder("length-units-run");
    globalVars s;
    s.setDefaults();
    EXPECT_EQ(s.readProjectFile(testsupport::terrestrial3DFixture("site3d.prj")), 1);
    s.geodeticModel = geodeticModel;
    s.HorizUnits = unitCode;
    s.ZUnits = unitCode;
    for (double* length : {&s.stErrDist, &s.stErrInstrCentering, &s.stErrTrgtCentering, &s.HIStErr,
                           &s.rodStErr, &s.stErrX, &s.stErrY, &s.stErrZ})
        *length *= toUnit;
    s.asciiNEZType = 16;
    s.neOutPrec = 6;
    s.zOutPrec = 6;
    s.coordPrec = 6;
    EXPECT_EQ(s.writeProjectFile((folder / "site3d.prj").string()), 1);
    testsupport::writeBytes(folder / "site3d.vkr", rawInUnit(toUnit));
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site3d.prj", folder / "console.txt"), 0)
        << testsupport::readBytes(folder / "console.txt");

    std::map<std::string, Position> points;
    std::istringstream nez(testsupport::readBytes(folder / "site3d.NEZ"));
    std::string line;
    while (std::getline(nez, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');)
            f.push_back(field);
        if (f.size() < 7)
            continue;
        const auto metres = [&](int i) { return platform::atofC(f[i]) / toUnit; };
        points[f[0].substr(0, f[0].find(' '))] = {metres(1), metres(2), metres(3),
                                                  metres(4), metres(5), metres(6)};
    }
    return points;
}

// Fault mended: in a 3D project in feet the parts-per-million part of a
// distance's standard error was taken of the distance still in feet while
// the constant part was already in metres, so 2 ppm weighed as 6.56 ppm.
TEST(LengthUnitsRun, OneNetworkInMetresAndFeetAdjustsAlike) {
    for (int geodeticModel : {0, 1}) {
        const std::map<std::string, Position> inMetres = adjustInUnit(units::metres, geodeticModel);
        ASSERT_EQ(inMetres.size(), 4u);
        for (int unitCode : {units::usSurveyFeet, units::internationalFeet}) {
            SCOPED_TRACE(geodeticModel == 1 ? "3D" : "2D");
            SCOPED_TRACE(unitCode == units::usSurveyFeet ? "US survey feet" : "international feet");
            const std::map<std::string, Position> inFeet = adjustInUnit(unitCode, geodeticModel);
            ASSERT_EQ(inFeet.size(), inMetres.size());
            for (const auto& [name, m] : inMetres) {
                SCOPED_TRACE(name);
                const Position& f = inFeet.at(name);
                // The raw file in feet carries its lengths to 1e-5 ft (3 um).
                EXPECT_NEAR(f.northing, m.northing, 2e-5);
                EXPECT_NEAR(f.easting, m.easting, 2e-5);
                EXPECT_NEAR(f.elevation, m.elevation, 2e-5);
                // The precisions are scaled by the reference variance, whose
                // residuals of a tenth of a millimetre move by a few per cent
                // with that rounding.
                EXPECT_NEAR(f.sN, m.sN, 0.05 * m.sN);
                EXPECT_NEAR(f.sE, m.sE, 0.05 * m.sE);
                EXPECT_NEAR(f.sZ, m.sZ, 0.05 * m.sZ);
            }
        }
    }
}

} // namespace
