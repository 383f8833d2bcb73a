// The example project's traverse written as an .RW5 file by hand
// (fixtures/input/rw5/site.rw5, from the sights of examples/site/site.vkr):
// both readers must leave the same raw records, so the observation lists and
// the adjustment built from them are the same.

#include "rw5_test_support.hpp"

#include "input/numeric_raw_reader.hpp"

namespace {

using namespace rw5test;

std::string exampleProject() {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site/site.prj";
}

using Rw5Example = Rw5ReaderTest;

TEST_F(Rw5Example, SameRawRecordsAsTheNumericFile) {
    ASSERT_NE(projectVars.readProjectFile(exampleProject()), 0);
    projectVars.projectFileName = exampleProject();
    ASSERT_EQ(readVkrRawFile("site.vkr\n"), vkrReadOk);
    const std::vector<rawRec> numeric = records();
    ASSERT_EQ(readRw5File(fixture("site.rw5") + "\n", ""), rw5ReadDone);
    const std::vector<rawRec> rw5 = records();

    ASSERT_EQ(rw5.size(), numeric.size());
    for (std::size_t i = 0; i < rw5.size(); ++i) {
        SCOPED_TRACE(i);
        rawRec expected = numeric[i];
        // The numeric file's point codes ("CP", "IP") have no place in the
        // .RW5 records, whose descriptions are the same texts without them.
        setFixedText(expected.code, "");
        // Each record notes its own file and line.
        expected.sourceFile = rw5[i].sourceFile;
        expected.sourceLine = rw5[i].sourceLine;
        EXPECT_EQ(rw5[i], expected);
    }
    EXPECT_EQ(errorReport(), "");
}

// The format carries records this reader does not use: a job, a mode, the
// stakeout records of a cut sheet ("CF") and a design point ("DE"), notes.
// Among the example's records, even between a setup and the backsight sight
// it takes, they change none of the records read.
TEST_F(Rw5Example, RecordsItPassesOverChangeNothing) {
    ASSERT_EQ(readRw5File(fixture("site.rw5") + "\n", ""), rw5ReadDone);
    const std::vector<rawRec> plain = records();
    std::string text = testsupport::readBytes(fixture("site.rw5"));
    const std::size_t setup = text.find("BK,OPA,BPD,BS,BC0.00000\n");
    ASSERT_NE(setup, std::string::npos);
    text.insert(text.find('\n', setup) + 1,
                "--stake out the corner\n"
                "DE,PN101,N 1100.000,E 1100.000,EL50.500,--design corner\n"
                "CF,PN101,CU0.250,--cut 0.25\n");
    text = "JB,NMsite,DT03-14-2026,TM10:00:00\nMO,AD0,UN1,SF1.00000000,EC0,EO0.0,AU0\n"
           "--crew of two\n" +
           text;
    const std::string path = (folder / "stakeout.rw5").string();
    testsupport::writeBytes(path, text);
    ASSERT_EQ(readRw5File(path + "\n", ""), rw5ReadDone);
    const std::vector<rawRec> mixed = records();

    ASSERT_EQ(mixed.size(), plain.size());
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        SCOPED_TRACE(i);
        rawRec expected = plain[i];
        expected.sourceFile = mixed[i].sourceFile;
        expected.sourceLine = mixed[i].sourceLine;
        EXPECT_EQ(mixed[i], expected);
    }
    EXPECT_EQ(errorReport(), "");
}

} // namespace
