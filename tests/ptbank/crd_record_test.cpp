#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_io.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace ptbank;

namespace {

crdIoPointRec rec(double z, const std::string& desc, const std::string& code) {
    crdIoPointRec p;
    p.fill(100.0, 200.0, z, "P1", desc, code);
    return p;
}

} // namespace

TEST(CrdIoPointRecord, FillCutsEachFieldToItsWidth) {
    crdIoPointRec p;
    p.reserved = 7;
    p.fill(1.0, 2.0, 3.0, std::string(300, 'N'), "desc", "TREES");
    EXPECT_EQ(std::string(p.code), "TREE") << "four characters and the terminator";
    EXPECT_EQ(std::string(p.name).size(), 255u);
    EXPECT_EQ(p.reserved, 0);
    EXPECT_EQ(p.easting, 1.0);
    EXPECT_EQ(p.northing, 2.0);
    p.clear();
    EXPECT_EQ(std::string(p.name), "");
    EXPECT_EQ(p.elevation, 0.0);
}

TEST(CrdIoPointRecord, CodePackingThroughTheDescription) {
    crdIoPointRec p = rec(1.0, "oak", "TREE");
    packCodeIntoDescription(p, p);
    EXPECT_STREQ(p.description, "TREE/oak");
    EXPECT_STREQ(p.code, "");

    crdIoPointRec blank = rec(1.0, "oak", "   ");
    packCodeIntoDescription(blank, blank);
    EXPECT_STREQ(blank.description, "oak") << "an all-blank code leaves the description";
    EXPECT_STREQ(blank.code, "") << "and is still cleared";

    crdIoPointRec far = rec(1.0, "ABCDE/x", "");
    crdIoPointRec out = far;
    unpackCodeFromDescription(far, out);
    EXPECT_STREQ(out.description, "ABCDE/x") << "a '/' at index 5 is no separator";
    EXPECT_STREQ(out.code, "");

    crdIoPointRec tree = rec(1.0, "TREE/oak", "");
    unpackCodeFromDescription(tree, tree);
    EXPECT_STREQ(tree.code, "TREE");
    EXPECT_STREQ(tree.description, "oak");
}

TEST(CrdIoPointRecord, ElevationEncodingsBetweenLayouts) {
    struct Case {
        int type;
        double neutral;  // neutral elevation
        double stored;   // elevation in the type's layout
        double readBack; // the stored value brought back to neutral
    };
    const Case cases[] = {
        {crd_type::numeric, -99999999.0, 0.0, -99999999.0},
        {crd_type::numeric, 0.0, 1e-50, 0.0},
        {crd_type::alphanumeric, 12.5, 12.5, 12.5},
        {crd_type::vkNumeric, -99999999.0, -99999999.0, -99999999.0},
        {crd_type::plainview, -99999999.0, -100000000.0, -99999999.0},
        {crd_type::plainview, -5000.0, -5000.0, -5000.0},
        {crd_type::landDesktop, -99999999.0, -1.0e20, -99999999.0},
        {crd_type::landDesktop, -1000.0, -1000.0, -99999999.0}, // below -999.9 reads as none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.neutral));
        crdIoPointRec neutral = rec(c.neutral, "d", "");
        crdIoPointRec stored;
        fromNeutralRecord(c.type, neutral, stored);
        EXPECT_EQ(stored.elevation, c.stored);
        crdIoPointRec back;
        toNeutralRecord(c.type, stored, back);
        EXPECT_EQ(back.elevation, c.readBack);
    }
}

TEST(CrdIoPointRecord, ConversionBetweenUserTypes) {
    // Neutral (type 4) to alphanumeric (type 1): code packed, elevation encoded.
    crdIoPointRec neutral = rec(0.0, "oak", "TREE");
    crdIoPointRec alpha;
    convertCrdRecord(crd_type::vkNumeric, crd_type::alphanumeric, neutral, alpha);
    EXPECT_STREQ(alpha.description, "TREE/oak");
    EXPECT_STREQ(alpha.code, "");
    EXPECT_EQ(alpha.elevation, 1e-50);

    crdIoPointRec again;
    convertCrdRecord(crd_type::alphanumeric, crd_type::vkNumeric, alpha, again);
    EXPECT_STREQ(again.description, "oak");
    EXPECT_STREQ(again.code, "TREE");
    EXPECT_EQ(again.elevation, 0.0);

    // Equal types copy untouched, also in place.
    crdIoPointRec same = alpha;
    convertCrdRecord(crd_type::alphanumeric, crd_type::alphanumeric, same, same);
    EXPECT_STREQ(same.description, "TREE/oak");
    EXPECT_EQ(same.elevation, 1e-50);
    // Numeric to alphanumeric passes through neutral and back: unchanged.
    crdIoPointRec viaNeutral;
    convertCrdRecord(crd_type::numeric, crd_type::alphanumeric, alpha, viaNeutral);
    EXPECT_STREQ(viaNeutral.description, "TREE/oak");
    EXPECT_EQ(viaNeutral.elevation, 1e-50);
}

// A record read from a file is converted where it stands; the result must be
// the one a conversion into a separate record gives, for every pair of layouts.
TEST(CrdIoPointRecord, ConvertingInPlaceMatchesConvertingIntoAnotherRecord) {
    const int types[] = {crd_type::numeric,   crd_type::alphanumeric, crd_type::vkAlphanumeric,
                         crd_type::vkNumeric, crd_type::plainview,    crd_type::landDesktop};
    const crdIoPointRec records[] = {
        rec(0.0, "TREE/oak", ""),   rec(1e-50, "oak", "TREE"),         rec(12.5, "AB/", "CP"),
        rec(-99999999.0, "x", ""),  rec(-1.0e20, "ABCDE/far", "   "), rec(-100000000.0, "", ""),
        rec(-5000.0, "/lead", "E"),
    };
    for (const int from : types) {
        for (const int to : types) {
            for (const crdIoPointRec& original : records) {
                SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to) + " '" +
                             original.description + "' '" + original.code + "' " +
                             std::to_string(original.elevation));
                crdIoPointRec separate;
                convertCrdRecord(from, to, original, separate);
                crdIoPointRec inPlace = original;
                inPlace.reserved = 9;
                convertCrdRecord(from, to, inPlace, inPlace);
                EXPECT_EQ(inPlace.elevation, separate.elevation);
                EXPECT_EQ(inPlace.easting, separate.easting);
                EXPECT_EQ(inPlace.northing, separate.northing);
                EXPECT_STREQ(inPlace.name, separate.name);
                EXPECT_STREQ(inPlace.description, separate.description);
                EXPECT_STREQ(inPlace.code, separate.code);
                if (from != to) {
                    EXPECT_EQ(inPlace.reserved, 0);
                }
            }
        }
    }
}
