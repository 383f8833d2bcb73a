// The grid store of a loaded geoid grid, the refusal of unusable headers,
// and the codes of a store that cannot be made.

#include "geoid_grid_files.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace geoid_test;
using geodetic_detail::GeoidNode;

// The file form against a plain array, over access patterns that cross its
// 14,000-record write window and 28,000-record read window back and forth.
TEST(GeoidPagedStore, HoldsWhatWasWrittenWhereverItWasWritten) {
    testsupport::TempFolder folder("geoid-paged");
    const std::int64_t nodeCount = 100000;
    std::unique_ptr<geodetic_detail::GeoidNodeStore> store =
        geodetic_detail::createPagedGeoidNodeStore(nodeCount, folder.path());
    ASSERT_TRUE(store);
    std::vector<GeoidNode> expected(static_cast<std::size_t>(nodeCount));

    std::uint64_t seed = 12345;
    auto next = [&seed](std::int64_t below) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::int64_t>((seed >> 33) % static_cast<std::uint64_t>(below));
    };
    auto check = [&](std::int64_t k) {
        const GeoidNode got = store->read(k);
        const GeoidNode& want = expected[static_cast<std::size_t>(k)];
        ASSERT_EQ(got.valid, want.valid) << "node " << k;
        ASSERT_EQ(got.value, want.value) << "node " << k;
    };
    auto put = [&](std::int64_t k) {
        const GeoidNode node =
            k % 7 != 0 ? GeoidNode{0.5 * static_cast<double>(k) - 7.25, true} : GeoidNode{};
        store->write(k, node);
        expected[static_cast<std::size_t>(k)] = node;
    };

    for (std::int64_t k = 0; k < nodeCount; k += 3) // in order, as a load does
        put(k);
    for (int i = 0; i < 400; ++i) { // anywhere, reads between the writes
        const std::int64_t k = next(nodeCount);
        if (i % 3 == 0)
            put(k);
        check(next(nodeCount));
        check(k);
    }
    for (std::int64_t k = nodeCount - 1; k >= 0; k -= 997) // backwards, in long jumps
        put(k);
    for (std::int64_t k = 0; k < nodeCount; ++k)
        check(k);
}

TEST(GeoidPagedStore, RemovesItsTemporaryFile) {
    testsupport::TempFolder folder("geoid-paged-file");
    {
        auto store = geodetic_detail::createPagedGeoidNodeStore(10, folder.path());
        ASSERT_TRUE(store);
        EXPECT_EQ(store->temporaryFile().parent_path(), folder.path());
        EXPECT_EQ(store->temporaryFile().filename().string().rfind("grd", 0), 0u);
        // 16-byte records, laid out at once.
        EXPECT_EQ(std::filesystem::file_size(store->temporaryFile()), 160u);
    }
    EXPECT_EQ(temporaryFilesIn(folder.path()), 0);
}

class GeoidLoading : public GeoidTest {
protected:
    void writeEgm96(const std::string& text) {
        testsupport::writeBytes(folder / "egm96.grd", text);
    }
    void open() { ASSERT_EQ(openGeoidGrid(folder.path().c_str(), geoidEgm96), geoidModelFound); }
    testsupport::TempFolder folder{"geoid-loading"};
};

