#include "converter_test_support.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/data_word_level_converter.hpp"
#include "input/converters/lettered_level_converter.hpp"
#include "input/level_file_reader.hpp"
#include "input/level_test_project.hpp"

#include <gtest/gtest.h>

using convertertest::fixture;

namespace {

class LevelConversion : public leveltest::LevelProject {
protected:
    std::string path(const std::string& name) const { return (folder / name).string(); }

    // Converts `lines` (each ended by CR LF) and returns the .LEV text, or the
    // message after a failure, which must leave no output.
    std::string words(const std::vector<std::string>& lines, int expected = conversionDone) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        return convert(convertDataWordLevelFile, text, expected);
    }
    // The same for a lettered file (lines ended by LF).
    std::string lettered(const std::vector<std::string>& lines, int expected = conversionDone) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return convert(convertLetteredLevelFile, text, expected);
    }

    void expectDiff(const std::string& from, const std::string& to, double diff) {
        SCOPED_TRACE(from + " -> " + to);
        distanceObs2D line;
        ASSERT_GE(distanceList2D.find(from, to, line), 0);
        EXPECT_EQ(fixedText(line.from), from);
        EXPECT_NEAR(line.vertDiff, diff, 1e-9);
    }

private:
    using Converter = int (*)(const std::string&, const std::string&, std::string&);
    std::string convert(Converter converter, const std::string& text, int expected) {
        const std::string input = writeFile("in.txt", text);
        std::filesystem::remove(folder / "out.LEV");
        std::string message;
        EXPECT_EQ(converter(path(input), path("out.LEV"), message), expected) << message;
        if (expected == conversionDone)
            return testsupport::readBytes(folder / "out.LEV");
        EXPECT_FALSE(std::filesystem::exists(folder / "out.LEV"));
        return message;
    }
};

// Data words: a name word, then a word of the given index, unit and sign.
std::string nameWord(const std::string& name) {
    return "110001+" + std::string(8 - name.size(), '0') + name + " ";
}
std::string numberWord(const std::string& index, char unit, char sign, int value) {
    const std::string digits = std::to_string(value);
    return index + std::string(5 - index.size(), '.') + unit + sign +
           std::string(8 - digits.size(), '0') + digits + " ";
}

} // namespace

TEST_F(LevelConversion, DataWordRunBecomesLevLinesAndHeightDifferences) {
    std::string message;
    ASSERT_EQ(convertDataWordLevelFile(fixture("word_run.dat"), path("run.LEV"), message),
              conversionDone)
        << message;
    // Start A1 at 100 m (unit 1: mm). Backsight 123450 with unit 6 = 1.2345;
    // foresight to 00000012 (point 12) 50 with unit 8 = 0.5; backsight
    // 10000 with unit 7 = 1.0 on the line of 24-character words; side shot
    // 2000 mm to S1; foresight 500 mm to B, left pending when the file ends
    // with a code line, so an ER line closes it under its own name.
    const std::string expected = "SR,PNA1,BS1.2345,FS,FE100.0000,--\r\n"
                                 "TP,PN12,BS1.0000,FS0.5000,--\r\n"
                                 "LV,PNS1,BS,FS2.0000,--\r\n"
                                 "ER,PNB,BS,FS0.5000,EL,--\r\n";
    EXPECT_EQ(testsupport::readBytes(folder / "run.LEV"), expected);
    // A1 -> 12: 1.2345 - 0.5; 12 -> S1: 1.0 - 2.0; 12 -> B: 1.0 - 0.5.
    ASSERT_EQ(readLevFile2D(rptFile, path("run.LEV"), 0), levelReadOk);
    ASSERT_EQ(distanceList2D.count(), 3);
    expectDiff("A1", "12", 0.7345);
    expectDiff("12", "S1", -1.0);
    expectDiff("12", "B", 0.5);
}

// The sign character of a word was never read.
TEST_F(LevelConversion, DataWordSignsAreKept) {
    EXPECT_EQ(words({nameWord("1") + numberWord("83", '1', '-', 5000),
                     nameWord("1") + numberWord("331", '1', '+', 1500),
                     nameWord("2") + numberWord("333", '1', '-', 250),
                     nameWord("3") + numberWord("332", '1', '+', 750)}),
              "SR,PN1,BS1.5000,FS,FE-5.0000,--\r\n"
              "LV,PN2,BS,FS-0.2500,--\r\n"
              "ER,PN3,BS,FS0.7500,EL,--\r\n");
}

