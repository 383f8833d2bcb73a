#pragma once
// A test base for the .RW5 reader: empty program lists, fresh settings
// without curvature and refraction (so sights reduce by plain trigonometry),
// an error report whose text the test reads back, a recording shell, and
// the records the reader left in `rawDataList`.

#include "input/rw5_reader.hpp"
#include "model/program_lists.hpp"
#include "model/raw_record.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace rw5test {

inline std::string fixture(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/input/rw5/" + name;
}

class Rw5ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        projectVars.curvRefract = 0;
        errFile = ::open((folder / "t.ERR").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        setActiveShell(&shell);
    }
    void TearDown() override {
        setActiveShell(nullptr);
        if (errFile > 0)
            ::close(errFile);
        errFile = 0;
        resetProgramLists();
    }

    // Reads the named fixtures (a list of names each followed by "\n").
    int read(const std::vector<std::string>& names, const std::string& aliasMarker = "") {
        std::string list;
        for (const std::string& name : names)
            list += fixture(name) + "\n";
        return readRw5File(list, aliasMarker);
    }
    int read(const std::string& name, const std::string& aliasMarker = "") {
        return read(std::vector<std::string>{name}, aliasMarker);
    }

    static std::vector<rawRec> records() {
        std::vector<rawRec> all;
        rawRec record;
        for (int end = rawDataList.seek1(0); end == 0 && rawDataList.getNext1(record) == 0;)
            all.push_back(record);
        return all;
    }

    std::string errorReport() { return testsupport::readBytes(folder / "t.ERR"); }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"rw5"};
    RecordingShell shell;
};

// The kinds of the records, in order.
inline std::vector<int> kindsOf(const std::vector<rawRec>& records) {
    std::vector<int> kinds;
    for (const rawRec& r : records)
        kinds.push_back(r.kind);
    return kinds;
}

inline std::string nameOf(const pointNameField& field) {
    return std::string(fixedText(field));
}

} // namespace rw5test
