#include "model/settings/ini_paths.hpp"
#include "platform/program_folder.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <sstream>

using testsupport::writeBytes;

namespace {

class IniFile : public ::testing::Test {
protected:
    testsupport::TempFolder folder{"ini"};

    iniPaths readWith(const std::string& text, const std::string& fileName = "TARNWELL.INI") {
        writeBytes(folder / fileName, text);
        iniPaths ini;
        EXPECT_EQ(ini.read(folder.path().string()), 0);
        return ini;
    }
};

} // namespace

TEST_F(IniFile, ReadsTheFiveValues) {
    const iniPaths ini = readWith("EXEDIR=/opt/Tarnwell\r\n"
                                  "TMPDIR=/var/tmp/Tarnwell/\r\n"
                                  "HELPDIR=/usr/share/doc/Tarnwell\r\n"
                                  "HELPFILE=Tarnwell.chm\r\n"
                                  "HELPTOPIC=Getting_Started\r\n");
    EXPECT_EQ(ini.exeDir, "/opt/Tarnwell/") << "a folder gets its trailing separator";
    EXPECT_EQ(ini.tmpDir, "/var/tmp/Tarnwell/") << "one that has it is unchanged";
    EXPECT_EQ(ini.helpDir, "/usr/share/doc/Tarnwell/");
    EXPECT_EQ(ini.helpFile, "Tarnwell.chm");
    EXPECT_EQ(ini.helpTopic, "Getting_Started");
    EXPECT_EQ(ini.iniFilePath, (folder / "TARNWELL.INI").string());
}

TEST_F(IniFile, KeysIgnoreCaseAndBlanksWhileValuesKeepTheirCase) {
    const iniPaths ini = readWith("  helpfile = MixedCase.chm  \r\n"
                                  "ExeDir=C:\\Program Files\\Tarnwell\r\n"
                                  "TmpDir=\r\n");
    EXPECT_EQ(ini.helpFile, "MixedCase.chm");
    EXPECT_EQ(ini.exeDir, "C:/Program Files/Tarnwell/")
        << "backslashes are separators; the case of a path never changes";
    EXPECT_EQ(ini.tmpDir, "") << "an empty folder stays empty rather than becoming the root";
}

TEST_F(IniFile, SkipsWhatIsNotAKnownKeyAndReadsTheLastLine) {
    const iniPaths ini = readWith("[Paths]\n"
                                  "; comment\n"
                                  "DATADIR=/data\n"
                                  "HELPTOPIC=Index");
    EXPECT_EQ(ini.exeDir, "");
    EXPECT_EQ(ini.helpTopic, "Index");
}

TEST_F(IniFile, FindsTheFileWhateverTheCaseOfItsName) {
    const iniPaths ini = readWith("EXEDIR=/opt/t\r\n", "tarnwell.ini");
    EXPECT_EQ(ini.exeDir, "/opt/t/");
    EXPECT_EQ(ini.iniFilePath, (folder / "tarnwell.ini").string());
}

TEST_F(IniFile, AMissingFileIsNotRead) {
    iniPaths ini;
    EXPECT_EQ(ini.read(folder.path().string()), 1);
    EXPECT_EQ(ini.exeDir, "");
    EXPECT_EQ(ini.iniFilePath, (folder / "TARNWELL.INI").string());
    EXPECT_FALSE(std::filesystem::exists(folder / "TARNWELL.INI"));
}

TEST(IniLines, ReadKeyLineResults) {
    std::istringstream file("HELPDIR=/h\r\nnothing\r\nOTHER=1\r\nhelptopic = T \r\n");
    int index = -9;
    std::string value = "untouched";
    EXPECT_EQ(iniPaths::readKeyLine(file, index, value), 2);
    EXPECT_EQ(value, "/h");
    EXPECT_EQ(iniPaths::readKeyLine(file, index, value), 6);
    EXPECT_EQ(iniPaths::readKeyLine(file, index, value), 5);
    EXPECT_EQ(index, 2) << "only a recognised key sets the out values";
    EXPECT_EQ(iniPaths::readKeyLine(file, index, value), 4);
    EXPECT_EQ(value, "T");
    EXPECT_EQ(iniPaths::readKeyLine(file, index, value), -1);
}

TEST(IniFolder, TheCommandLineElseTheProgramFolder) {
    EXPECT_EQ(iniFolder("/srv/projects"), "/srv/projects");
    EXPECT_EQ(iniFolder(""), platform::programFolder());
}