// A line of 255 or more characters ended the reading as if the file ended,
// and the conversion reported success.
TEST_F(LevelConversion, DataWordLinesOfAnyLengthAreRead) {
    std::string longLine = nameWord("1");
    for (int i = 0; i < 16; ++i)
        longLine += numberWord("42", '0', '+', i);
    longLine += numberWord("331", '1', '+', 1000);
    ASSERT_GE(longLine.size(), 255u);
    std::string longWords = "*110001+0000000000000001 ";
    for (int i = 0; i < 10; ++i)
        longWords += "42....+000000000000000" + std::to_string(i) + " ";
    longWords += "332.01+0000000000000500 ";
    ASSERT_GE(longWords.size(), 255u);
    EXPECT_EQ(words({nameWord("1") + numberWord("83", '1', '+', 7000), longLine, longWords}),
              "SR,PN1,BS1.0000,FS,FE7.0000,--\r\n"
              "ER,PN1,BS,FS0.5000,EL,--\r\n");
}

// A backsight with no foresight pending wrote a TP line with an old or
// undefined foresight reading.
TEST_F(LevelConversion, ADataWordBacksightWithoutAForesightStops) {
    const std::string start = nameWord("1") + numberWord("83", '1', '+', 7000);
    const std::string backsight = nameWord("1") + numberWord("331", '1', '+', 1000);
    const std::string foresight = nameWord("2") + numberWord("332", '1', '+', 500);
    const std::string input = path("in.txt");
    const std::string fault =
        "backsight reading with neither a start point nor a foresight before it";
    // Two backsights in a row.
    EXPECT_EQ(words({start, backsight, foresight, backsight, backsight}, conversionFailed),
              input + ", line 5: " + fault);
    // A start line with its elevation as the first word is no start point.
    EXPECT_EQ(
        words({numberWord("83", '1', '+', 7000) + nameWord("1"), backsight}, conversionFailed),
        input + ", line 2: " + fault);
}

TEST_F(LevelConversion, ADataWordNumberThatIsNotANumberStops) {
    EXPECT_EQ(words({nameWord("1") + "83..11+0010X000 "}, conversionFailed),
              path("in.txt") + ", line 1: The word 83 \"0010X000\" is not a number.");
}

TEST_F(LevelConversion, LetteredRunBecomesLevLinesAndHeightDifferences) {
    std::string message;
    ASSERT_EQ(convertLetteredLevelFile(fixture("lettered_run.txt"), path("run.LEV"), message),
              conversionDone)
        << message;
    // Mode 2: readings / 10000, elevations / 1000. Start BM1 at 100;
    // backsight 1.5; foresight 0.5 to TP1 (code PEG); backsight 1.2; side
    // shot 0.8 to SS1 (code SIDE); foresight 2.2 closing on BM1, so the ER
    // line carries the start elevation.
    const std::string expected = "SR,PNBM1,BS1.500000,FS,FE100.000000,--BM1\n"
                                 "TP,PNTP1,BS1.200000,FS0.500000,--PEG\n"
                                 "LV,PNSS1,BS,FS0.800000,--SIDE\n"
                                 "ER,PNBM1,BS,FS2.200000,FE100.000000,--\n";
    EXPECT_EQ(testsupport::readBytes(folder / "run.LEV"), expected);
    // BM1 -> TP1: 1.5 - 0.5 = 1.0 and TP1 -> BM1: 1.2 - 2.2 = -1.0, one line;
    // TP1 -> SS1: 1.2 - 0.8.
    ASSERT_EQ(readLevFile2D(rptFile, path("run.LEV"), 0), levelReadOk);
    ASSERT_EQ(distanceList2D.count(), 2);
    expectDiff("BM1", "TP1", 1.0);
    expectDiff("TP1", "SS1", 0.4);
}

