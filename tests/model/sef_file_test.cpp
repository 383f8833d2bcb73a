#include "model/settings/std_err_record.hpp"
#include "platform/shell_services.hpp"
#include "support/comma_locale.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const std::string fixtures = std::string(TARNWELL_FIXTURES) + "/model/sef/";

// The values of crew.sef, typed from it.
stdErrRec crewRecord() {
    stdErrRec r;
    r.SEDistCnstn = 0.002;
    r.SEDistPPM = 1.5;
    r.SEHAngPoint = 1.0;
    r.SEHAngRead = 0.5;
    r.SEVAngPoint = 2.0;
    r.SEVAngRead = 1.5;
    r.SETSTrgtCntr = 0.001;
    r.SETSInstCntr = 0.0015;
    r.SETrgtHght = 0.0025;
    r.SEInstHght = 0.003;
    r.SEAz = 2.0;
    r.SENorth = 0.015;
    r.SEEast = 0.016;
    r.SEElev = 0.03;
    r.AvgDistToBS = 45.5;
    r.SELevelRodRead = 0.00025;
    r.SECollimation = 1.25;
    r.GPSInstCntr = 0.002;
    r.VectorSEFactor = 1.0;
    return r;
}

std::vector<double> valuesOf(const stdErrRec& r) {
    return {r.SEDistCnstn,    r.SEDistPPM,     r.SEHAngPoint,  r.SEHAngRead,    r.SEVAngPoint,
            r.SEVAngRead,     r.SETSTrgtCntr,  r.SETSInstCntr, r.SETrgtHght,    r.SEInstHght,
            r.SEAz,           r.SENorth,       r.SEEast,       r.SEElev,        r.AvgDistToBS,
            r.SELevelRodRead, r.SECollimation, r.GPSInstCntr,  r.VectorSEFactor};
}

class SefFile : public ::testing::Test {
protected:
    void SetUp() override { previous_ = setActiveShell(&shell); }
    void TearDown() override { setActiveShell(previous_); }

    std::vector<std::string> boxTexts() const { return shell.boxTexts(); }

    RecordingShell shell;
    testsupport::TempFolder folder{"sef"};

private:
    ShellServices* previous_ = nullptr;
};

} // namespace

TEST_F(SefFile, WritesByteForByte) {
    const struct {
        const char* fixture;
        stdErrRec record;
    } cases[] = {{"defaults.sef", stdErrRec()}, {"crew.sef", crewRecord()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        stdErrRec r = c.record;
        r.path = (folder / "out.sef").string();
        ASSERT_EQ(r.writeFile(), 0);
        EXPECT_EQ(readBytes(r.path), readBytes(fixtures + c.fixture));
    }
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(SefFile, RoundTripsByteForByteUnderACommaLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    stdErrRec read;
    ASSERT_EQ(read.load(fixtures + "crew.sef"), 0);
    EXPECT_EQ(valuesOf(read), valuesOf(crewRecord()));
    read.path = (folder / "again.sef").string();
    ASSERT_EQ(read.writeFile(), 0);
    EXPECT_EQ(readBytes(read.path), readBytes(fixtures + "crew.sef"));
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(SefFile, MissingFileIsAnErrorAndIsNotCreated) {
    const std::string missing = (folder / "missing.sef").string();
    stdErrRec r = crewRecord();
    EXPECT_EQ(r.load(missing), 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(valuesOf(r), valuesOf(crewRecord()));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Error opening standard error  file: " +
                                                   missing + ": No such file or directory"});
}

TEST_F(SefFile, EmptyPathAndUnwritablePathFailWithTheirMessages) {
    stdErrRec r;
    EXPECT_EQ(r.readFile(), 1);
    EXPECT_EQ(r.writeFile(), 1);
    r.path = (folder / "no-such-folder" / "x.sef").string();
    EXPECT_EQ(r.writeFile(), 1);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{
                  "Invalid standard error file.\n", "Invalid standard error file.\n",
                  "Error opening standard error file: " + r.path + ": No such file or directory"}));
}

