// An output the run cannot write is never reported as success: tarnrun names
// the file and the system's reason, puts it in the error report where that
// can be written, and exits non-zero.

#include "site_copy_run.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

constexpr int exitStopped = 1;

void copyExample(const testsupport::TempFolder& folder) {
    const fs::path example = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";
    for (const char* name : {"site.prj", "site.vkr", "site.cls"})
        fs::copy_file(example / name, folder / name);
}

} // namespace

// With a file-size limit of 4 KB (sh counts 512-byte blocks) the report, of
// about 6 KB, is cut while the error report, with its closures, still fits:
// the write fails with "File too large" instead of the signal ending the
// program, and the error report says so.
TEST(OutputWriteFailureRun, ReportBeyondTheFileSizeLimit) {
    const testsupport::TempFolder folder("write-limit");
    copyExample(folder);
    const fs::path console = folder / "console.txt";
    const std::string command =
        "ulimit -f 8; TMPDIR='" + folder.path().string() + "' '" + std::string(TARNRUN_PATH) +
        "' --quiet '" + (folder / "site.prj").string() + "' >'" + console.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "the run ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), exitStopped);
    const std::string expected =
        "Error writing output to " + (folder / "site.RPT").string() + ": File too large";
    EXPECT_NE(testsupport::readBytes(console).find(expected), std::string::npos)
        << testsupport::readBytes(console);
    EXPECT_NE(testsupport::readBytes(folder / "site.ERR").find(expected), std::string::npos);
}

// The ellipse file cannot replace what stands at its name: the previous one
// would silently stay. The run says so and fails.
TEST(OutputWriteFailureRun, EllipseFileThatCannotBeReplaced) {
    const testsupport::TempFolder folder("eel-blocked");
    copyExample(folder);
    fs::create_directory(folder / "site.EEL");
    const int status = tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt");
    EXPECT_EQ(status, exitStopped);
    const std::string prefix = "Error writing output to " + (folder / "site.EEL").string() + ": ";
    EXPECT_NE(testsupport::readBytes(folder / "console.txt").find(prefix), std::string::npos)
        << testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(testsupport::readBytes(folder / "site.ERR").find(prefix), std::string::npos);
}

// The project's coordinate file is text, not a point file: the adjusted
// points cannot go into it, and the run says so instead of succeeding.
TEST(OutputWriteFailureRun, UnusableCoordinateFile) {
    const testsupport::TempFolder folder("crd-unusable");
    globalVars settings = sitecopy::exampleSettings();
    settings.wrtToCrd = 1;
    settings.crdFileName = "site.crd";
    const std::string text = "this is a letter, not a coordinate file\r\n";
    testsupport::writeBytes(folder / "site.crd", text);
    const int status =
        sitecopy::run(folder, settings, testsupport::readBytes(sitecopy::exampleFile("site.vkr")));
    EXPECT_EQ(status, exitStopped);
    // The file takes none of the example's letter names: the run says which
    // points it did not store.
    const std::string notStored = "Not stored in site.crd: A, B, D, C";
    EXPECT_NE(testsupport::readBytes(folder / "console.txt").find(notStored), std::string::npos)
        << testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(testsupport::readBytes(folder / "site.ERR").find(notStored), std::string::npos);
    EXPECT_EQ(testsupport::readBytes(folder / "site.crd"), text) << "nothing written over it";
}
