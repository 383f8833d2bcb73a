#pragma once
// A project "lev.prj" in a fresh folder for the level tests: clean lists and
// settings, a recording shell, and the report and error files open until
// reportText() / errorText() close them and return their bytes.

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace leveltest {

class LevelProject : public ::testing::Test {
protected:
    void SetUp() override {
        previousShell_ = setActiveShell(&shell);
        resetProgramLists();
        projectVars.setDefaults();
        projectVars.projectFileName = (folder / "lev.prj").string();
        ASSERT_GT(openRptFile(startNewFile), 0);
        ASSERT_GT(openErrFile(startNewFile), 0);
    }
    void TearDown() override {
        closeRptFile();
        closeErrFile();
        resetProgramLists();
        setActiveShell(previousShell_);
    }

    // Writes a file into the project folder; returns its name.
    std::string writeFile(const std::string& name, const std::string& bytes) {
        testsupport::writeBytes(folder / name, bytes);
        return name;
    }
    std::string reportText() {
        closeRptFile();
        return testsupport::readBytes(folder / "lev.RPT");
    }
    std::string errorText() {
        closeErrFile();
        return testsupport::readBytes(folder / "lev.ERR");
    }
    std::vector<std::string> boxTexts() const { return shell.boxTexts(); }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"levels"};
    RecordingShell shell;

private:
    ShellServices* previousShell_ = nullptr;
};

// A level file of tests/fixtures/input/levels.
inline std::string levelFixture(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/input/levels/" + name;
}

// The lines of a text whose lines end in CR LF.
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline coordRec point2D(const std::string& name, int vertType, double elevation,
                        double stdErrZ = 0.0) {
    coordRec p;
    initCoordRec(p);
    setPointName(p.name, name);
    p.vertType = vertType;
    p.elevation = elevation;
    p.stdErrZ = stdErrZ;
    return p;
}

inline distanceObs2D heightDiff2D(const std::string& from, const std::string& to, double diff,
                                  double stdErr) {
    distanceObs2D d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    d.vertDiff = diff;
    d.stdErrVert = stdErr;
    d.vertType = 0;
    return d;
}

inline coordRec pointNamed(obsList<coordRec>& list, const std::string& name) {
    coordRec p;
    EXPECT_GE(list.find(name, p), 0) << name;
    return p;
}

} // namespace leveltest