TEST_F(SefFile, ReplacingAFileKeepsTheOldOneUntilTheNewOneIsWhole) {
    const auto path = folder / "crew.sef";
    writeBytes(path, "SEAz=9.000000\r\n");
    stdErrRec r = crewRecord();
    r.path = path.string();
    ASSERT_EQ(r.writeFile(), 0);
    EXPECT_EQ(readBytes(path), readBytes(fixtures + "crew.sef"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST_F(SefFile, OnlyTheKeysInTheFileChangeAndBadLinesAreReported) {
    const auto path = folder / "partial.sef";
    // LF line ends, a blank before "=", a key in another case, a line without
    // "=", and a last line without a line end.
    writeBytes(path, "SEAz=2\nSENorth =0.5\nseEast=0.5\nno equals sign\n  SEElev=0.04  ");
    stdErrRec r;
    ASSERT_EQ(r.load(path.string()), 0);
    stdErrRec expected;
    expected.SEAz = 2.0;
    expected.SEElev = 0.04;
    EXPECT_EQ(valuesOf(r), valuesOf(expected));
    const std::string file = path.string();
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "Error parsing record: SENorth =0.5\r\nFile: " + file,
                              "Error parsing record: seEast=0.5\r\nFile: " + file,
                              "Error parsing record: no equals sign\r\nFile: " + file,
                          }));
}

TEST(SefRecord, ReadKeyLineGivesTheKeyIndex) {
    stdErrRec r;
    EXPECT_EQ(r.readKeyLine("SEDistCnstn=0.001"), 0);
    EXPECT_EQ(r.readKeyLine("VectorSEFactor=2"), 18);
    EXPECT_EQ(r.readKeyLine("SEAz"), 19);
    EXPECT_EQ(r.readKeyLine("Unknown=1"), 19);
    EXPECT_EQ(r.SEDistCnstn, 0.001);
    EXPECT_EQ(r.VectorSEFactor, 2.0);
    r.setDefaults();
    EXPECT_EQ(r.SEDistCnstn, 0.005);
    EXPECT_EQ(r.AvgDistToBS, 150.0);
}

// A folder named as the file is refused for what it is: the reason was the
// "No such file or directory" of an earlier call.
TEST_F(SefFile, AFolderIsRefusedAsAFolder) {
    stdErrRec r = crewRecord();
    EXPECT_EQ(r.load(folder.path().string()), stdErrRec::failed);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Error opening standard error  file: " +
                                                    folder.path().string() + ": Is a directory"}));
    EXPECT_EQ(valuesOf(r), valuesOf(crewRecord()));
}

// A value that is not wholly a number is refused naming the file, the line,
// the key and the value, and the read fails (the standard errors page takes
// nothing from it); the other lines are read. The C library's conversion
// took 1,5 as 1 and 0x1p-3 as 0.125.
TEST_F(SefFile, AValueThatIsNotWhollyANumberIsRefused) {
    const struct {
        const char* value;
        const char* quoted; // as the message shows it
    } cases[] = {
        {"1,5", "1,5"},      {"2abc", "2abc"}, {"0x1p-3", "0x1p-3"}, {"1 5", "1 5"},
        {"1\t5", "1<TAB>5"}, {"", ""},         {"nan", "nan"},       {"1e400", "1e400"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quoted);
        shell.boxes.clear();
        const auto path = folder / "damaged.sef";
        writeBytes(path, std::string("SEAz=2\r\nSEDistCnstn=") + c.value + "\r\nSEElev=0.04\r\n");
        stdErrRec r;
        EXPECT_EQ(r.load(path.string()), stdErrRec::failed);
        stdErrRec expected;
        expected.SEAz = 2.0;
        expected.SEElev = 0.04;
        EXPECT_EQ(valuesOf(r), valuesOf(expected));
        const std::string line = std::string("SEDistCnstn=") + c.quoted;
        EXPECT_EQ(boxTexts(),
                  (std::vector<std::string>{
                      "Error parsing record: " + line + "\r\nFile: " + path.string() +
                      ", line 2: The SEDistCnstn \"" + c.quoted + "\" is not a number."}));
    }
}
