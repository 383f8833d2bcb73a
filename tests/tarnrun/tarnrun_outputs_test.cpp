// What a run leaves on disk, seen as a user on a shared machine sees it: the
// modes of the output files, where the ellipse copy goes, what the
// project's coordinate file keeps, and raw files whatever their line ends.

#include "reports/final_coords_support.hpp"
#include "site_copy_run.hpp"
#include "support/report_text.hpp"

#include <cmath>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::readBytes;

namespace {

constexpr int exitConverged = 0;
constexpr int exitStopped = 1;

std::string exampleRaw() {
    return readBytes(sitecopy::exampleFile("site.vkr"));
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::string privateFolderName() {
    return "tarnwell-" + std::to_string(::geteuid());
}

// The example in `folder`, run with the shell set-up and the environment of
// runIn.
int runExample(const testsupport::TempFolder& folder, const std::string& shellSetup,
               const std::string& environment, const std::string& options = "") {
    EXPECT_EQ(sitecopy::exampleSettings().writeProjectFile((folder / "site.prj").string()), 1);
    testsupport::writeBytes(folder / "site.vkr", exampleRaw());
    fs::copy_file(sitecopy::exampleFile("site.cls"), folder / "site.cls",
                  fs::copy_options::overwrite_existing);
    return tarnruntest::runIn(shellSetup, environment, folder / "site.prj", folder / "console.txt",
                              options);
}

} // namespace

// Reports are for colleagues too: a new output file has what the umask
// leaves of rw-rw-rw-, also where the previous run's file was private.
TEST(TarnrunOutputs, OutputFilesTakeTheModeTheUmaskGives) {
    struct Row {
        const char* umask;
        mode_t mode;
    };
    for (const Row& row : {Row{"022", 0644}, Row{"027", 0640}, Row{"077", 0600}}) {
        SCOPED_TRACE(row.umask);
        testsupport::TempFolder folder("tarnrun-modes");
        testsupport::writeBytes(folder / "site.RPT", "the previous run's report");
        fs::permissions(folder / "site.RPT", fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_EQ(runExample(folder, "umask " + std::string(row.umask) + ";", ""), exitConverged);
        for (const char* name : {"site.RPT", "site.ERR", "site.NEZ", "site.OUT", "site.EEL"}) {
            SCOPED_TRACE(name);
            EXPECT_EQ(modeOf(folder / name), row.mode);
        }
    }
}

// The ellipse copy never sits under a fixed name in a folder other users
// can write: $XDG_RUNTIME_DIR, else a 0700 folder of the user's own under
// the temporary folder; a planted link or a folder others may enter is not
// used; --tmp still chooses.
TEST(TarnrunOutputs, TheEllipseCopyGoesToAPrivateFolder) {
    testsupport::TempFolder folder("tarnrun-private-tmp");
    const fs::path runtime = folder / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    ASSERT_EQ(runExample(folder, "", "XDG_RUNTIME_DIR='" + runtime.string() + "'"), exitConverged);
    const std::string eel = readBytes(folder / "site.EEL");
    ASSERT_NE(eel.find("EE,"), std::string::npos);
    EXPECT_EQ(readBytes(runtime / "TARNWELL.EEL"), eel);
    EXPECT_FALSE(fs::exists(folder / "TARNWELL.EEL")) << "never in the shared folder";

    // A runtime folder others may enter is passed over for the own folder.
    fs::permissions(runtime, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::remove(runtime / "TARNWELL.EEL");
    ASSERT_EQ(runExample(folder, "", "XDG_RUNTIME_DIR='" + runtime.string() + "'"), exitConverged);
    EXPECT_FALSE(fs::exists(runtime / "TARNWELL.EEL"));
    const fs::path own = folder / privateFolderName();
    EXPECT_EQ(readBytes(own / "TARNWELL.EEL"), eel);
    EXPECT_EQ(modeOf(own), 0700u);
    fs::remove_all(own);

    ASSERT_EQ(runExample(folder, "", ""), exitConverged);
    EXPECT_EQ(readBytes(own / "TARNWELL.EEL"), eel);
    EXPECT_EQ(modeOf(own), 0700u);
    fs::remove_all(own);

    // Someone else's link in the folder's place: the run ends as usual and
    // writes nothing through it.
    const fs::path elsewhere = folder / "elsewhere";
    fs::create_directory(elsewhere);
    fs::create_directory_symlink(elsewhere, own);
    ASSERT_EQ(runExample(folder, "", ""), exitConverged);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_EQ(readBytes(folder / "site.EEL"), eel);
    fs::remove(own);

    const fs::path chosen = folder / "chosen";
    fs::create_directory(chosen);
    ASSERT_EQ(runExample(folder, "", "XDG_RUNTIME_DIR='" + runtime.string() + "'",
                         "--tmp '" + chosen.string() + "'"),
              exitConverged);
    EXPECT_EQ(readBytes(chosen / "TARNWELL.EEL"), eel);
}

namespace {

// The example's points A to D already stored, with values no run computes,
// in an alphanumeric .crd (project type 4, the library's type 1).
class TarnrunStoredPoints : public ::testing::Test {
protected:
    void SetUp() override {
        settings.wrtToCrd = 1;
        settings.crdFileName = "site.crd";
        settings.crdFileType = 4;
        finalcoords::storeCrdPoints(
            crdPath(), 1,
            {finalcoords::crdPoint("A", 1.0, 1.0), finalcoords::crdPoint("B", 2.0, 2.0),
             finalcoords::crdPoint("C", 3.0, 3.0), finalcoords::crdPoint("D", 4.0, 4.0)});
        before = readBytes(crdPath());
    }
    std::string crdPath() const { return (folder / "site.crd").string(); }
    double stored(const char* name) {
        const std::optional<crdPointRec> p = finalcoords::storedPoint(crdPath(), name);
        return p ? p->northing : std::nan("");
    }
    std::string console() const { return readBytes(folder / "console.txt"); }

    testsupport::TempFolder folder{"tarnrun-stored"};
    globalVars settings = sitecopy::exampleSettings();
    std::string before;
};

} // namespace

// Preprocessing computes preliminary coordinates only: they replace stored
// points when --overwrite=all asks for it, never by default.
TEST_F(TarnrunStoredPoints, PreprocessingKeepsStoredPointsUnlessOverwriteAllIsGiven) {
    ASSERT_EQ(sitecopy::run(folder, settings, exampleRaw(), "--preprocess"), exitConverged);
    for (const auto& [name, northing] :
         {std::pair{"A", 1.0}, std::pair{"B", 2.0}, std::pair{"C", 3.0}, std::pair{"D", 4.0}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(stored(name), northing);
    }
    ASSERT_EQ(sitecopy::run(folder, settings, exampleRaw(), "--preprocess --overwrite=all"),
              exitConverged);
    const auto nez = sitecopy::readNez(folder / "site.NEZ");
    ASSERT_EQ(nez.count("C"), 1u);
    EXPECT_NEAR(stored("C"), nez.at("C").northing, 0.001);
}

TEST_F(TarnrunStoredPoints, ACancelledWriteSaysNothingWasStoredAndExitsWith1) {
    EXPECT_EQ(sitecopy::run(folder, settings, exampleRaw(), "--overwrite=cancel"), exitStopped);
    const std::string said =
        "Nothing was stored in site.crd: the overwrite question was cancelled.";
    EXPECT_NE(console().find(said), std::string::npos) << console();
    EXPECT_NE(readBytes(folder / "site.ERR").find(said + "\r\n"), std::string::npos);
    EXPECT_EQ(readBytes(crdPath()), before);
}

// The default project type, a numeric .crd, takes no letter names: the run
// names every point it could not store and exits with 1.
TEST(TarnrunOutputs, LetterNamesRefusedByANumericFileAreNamedAndExitWith1) {
    testsupport::TempFolder folder("tarnrun-numeric-crd");
    globalVars settings = sitecopy::exampleSettings();
    settings.wrtToCrd = 1;
    settings.crdFileName = "site.crd";
    settings.crdFileType = 1;
    EXPECT_EQ(sitecopy::run(folder, settings, exampleRaw()), exitStopped);
    const std::string console = readBytes(folder / "console.txt");
    const std::string said = "Not stored in site.crd: A, B, D, C";
    EXPECT_NE(console.find("Invalid point name: A"), std::string::npos) << console;
    EXPECT_NE(console.find(said), std::string::npos) << console;
    EXPECT_NE(readBytes(folder / "site.ERR").find(said + "\r\n"), std::string::npos);
}

// A raw file whose lines end in CR alone (or LF alone) reads as the same
// file with CR LF does; it never reads as an empty file.
TEST(TarnrunOutputs, RawFileWithCrOrLfLineEndsReadsLikeCrLf) {
    testsupport::TempFolder crLf("tarnrun-raw-crlf");
    const std::string raw = exampleRaw();
    ASSERT_NE(raw.find("\r\n"), std::string::npos);
    ASSERT_EQ(sitecopy::run(crLf, sitecopy::exampleSettings(), raw), exitConverged);
    const std::string expected = readBytes(crLf / "site.NEZ");
    ASSERT_EQ(sitecopy::readNez(crLf / "site.NEZ").size(), 4u);
    for (const char* lineEnd : {"\r", "\n"}) {
        SCOPED_TRACE(lineEnd[0] == '\r' ? "CR" : "LF");
        const std::string text = testsupport::replaceAll(raw, "\r\n", lineEnd);
        testsupport::TempFolder folder("tarnrun-raw-line-ends");
        ASSERT_EQ(sitecopy::run(folder, sitecopy::exampleSettings(), text), exitConverged);
        EXPECT_EQ(readBytes(folder / "site.NEZ"), expected);
    }
}
