#pragma once
// What the converter tests share: their fixtures, a fresh folder for the
// output, clean program lists and settings, an error report for the readers
// that read the converted files back, and fixed-column lines built from
// their column tables.

#include "model/raw_record.hpp"
#include "model/program_lists.hpp"
#include "platform/shell_services.hpp"
#include "output/report_lines.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace convertertest {

inline std::string fixture(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/input/converters/" + name;
}

inline constexpr double degree = 3.14159265358979323846 / 180.0;

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        projectVars.curvRefract = 0;
        errFile = ::open((folder / "readback.ERR").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        previousShell_ = setActiveShell(&shell);
    }
    void TearDown() override {
        setActiveShell(previousShell_);
        if (errFile > 0)
            ::close(errFile);
        errFile = 0;
        resetProgramLists();
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const {
        testsupport::writeBytes(folder / name, bytes);
        return path(name);
    }
    std::string bytesOf(const std::string& name) const {
        return testsupport::readBytes(folder / name);
    }
    // The names in the folder other than the given ones: leftovers of a write.
    std::vector<std::string> otherFiles(const std::vector<std::string>& expected) const {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            const std::string name = entry.path().filename().string();
            if (name != "readback.ERR" &&
                std::find(expected.begin(), expected.end(), name) == expected.end())
                others.push_back(name);
        }
        return others;
    }

    // The records a reader left in `rawDataList`.
    static std::vector<rawRec> readRecords() {
        std::vector<rawRec> all;
        rawRec record;
        for (int end = rawDataList.seek1(0); end == 0 && rawDataList.getNext1(record) == 0;)
            all.push_back(record);
        return all;
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"converters"};
    RecordingShell shell;

private:
    ShellServices* previousShell_ = nullptr;
};

// A line of `width` blanks with each text put at its column (from 0).
inline std::string columns(std::size_t width,
                           const std::vector<std::pair<std::size_t, std::string>>& fields) {
    std::string line(width, ' ');
    for (const auto& [column, text] : fields)
        line.replace(column, text.size(), text);
    return line;
}

inline std::string nameOf(const pointNameField& field) {
    return std::string(fixedText(field));
}

} // namespace convertertest
