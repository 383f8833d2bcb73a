// The example run with a damaged number in its raw file: a distance
// "30#.816" read as far as it goes was 30 m and an angle "9Q.25023" 9
// degrees, and the run ended well with a 75 m closure error. Now the run
// stops (exit status 1) and its error report names the file, the line and
// the field.

#include "site_copy_run.hpp"
#include "support/report_text.hpp"

#include <gtest/gtest.h>

namespace {

TEST(DamagedNumberRun, ADamagedFieldOfTheRawFileStopsTheRunNamingIt) {
    const struct {
        const char* good;
        const char* damaged;
        const char* field;
    } rows[] = {
        {"  304.817  89.32424 B", "  30#.817  89.32424 B", "distance \"30#.817\""},
        {" 294.09503   304.817", " 29Q.09503   304.817", "horizontal reading \"29Q.09503\""},
        {"6C B 1180.250 1245.800", "6C B 1180.250 1245.8OO", "easting \"1245.8OO\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.damaged);
        testsupport::TempFolder folder("damaged-number-run");
        std::string raw = testsupport::readBytes(sitecopy::exampleFile("site.vkr"));
        const std::size_t at = raw.find(row.good);
        ASSERT_NE(at, std::string::npos);
        raw.replace(at, std::string(row.good).size(), row.damaged);
        EXPECT_EQ(sitecopy::run(folder, sitecopy::exampleSettings(), raw), 1);
        const std::string err = testsupport::readBytes(folder / "site.ERR");
        EXPECT_NE(err.find("Error parsing raw record:\r\n"), std::string::npos) << err;
        EXPECT_NE(err.find("In " + (folder / "site.vkr").string() + ", line "), std::string::npos)
            << err;
        EXPECT_NE(err.find("The " + std::string(row.field) + " is not a number.\r\n"),
                  std::string::npos)
            << err;
    }
}

} // namespace
