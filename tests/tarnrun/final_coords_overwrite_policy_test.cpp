// tarnrun's --overwrite policy as the final coordinate output meets it: the
// console shell answers the overwrite question, and the project's
// coordinate file ends as the policy says: all replaced, all kept (new
// names still added), or, for cancel, exactly as it was.

#include "console_shell.hpp"
#include "ptbank/crd_file_type.hpp"
#include "ptbank/vk_crd_handles.hpp"
#include "reports/final_coordinates.hpp"
#include "reports/final_coords_support.hpp"
#include "reports/run_files_fixture.hpp"

#include <cmath>

namespace {

class FinalCoordsOverwritePolicy : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        closeRptFile();
        closeErrFile();
        ptbank::resetVkCrdApiForTests();
        ptbank::resetCrdSettings();
        projectVars.wrtToCrd = 1;
        projectVars.crdFileName = "site.crd";
        projectVars.coordPrec = 3;
    }
    void TearDown() override {
        ptbank::resetVkCrdApiForTests();
        ptbank::resetCrdSettings();
        RunFiles::TearDown();
    }

    std::string crdPath() const { return (folder / "site.crd").string(); }

    // Stores N under each name (the library's type-1 .crd).
    void store(const std::vector<std::pair<const char*, double>>& points) {
        std::vector<crdPointRec> records;
        for (const auto& [name, northing] : points)
            records.push_back(finalcoords::crdPoint(name, northing, 0.0));
        finalcoords::storeCrdPoints(crdPath(), 1, records);
    }

    // The stored northing of the name, or NaN when the name is not stored.
    double storedNorthing(const char* name) {
        const std::optional<crdPointRec> p = finalcoords::storedPoint(crdPath(), name);
        return p ? p->northing : std::nan("");
    }
};

coordRec finalPoint(const char* name, double northing) {
    coordRec p;
    setPointName(p.name, name);
    p.northing = northing;
    p.easting = 0.0;
    return p;
}

TEST_F(FinalCoordsOverwritePolicy, EachPolicyLeavesTheFileAsItSays) {
    using O = ConsolePolicy::Overwrite;
    struct Row {
        O policy;
        double n1, n2, n3; // what the file holds afterwards
    };
    const double none = std::nan("");
    for (const Row& row : {Row{O::all, 10.0, 20.0, 30.0}, Row{O::keep, 1.0, 2.0, 30.0},
                           Row{O::cancel, 1.0, 2.0, none}}) {
        SCOPED_TRACE(static_cast<int>(row.policy));
        resetProgramLists();
        std::filesystem::remove(crdPath());
        store({{"P1", 1.0}, {"P2", 2.0}});
        pointList2D.append(finalPoint("P3", 30.0)); // new, decided before any question
        pointList2D.append(finalPoint("P1", 10.0));
        pointList2D.append(finalPoint("P2", 20.0));
        ConsolePolicy policy;
        policy.quiet = true;
        policy.overwrite = row.policy;
        ConsoleShell console(policy);
        ShellServices* previous = setActiveShell(&console);
        writeFinalCoords(RunContext(console), 1);
        setActiveShell(previous);

        EXPECT_EQ(storedNorthing("P1"), row.n1);
        EXPECT_EQ(storedNorthing("P2"), row.n2);
        if (std::isnan(row.n3))
            EXPECT_TRUE(std::isnan(storedNorthing("P3")));
        else
            EXPECT_EQ(storedNorthing("P3"), row.n3);
        EXPECT_EQ(crlfLines(testsupport::readBytes(folder / "site.NEZ")).size(), 3u);
    }
}

} // namespace
