// Point names of .RW5 files are never cut: the lists hold 10 characters, so
// a longer name stops the reading naming the file, the line and the name;
// names of 10 characters or less are kept whole; the dummy backsights of
// setups without a backsight point are each a point of their own, and never
// take the name of a point of the files.

#include "input/rw5_names.hpp"
#include "rw5_test_support.hpp"

#include <cmath>

namespace {

using namespace rw5test;

using Rw5Names = Rw5ReaderTest;

class Rw5NameFile : public Rw5ReaderTest {
protected:
    int readText(const std::string& text) {
        testsupport::writeBytes(folder / "names.rw5", text);
        return readRw5File(path() + "\n", "");
    }
    std::string path() const { return (folder / "names.rw5").string(); }
};

// Cut to 10 characters, LONGNAME001 and LONGNAME002 were one point, and a
// lone LONGNAME001 came out as LONGNAME00. Each row: a file whose line 3
// brings a name of 11 characters or more in one of the places names stand.
TEST_F(Rw5NameFile, NamesLongerThanTheListsHoldStopTheReading) {
    const struct {
        const char* record;
        const char* field;
        const char* name;
    } rows[] = {
        {"SS,OP1,FPLONGNAME002,AR20.0000,ZE90.0000,SD20.000", "foresight point", "LONGNAME002"},
        {"SS,OPLONGNAME002,FP2,AR20.0000,ZE90.0000,SD20.000", "occupied point", "LONGNAME002"},
        {"SP,PNlongname001x,N 10.0,E 20.0,EL1.0", "point name", "longname001x"},
        {"BK,OPLONGNAME0019,BP1,BS,BC0.0000", "occupied point", "LONGNAME0019"},
        {"BK,OP1,BPLONGNAME0019,BS,BC0.0000", "backsight point", "LONGNAME0019"},
        {"AZ,BP1,FPLONGNAME002,AZ45.0000", "to point", "LONGNAME002"},
        {"EL,PNLONGNAME002,EL10.0", "point name", "LONGNAME002"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        resetProgramLists();
        shell.boxes.clear();
        ASSERT_EQ(::ftruncate(errFile, 0), 0);
        ASSERT_EQ(::lseek(errFile, 0, SEEK_SET), 0);
        const std::string record = row.record;
        ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                           "SS,OP1,FP2,AR10.0000,ZE90.0000,SD10.000\r\n" +
                           record + "\r\nSS,OP1,FP9,AR30.0000,ZE90.0000,SD30.000\r\n"),
                  rw5ReadFailed);
        const std::string text = "Error parsing raw record:\r\n" + record +
                                 "\r\n  File: " + path() + ", line 3\r\nThe " + row.field + " \"" +
                                 row.name + "\" is longer than 10 characters.\r\n\r\n";
        EXPECT_EQ(errorReport(), text);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(records().size(), 1u) << "the records before stay, the rest is not read";
    }
}

// Names the lists hold whole and the same name in another letter case: one
// point each, nothing refused.
TEST_F(Rw5NameFile, NamesTheListsHoldAreReadWhole) {
    ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                       "SS,OP1,FPA23456789B,AR20.0000,ZE90.0000,SD20.000\r\n"
                       "SS,OP1,FPa23456789b,AR20.0000,ZE90.0000,SD20.000\r\n"
                       "SS,OP1,FPA23456789C,AR30.0000,ZE90.0000,SD30.000\r\n"),
              rw5ReadDone);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(nameOf(r[0].foresightName), "A23456789B");
    EXPECT_EQ(nameOf(r[2].foresightName), "A23456789C");
    EXPECT_EQ(errorReport(), "");
}

// Setups at 1234567 and 1234568 with an azimuth and no backsight point:
// "BACK" and the point would need 11 characters, and cut to 10 both were
// BACK123456, one point 100 units from both setups at once. Each setup gets
// a dummy point of its own, and a short name keeps "BACK" + its name.
TEST_F(Rw5NameFile, DummyBacksightsAreEachAPointOfTheirOwn) {
    ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                       "BK,OP1234567,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP1234567,FP1234568,AR90.0000,ZE90.0000,SD100.000\r\n"
                       "BK,OP1234568,BP,BS180.0000,BC0.0000\r\n"
                       "SS,OP1234568,FP3,AR90.0000,ZE90.0000,SD100.000\r\n"
                       "BK,OP1234567,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP1234567,FP4,AR45.0000,ZE90.0000,SD100.000\r\n"
                       "BK,OP12,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP12,FP5,AR45.0000,ZE90.0000,SD100.000\r\n"),
              rw5ReadDone);
    std::vector<std::string> backsights;
    for (const rawRec& record : records())
        if (record.kind == rawSetup)
            backsights.push_back(nameOf(record.backsightName));
    EXPECT_EQ(backsights, (std::vector<std::string>{"BK1", "BK2", "BK1", "BACK12"}));
}

