// A data collector job: one setup with many sightings, each to a point of its
// own. Every step of a run, from the list building to the placing of the
// sideshots, must look the points up in step with the sightings: the point-
// name comparisons of a whole run (counted by nameComparisons) may grow as
// the sightings do, not as their square.

#include "model/point_name.hpp"
#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/raw_file_text.hpp"
#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The lines of a raw file after its header record.
std::vector<std::string> recordsOf(const std::string& raw) {
    std::vector<std::string> lines;
    std::size_t at = raw.find("\r\n");
    while (at != std::string::npos && at + 2 < raw.size()) {
        const std::size_t next = raw.find("\r\n", at + 2);
        lines.push_back(raw.substr(at + 2, next - at - 2));
        at = next;
    }
    return lines;
}

// Where the sightings go: after the last setup's records, or right after
// the first setup's own line, ahead of its sights of the traverse.
enum class Setup { last, first };

// The index of the record after the first setup line ('1' with a station).
std::size_t afterFirstSetup(const std::vector<std::string>& records) {
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].size() > 1 && records[i][0] == '1' && records[i][1] != ' ')
            return i + 1;
    return records.size();
}

// The traverse of the raw file with `count` more foresights from its last
// (or first) setup, each to a new point of its own with a code and a
// description, as a data collector records them.
std::string withSideshots(const std::string& raw, int count, Setup setup) {
    std::vector<std::string> records = recordsOf(raw);
    std::vector<std::string> sights;
    for (int k = 0; k < count; ++k) {
        testsupport::rawObservation sight;
        sight.target = "1.600";
        sight.reading = testsupport::packedDegrees(std::fmod(k * 137.508, 360.0), 1);
        sight.distance = platform::formatC("%.3f", 10.0 + k % 97 * 2.5);
        sight.zenith = "90.00000";
        sight.foresight = "S" + std::to_string(k);
        sight.code = "SS";
        sight.description = "shot";
        sights.push_back(testsupport::rawObservationLine(sight));
    }
    const std::size_t at = setup == Setup::first ? afterFirstSetup(records) : records.size();
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), sights.begin(), sights.end());
    std::string text = testsupport::rawFileHeader(records.size()) + "\r\n";
    for (const std::string& record : records)
        text += record + "\r\n";
    return text;
}

struct Road {
    const char* name;
    bool threeD;
    int includeSS; // 0: the sideshot filter takes them out, placed after the adjustment
    Setup setup = Setup::last;
};

void PrintTo(const Road& road, std::ostream* out) {
    *out << road.name;
}

class ManySightings : public ::testing::TestWithParam<Road> {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        projectVars.projectFileName = (folder / "job.prj").string();
        projectVars.pInputFileName = "job.vkr\n";
        projectVars.includeSS = GetParam().includeSS;
        if (GetParam().threeD)
            testsupport::useTerrestrial3DSystem(projectVars);
    }
    void TearDown() override { setActiveShell(previous_); }

    std::string traverse() const {
        return GetParam().threeD ? testsupport::terrestrial3DRaw()
                                 : testsupport::readBytes(std::string(TARNWELL_FIXTURES) +
                                                          "/../../examples/site/site.vkr");
    }

    // The name comparisons of a whole run with `count` sideshots.
    std::uint64_t comparisonsOfRun(int count) {
        testsupport::writeBytes(folder / "job.vkr",
                                withSideshots(traverse(), count, GetParam().setup));
        const std::uint64_t before = nameComparisons();
        const RunResult result = adjustNetwork(context, adjustmentRun, 0);
        const std::uint64_t made = nameComparisons() - before;
        EXPECT_TRUE(result.reachedEnd);
        EXPECT_TRUE(result.coordinatesWritten);
        return made;
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"sightings"};
    SilentShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

// Linear growth makes four times the sightings cost four times the
// comparisons over the bare traverse; comparing each sighting with the
// earlier ones of its setup would make it sixteen.
TEST_P(ManySightings, NameComparisonsGrowAsTheSightingsDo) {
    const int sightings = 400;
    const double bare = static_cast<double>(comparisonsOfRun(0));
    const double some = static_cast<double>(comparisonsOfRun(sightings)) - bare;
    const double many = static_cast<double>(comparisonsOfRun(4 * sightings)) - bare;
    ASSERT_GT(some, 0.0);
    EXPECT_LT(many / some, 5.0) << "comparisons over the bare traverse: " << some << " with "
                                << sightings << " sightings, " << many << " with " << 4 * sightings;
}

INSTANTIATE_TEST_SUITE_P(Roads, ManySightings,
                         ::testing::Values(Road{"TwoD_SideshotsAdjusted", false, 1},
                                           Road{"TwoD_SideshotsPlacedAfter", false, 0},
                                           Road{"ThreeD_SideshotsAdjusted", true, 1},
                                           Road{"ThreeD_SideshotsPlacedAfter", true, 0},
                                           Road{"TwoD_FromAKnownSetupBeforeItsBacksight", false, 1,
                                                Setup::first}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
