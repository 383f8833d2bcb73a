#pragma once
// One field of an input file damaged the way a slip of the hand or a
// transfer damages it, and the run that must stop on it: exit status 1, the
// error report naming the file, the line and the field, and the coordinate
// files of the run before left byte for byte as they were.

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace damagedfield {

constexpr int exitConverged = 0;
constexpr int exitStoppedEarly = 1;

struct Damage {
    const char* slip;    // what went wrong, for the trace
    std::string good;    // a piece of the undamaged file, found once
    std::string damaged; // what it becomes
    int line;            // the line of the file that holds it
    std::string shown;   // what the error report must show of the field
};

// The text with the first `good` of the row replaced by its `damaged`.
inline std::string damagedText(const std::string& text, const Damage& row) {
    std::string out = text;
    const std::size_t at = out.find(row.good);
    EXPECT_NE(at, std::string::npos) << row.good;
    if (at != std::string::npos)
        out.replace(at, row.good.size(), row.damaged);
    return out;
}

// The coordinate files a run left in `folder`, read before a damaged run so
// that it can be shown to leave them byte for byte as they were.
struct CoordinateFiles {
    std::string nez;
    std::string out;
};

inline CoordinateFiles coordinateFiles(const testsupport::TempFolder& folder,
                                       const std::string& stem) {
    return {testsupport::readBytes(folder / (stem + ".NEZ")),
            testsupport::readBytes(folder / (stem + ".OUT"))};
}

// Expects the damaged run (its exit status `status`) to have stopped early and
// left the coordinate files as `before`; gives the error report it wrote.
inline std::string expectStoppedKeeping(const testsupport::TempFolder& folder,
                                        const std::string& stem, int status,
                                        const CoordinateFiles& before) {
    EXPECT_EQ(status, exitStoppedEarly);
    const CoordinateFiles after = coordinateFiles(folder, stem);
    EXPECT_EQ(after.nez, before.nez);
    EXPECT_EQ(after.out, before.out);
    return testsupport::readBytes(folder / (stem + ".ERR"));
}

// `run` writes the text as the input file `input` of the project in
// `folder` (whose outputs are `stem`.NEZ and `stem`.OUT) and runs tarnrun on
// it. The undamaged text must run to its end; then every row, damaged, must
// stop the run naming the file and line and showing the field, with the
// coordinate files of the undamaged run untouched.
inline void expectEveryDamageStops(const testsupport::TempFolder& folder,
                                   const std::filesystem::path& input, const std::string& stem,
                                   const std::string& good,
                                   const std::function<int(const std::string&)>& run,
                                   const std::vector<Damage>& rows) {
    ASSERT_EQ(run(good), exitConverged) << testsupport::readBytes(folder / (stem + ".ERR"));
    const CoordinateFiles before = coordinateFiles(folder, stem);
    ASSERT_FALSE(before.nez.empty());
    for (const Damage& row : rows) {
        SCOPED_TRACE(row.slip);
        const std::string err =
            expectStoppedKeeping(folder, stem, run(damagedText(good, row)), before);
        EXPECT_NE(err.find(input.string() + ", line " + std::to_string(row.line)),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find(row.shown), std::string::npos) << row.shown << "\n" << err;
    }
}

} // namespace damagedfield
