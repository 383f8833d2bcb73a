// Point names of .RW5 files never merge without a word: the lists hold a
// name's first 10 characters, so two names alike in those stop the reading
// naming the file, the line and both names; names of 10 characters or less
// are kept whole; the dummy backsights of setups without a backsight point
// are each a point of their own.

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

// Each row: a file whose line 3 brings a name that would merge with the one
// line 2 brought.
TEST_F(Rw5NameFile, NamesAlikeInTheirFirstTenCharactersStopTheReading) {
    const struct {
        const char* second;
        const char* earlier;
        const char* later;
    } rows[] = {
        {"SS,OP1,FPLONGNAME002,AR20.0000,ZE90.0000,SD20.000", "LONGNAME001", "LONGNAME002"},
        {"SS,OP1,FPLONGNAME00,AR20.0000,ZE90.0000,SD20.000", "LONGNAME001", "LONGNAME00"},
        {"SP,PNlongname001x,N 10.0,E 20.0,EL1.0", "LONGNAME001", "longname001x"},
        {"BK,OPLONGNAME0019,BP1,BS,BC0.0000", "LONGNAME001", "LONGNAME0019"},
        {"AZ,BP1,FPLONGNAME002,AZ45.0000", "LONGNAME001", "LONGNAME002"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.second);
        resetProgramLists();
        shell.boxes.clear();
        ASSERT_EQ(::ftruncate(errFile, 0), 0);
        ASSERT_EQ(::lseek(errFile, 0, SEEK_SET), 0);
        const std::string second = row.second;
        ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                           "SS,OP1,FPLONGNAME001,AR10.0000,ZE90.0000,SD10.000\r\n" +
                           second + "\r\nSS,OP1,FP9,AR30.0000,ZE90.0000,SD30.000\r\n"),
                  rw5ReadFailed);
        const std::string text = "Point names " + std::string(row.earlier) + " and " + row.later +
                                 " agree in their first 10 characters, so they would be one "
                                 "point.";
        const std::string where = "  File: " + path() + ", line 3";
        const std::string earlier =
            "  " + std::string(row.earlier) + " was read in " + path() + ", line 2";
        EXPECT_EQ(errorReport(), text + "\r\n" + where + "\r\n" + earlier + "\r\n\r\n");
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, text + "\n" + where + "\n" + earlier);
        EXPECT_EQ(records().size(), 1u) << "the records before stay, the rest is not read";
    }
}

// Names the lists hold whole, the same name in another letter case, and a
// long name met again: one point each, nothing refused.
TEST_F(Rw5NameFile, NamesTheListsHoldAreReadWhole) {
    ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                       "SS,OP1,FPLONGNAME001,AR10.0000,ZE90.0000,SD10.000\r\n"
                       "SS,OP1,FPLONGNAME001,AR10.0000,ZE90.0000,SD10.000\r\n"
                       "SS,OP1,FPA23456789B,AR20.0000,ZE90.0000,SD20.000\r\n"
                       "SS,OP1,FPa23456789b,AR20.0000,ZE90.0000,SD20.000\r\n"
                       "SS,OP1,FPA23456789C,AR30.0000,ZE90.0000,SD30.000\r\n"),
              rw5ReadDone);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(nameOf(r[0].foresightName), "LONGNAME00");
    EXPECT_EQ(nameOf(r[2].foresightName), "A23456789B");
    EXPECT_EQ(nameOf(r[4].foresightName), "A23456789C");
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

// A point of the file named as a dummy backsight made before would be that
// dummy: the reading stops and names both.
TEST_F(Rw5NameFile, APointNamedAsADummyBacksightStopsTheReading) {
    ASSERT_EQ(readText("LS,HI1.500,HR1.500\r\n"
                       "BK,OP12,BP,BS0.0000,BC0.0000\r\n"
                       "SS,OP12,FPBACK12,AR45.0000,ZE90.0000,SD100.000\r\n"),
              rw5ReadFailed);
    EXPECT_EQ(errorReport(), "Point name BACK12 is the name of a point the reader made.\r\n"
                             "  File: " +
                                 path() +
                                 ", line 3\r\n"
                                 "  BACK12 was made as the dummy backsight of 12 (" +
                                 path() + ", line 2)\r\n\r\n");
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