// A header is checked before anything is made for it: a count below 1 or
// bounds that do not increase would divide by zero or index backwards, and
// counts beyond what the file could hold would ask for memory (here up to
// 10^18 nodes) that no real grid needs.
TEST_F(GeoidLoading, AHostileHeaderIsRefusedBeforeAnythingIsAllocated) {
    const std::string values = "1\n2\n3\n4\n5\n6\n7\n8\n9\n";
    struct Case {
        const char* what;
        std::string text;
        int status = geoidFileUnavailable; // a line that is no number: geoidFileDamaged
    };
    const Case cases[] = {
        {"zero column count", std::string("0\n0\n2\n2\n0\n2\n") + values},
        {"negative row count", std::string("0\n0\n2\n2\n2\n-2\n") + values},
        {"count below one", std::string("0\n0\n2\n2\n0.5\n2\n") + values},
        {"no number as a count", std::string("0\n0\n2\n2\nabc\n2\n") + values, geoidFileDamaged},
        {"reversed latitudes", std::string("2\n0\n0\n2\n2\n2\n") + values},
        {"reversed longitudes", std::string("0\n2\n2\n0\n2\n2\n") + values},
        {"equal longitudes", std::string("0\n2\n2\n2\n2\n2\n") + values},
        {"a bound that is not a number", std::string("nan\n0\n2\n2\n2\n2\n") + values,
         geoidFileDamaged},
        {"counts larger than the file",
         std::string("0\n0\n2\n2\n1000000000\n1000000000\n") + values},
        {"counts beyond an int32", std::string("0\n0\n2\n2\n1e30\n2\n") + values, geoidFileDamaged},
        {"a header cut short", "0\n0\n2\n"},
    };
    for (const bool fileForm : {false, true}) {
        geodetic_detail::injectGeoidStoreFaults({fileForm, false});
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.what << (fileForm ? ", file form" : ""));
            closeGeoidGrid();
            writeEgm96(c.text);
            open();
            const Lookup r = lookup(1, 1);
            EXPECT_EQ(r.status, c.status);
            EXPECT_EQ(r.height, 0.0);
            EXPECT_EQ(temporaryFilesIn(folder.path()), 0);
        }
    }
}

TEST_F(GeoidLoading, AGridThatFillsItsFileExactlyIsAccepted) {
    // 2 x 2 intervals: 9 nodes of one byte each, and the header.
    writeEgm96("0\n0\n2\n2\n2\n2\n1\n1\n1\n1\n1\n1\n1\n1\n1\n");
    open();
    const Lookup r = lookup(1, 1);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, 1.0, 1e-12);
}

TEST_F(GeoidLoading, ValuesThatAreNotNumbersHaveNoValue) {
    // 1 x 1 interval cells, 3 x 3 nodes, the centre node as given.
    for (const char* centre : {"N/A", "NaN", "-98765432.1", "nan", "inf"}) {
        SCOPED_TRACE(centre);
        closeGeoidGrid();
        writeEgm96(std::string("10\n20\n12\n22\n2\n2\n5\n5\n5\n5\n") + centre + "\n5\n5\n5\n5\n");
        open();
        EXPECT_EQ(lookup(11, 21).status, geoidNoValue);
        EXPECT_EQ(lookup(10.5, 20).status, geoidOk); // the western side, both ends valid
    }
}

