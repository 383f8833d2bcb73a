// A run that does not come to new coordinates leaves those of the run before
// where they were, whole, and says that they are older; a coordinate file
// the project asks for without naming it stops the run before it starts.

#include "site_copy_run.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using testsupport::readBytes;

namespace {

constexpr int exitConverged = 0;
constexpr int exitStopped = 1;

} // namespace

TEST(PreviousCoordinatesRun, ARunThatWritesNoCoordinatesKeepsThePreviousOnes) {
    struct Row {
        const char* what;
        void (*change)(globalVars&);
        int status;
        const char* reason; // in the console and the error report; "" for none
    };
    const Row rows[] = {
        {"a raw file that is not there", [](globalVars& s) { s.pInputFileName = "gone.vkr\n"; },
         exitStopped, ""},
        {"a coordinate file asked for without a name",
         [](globalVars& s) {
             s.wrtToCrd = 1;
             s.crdFileName.clear();
         },
         exitStopped, "No output coordinate file name has been specified"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const testsupport::TempFolder folder("previous-coordinates");
        ASSERT_EQ(sitecopy::run(folder, sitecopy::exampleSettings(), sitecopy::exampleRaw()),
                  exitConverged);
        const std::string nez = readBytes(folder / "site.NEZ");
        const std::string out = readBytes(folder / "site.OUT");
        ASSERT_NE(nez.find("A"), std::string::npos);

        globalVars settings = sitecopy::exampleSettings();
        row.change(settings);
        EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), row.status);
        EXPECT_EQ(readBytes(folder / "site.NEZ"), nez);
        EXPECT_EQ(readBytes(folder / "site.OUT"), out);
        const std::string kept = (folder / "site.NEZ").string() + " and " +
                                 (folder / "site.OUT").string() +
                                 " are kept as the previous run left them";
        const std::string console = readBytes(folder / "console.txt");
        const std::string errors = readBytes(folder / "site.ERR");
        EXPECT_NE(console.find(kept), std::string::npos) << console;
        EXPECT_NE(errors.find(kept), std::string::npos) << errors;
        EXPECT_NE(console.find(row.reason), std::string::npos) << console;
        EXPECT_NE(errors.find(row.reason), std::string::npos) << errors;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            EXPECT_EQ(entry.path().filename().string().find(".NEZ."), std::string::npos)
                << "a temporary file is left: " << entry.path();
    }
}