// A real point called like the dummy backsight of an earlier setup (BACK12
// for a setup at 12) stopped the reading of a valid file. The dummy now
// takes a name no point of the files has, and the real point keeps its own.
TEST_F(Rw5NameFile, APointNamedLikeADummyBacksightKeepsItsNameAndTheFileReads) {
    ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                       "BK,OP12,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP12,FPBACK12,AR45.0000,ZE90.0000,SD100.000\r\n"
                       "BK,OP13,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP13,FP7,AR45.0000,ZE90.0000,SD100.000\r\n"
                       "BK,OP14,BP,BS,BC0.0000\r\n"
                       "SS,OP14,FPBACK1,AR45.0000,ZE90.0000,SD100.000\r\n"),
              rw5ReadDone);
    std::vector<std::string> backsights;
    std::vector<std::string> foresights;
    for (const rawRec& record : records()) {
        if (record.kind == rawSetup)
            backsights.push_back(nameOf(record.backsightName));
        if (record.kind == rawForesight)
            foresights.push_back(nameOf(record.foresightName));
    }
    // 14 has neither a backsight point nor an azimuth: its placeholder is not
    // BACK1 either, a point of the file.
    EXPECT_EQ(backsights, (std::vector<std::string>{"BK1", "BACK13", "BK2"}));
    EXPECT_EQ(foresights, (std::vector<std::string>{"BACK12", "7", "BACK1"}));
    EXPECT_EQ(errorReport(), "");
}

// The points a resection's reading notes sight are points of the file too.
TEST_F(Rw5NameFile, APointOfAResectionNoteIsNoDummyName) {
    ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                       "BK,OP12,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP12,FP7,AR45.0000,ZE90.0000,SD100.000\r\n"
                       "SP,PN50,N 1000.000,E 2000.000,EL10.000,--RES\r\n"
                       "--Resection\r\n"
                       "--Reading 1:   BACK12,AR0.0000,ZE90.0000,SD100.000\r\n"
                       "--Reading 2:   7,AR90.0000,ZE90.0000,SD80.000\r\n"),
              rw5ReadDone);
    std::vector<std::string> backsights;
    for (const rawRec& record : records())
        if (record.kind == rawSetup)
            backsights.push_back(nameOf(record.backsightName));
    EXPECT_EQ(backsights, (std::vector<std::string>{"BK1", "BACK12"}));
    EXPECT_EQ(errorReport(), "");
}

TEST(Rw5NameBook, ReservedNamesAreNoDummyNames) {
    Rw5NameBook book;
    book.reserve("back7");
    book.reserve("BACK1");
    EXPECT_EQ(book.dummyBacksight("7", "f, line 1"), "BK1");
    EXPECT_EQ(book.placeholderName(), "BK2");
    EXPECT_EQ(book.placeholderName(), "BK2");
    EXPECT_FALSE(book.take("BACK7", "f, line 2"));
}

TEST(Rw5NameBook, DummyNamesAvoidEveryNameMet) {
    Rw5NameBook book;
    EXPECT_FALSE(book.take("BACK7", "f, line 1"));
    EXPECT_FALSE(book.take("BK1", "f, line 2"));
    EXPECT_EQ(book.dummyBacksight("7", "f, line 3"), "BK2");
    EXPECT_EQ(book.dummyBacksight("8", "f, line 4"), "BACK8");
    EXPECT_EQ(book.dummyBacksight("7", "f, line 5"), "BK2");
    EXPECT_FALSE(book.takePlaceholder("BACK1", "f, line 6"));
    EXPECT_FALSE(book.takePlaceholder("BACK1", "f, line 7"));
    EXPECT_EQ(book.dummyBacksight("1", "f, line 8"), "BK3");
    const auto clash = book.take("back8", "f, line 9");
    ASSERT_TRUE(clash);
    EXPECT_EQ(clash->earlier, "BACK8");
    EXPECT_EQ(clash->how, "made as the dummy backsight of 8 (f, line 4)");
}

} // namespace