// A node or header line that is not wholly a number is no value of the
// grid: the file is refused as damaged, naming the file and the line, and
// no grid stays loaded. "#0.000" was read as 0 (a 5 cm error in a height
// where the node is 0.05), "1,5" as 1. Lines that end at a lone CR count
// their lines as the others.
TEST_F(GeoidLoading, ALineThatIsNotWhollyANumberRefusesTheFile) {
    const std::string header = "10\n20\n12\n22\n2\n2\n";
    const struct {
        const char* what;
        std::string text;
        int line;
        const char* why;
    } cases[] = {
        {"text before a node", header + "5\n5\n5\n5\n#0.000\n5\n5\n5\n5\n", 11,
         "The node value \"#0.000\" is not a number."},
        {"a decimal comma", header + "5\n5\n1,5\n5\n5\n5\n5\n5\n5\n", 9,
         "The node value \"1,5\" is not a number."},
        {"text after a node", header + "5\n5\n5\n5\n5\n5\n5\n5\n5 m\n", 15,
         "The node value \"5 m\" is not a number."},
        {"an empty line", header + "5\n\n5\n5\n5\n5\n5\n5\n5\n", 8,
         "The node value \"\" is not a number."},
        {"hexadecimal", header + "5\n5\n5\n0x1p2\n5\n5\n5\n5\n5\n", 10,
         "The node value \"0x1p2\" is not a number."},
        {"a header line", "10\n20\n12x\n22\n2\n2\n5\n5\n5\n5\n5\n5\n5\n5\n5\n", 3,
         "The northern latitude \"12x\" is not a number."},
        {"CR alone ends the lines", "10\r20\r12\r22\r2\r2\r5\r5\r5\r5\r#5\r5\r5\r5\r5\r", 11,
         "The node value \"#5\" is not a number."},
    };
    for (const bool fileForm : {false, true}) {
        geodetic_detail::injectGeoidStoreFaults({fileForm, false});
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.what << (fileForm ? ", file form" : ""));
            closeGeoidGrid();
            writeEgm96(c.text);
            open();
            const Lookup r = lookup(11, 21);
            EXPECT_EQ(r.status, geoidFileDamaged);
            EXPECT_EQ(r.height, 0.0);
            EXPECT_EQ(std::string(geoidGridFault()),
                      "Geoid grid file " + (folder / "egm96.grd").string() + ", line " +
                          std::to_string(c.line) + ": " + c.why);
            EXPECT_EQ(temporaryFilesIn(folder.path()), 0);
        }
    }
    closeGeoidGrid();
    EXPECT_EQ(std::string(geoidGridFault()), "");
}

// The same grid with lone CR line ends reads as with LF.
TEST_F(GeoidLoading, ACarriageReturnOnlyGridReadsAsTheSameGrid) {
    writeEgm96("10\r20\r12\r22\r2\r2\r1\r2\r3\r4\r5\r6\r7\r8\r9\r");
    open();
    const Lookup r = lookup(11, 21);
    ASSERT_EQ(r.status, geoidOk);
    EXPECT_NEAR(r.height, 5.0, 1e-12); // the centre node
}

TEST_F(GeoidLoading, AMissingGridFileCannotBeLoaded) {
    writeEgm96("0\n0\n2\n2\n2\n2\n");
    open();
    std::filesystem::remove(folder / "egm96.grd");
    EXPECT_EQ(lookup(1, 1).status, geoidFileUnavailable);
}

TEST_F(GeoidLoading, NoMemoryAndNoTemporaryFileLeaveNoStore) {
    writeEgm96("0\n0\n2\n2\n2\n2\n1\n1\n1\n1\n1\n1\n1\n1\n1\n");
    open();
    geodetic_detail::injectGeoidStoreFaults({true, true});
    const Lookup r = lookup(1, 1);
    EXPECT_EQ(r.status, geoidNoStore);
    EXPECT_EQ(r.height, 0.0);
    geodetic_detail::injectGeoidStoreFaults({true, false});
    EXPECT_EQ(lookup(1, 1).status, geoidOk);
}

TEST_F(GeoidLoading, SwappingTilesReleasesTheTemporaryFile) {
    GridSpec six{24, 248, 41, 265, 17, 17, [](double, double) { return 6.0; }};
    GridSpec seven{24, 265, 41, 282, 17, 17, [](double, double) { return 7.0; }};
    writeGrid(folder / "g1999u06.grd", six);
    writeGrid(folder / "g1999u07.grd", seven);
    geodetic_detail::injectGeoidStoreFaults({true, false});
    ASSERT_EQ(openGeoidGrid(folder.path().c_str(), geoidGeoid99), geoidModelFound);
    EXPECT_NEAR(lookup(30, 250).height, 6.0, 1e-12);
    EXPECT_NEAR(lookup(30, 270).height, 7.0, 1e-12);
    EXPECT_EQ(temporaryFilesIn(folder.path()), 1);
    closeGeoidGrid();
    EXPECT_EQ(temporaryFilesIn(folder.path()), 0);
}

} // namespace