TEST_F(LevelConversion, LetteredNumbersAreScaledByTheMode) {
    struct Case {
        const char* mode;
        const char* reading; // 123456 / the mode's reading divisor
        const char* elevation;
    };
    const Case cases[] = {
        {"02", "12.345600", "123.456000"},    {"03", "1.234560", "12.345600"},
        {"04", "1234.560000", "1234.560000"}, {"05", "123.456000", "1234.560000"},
        {"06", "12.345600", "123.456000"},    {"07", "12.345600", "12.345600"},
        {"08", "1.234560", "1.234560"},       {"0A", "12.345600", "12.345600"},
        {"09", "123.456000", "123.456000"},   {"2", "123.456000", "123.456000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string mode = c.mode;
        EXPECT_EQ(lettered({"b," + mode + ",,P,123456", "g," + mode + ",123456,0,,,,Q"}),
                  std::string("SR,PNP,BS") + c.reading + ",FS,FE" + c.elevation + ",--Q\n");
    }
}

// Intermediate sights were written from the data of an earlier k record (or
// undefined before any) at every foresight, and an ER line carried the start
// elevation, or a code in its place, whatever point it ended on.
TEST_F(LevelConversion, LetteredSideShotsAndEndsUseTheirOwnData) {
    EXPECT_EQ(lettered({"b,02,,BM1,100000", "g,02,15000,0,,,,BM1", "k,02,8000,0,,,,S1",
                        "i,02,5000,0,,,,TP1", "y,PEG", "g,02,12000,0,,,,TP1", "k,02,9000",
                        "i,02,7000,0,,,,BM2", "w,02"}),
              "SR,PNBM1,BS1.500000,FS,FE100.000000,--BM1\n"
              "LV,PNS1,BS,FS0.800000,--\n"
              "TP,PNTP1,BS1.200000,FS0.500000,--PEG\n"
              "LV,PN,BS,FS0.900000,--\n"
              "ER,PNBM2,BS,FS0.700000,EL,--\n");
}

// Lines were read into a 127-character buffer, and a field a line did not
// have kept the value of an earlier line.
TEST_F(LevelConversion, LetteredFieldsAreEachLinesOwnWhateverItsLength) {
    const std::string longCode(300, 'c');
    EXPECT_EQ(lettered({"b,02,,BM1,100000", "g,02,15000,0,,,,BM1", "i,02,5000,0,,,,TP1",
                        "y," + longCode, "g,02,12000", "i,02,7000", "w,02"}),
              "SR,PNBM1,BS1.500000,FS,FE100.000000,--BM1\n"
              "TP,PNTP1,BS1.200000,FS0.500000,--" +
                  longCode +
                  "\n"
                  "ER,PN,BS,FS0.700000,EL,--\n");
    const std::string input = path("in.txt");
    EXPECT_EQ(lettered({"b,02,,BM1,100000", "g,02,15000", "i,02", "g,02,12000"}, conversionFailed),
              input + ", line 3: sight without a reading");
}

TEST_F(LevelConversion, ALetteredRunOutOfOrderStops) {
    const std::string input = path("in.txt");
    EXPECT_EQ(lettered({"b,02,,BM1,100000", "g,02,15000", "g,02,12000"}, conversionFailed),
              input + ", line 3: backsight with neither a start point nor a foresight before it");
    EXPECT_EQ(lettered({"g,02,15000"}, conversionFailed),
              input + ", line 1: backsight with neither a start point nor a foresight before it");
    EXPECT_EQ(lettered({"b,02,,BM1,100000", "g,02,15000", "w,02"}, conversionFailed),
              input + ", line 3: end of line without a foresight before it");
    EXPECT_EQ(lettered({"b,02,,BM1,1000.5"}, conversionFailed),
              input + ", line 1: start point without an elevation");
}

// A control byte inside a number is kept, so the number is refused: it was
// dropped, and the digits on both sides of it merged into one reading.
TEST_F(LevelConversion, AControlByteInsideANumberStops) {
    const std::string input = path("in.txt");
    EXPECT_EQ(
        lettered({"b,02,,BM1,100000", std::string("g,02,15") + '\t' + "000"}, conversionFailed),
        input + ", line 2: backsight without a reading");
    EXPECT_EQ(lettered({std::string("b,02,,BM1,100") + '\0' + "000"}, conversionFailed),
              input + ", line 1: start point without an elevation");
    EXPECT_EQ(words({nameWord("1") + "83..11+0010" + '\x01' + "000 "}, conversionFailed),
              input + ", line 1: The word 83 \"0010<0x01>000\" is not a number.");
}

TEST_F(LevelConversion, FilesThatCannotBeOpenedAreNamed) {
    std::string message;
    EXPECT_EQ(convertDataWordLevelFile(path("missing.dat"), path("out.LEV"), message),
              conversionFailed);
    EXPECT_EQ(message, "Open error: " + path("missing.dat") + ": No such file or directory");
    EXPECT_EQ(convertLetteredLevelFile(path("missing.txt"), path("out.LEV"), message),
              conversionFailed);
    EXPECT_EQ(message, "Error opening " + path("missing.txt") + ": No such file or directory");
    const std::string unwritable = path("no-such-folder/out.LEV");
    EXPECT_EQ(convertDataWordLevelFile(fixture("word_run.dat"), unwritable, message),
              conversionFailed);
    EXPECT_EQ(message, "Open error: " + unwritable + ": No such file or directory");
    EXPECT_EQ(convertLetteredLevelFile(fixture("lettered_run.txt"), unwritable, message),
              conversionFailed);
    EXPECT_EQ(message, "Error opening " + unwritable + ": No such file or directory");
}

TEST_F(LevelConversion, AFailedConversionKeepsTheOldOutput) {
    writeFile("out.LEV", "a good file\r\n");
    const std::string input = writeFile("bad.txt", "b,02,,BM1,100000\ng,02,15000\nw,02\n");
    std::string message;
    EXPECT_EQ(convertLetteredLevelFile(path(input), path("out.LEV"), message), conversionFailed);
    EXPECT_EQ(testsupport::readBytes(folder / "out.LEV"), "a good file\r\n");
}
