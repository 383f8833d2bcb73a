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

} // namespace
