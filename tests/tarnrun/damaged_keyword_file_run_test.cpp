// The example run with one record of its closure file or of its ALTA points
// file damaged. A control byte was deleted before the keywords were sought,
// so that it joined what stood on either side of it; a line without keyword,
// a name too long or a maximum that was no whole number gave a message and
// the run went on to coordinates with exit status 0. Now the run stops
// (exit status 1), names the file, the line and the field, and leaves the
// .NEZ and .OUT of the run before byte for byte as they were.

#include "damaged_field_run.hpp"
#include "site_copy_run.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using damagedfield::Damage;

TEST(DamagedKeywordFileRun, ClosureFile) {
    const std::vector<Damage> rows = {
        {"a control byte inside a point name", "D,A,B,C,D,A",
         "D,A,B\x01"
         "C,D,A",
         4, "The point name \"B<0x01>C\" is not a name: it holds a control byte."},
        {"a NUL inside a switch", "ANG_CLOSURE ON", std::string("ANG_CLOSURE O\0N", 15), 2,
         "The ANG_CLOSURE value \"O<NUL>N\" is not a name"},
        {"a point name of 12 characters", "D,A,B,C,D,A", "D,A,B,CONTROLPT001,D,A", 4,
         "The point name \"CONTROLPT001\" is longer than 10 characters."},
        // The list was read without the lost name, which left the loop
        // unclosed with only a note that an angle was not found.
        {"a point name deleted between its commas", "D,A,B,C,D,A", "D,A,,C,D,A", 4,
         "The point name is blank."},
        {"a point name rubbed out to a blank", "D,A,B,C,D,A", "D,A,B, ,D,A", 4,
         "The point name is blank."},
        {"a comma after the last name", "TRAV_LIST A,B,C,D,A", "TRAV_LIST A,B,C,D,A,", 9,
         "The point name is blank."},
        {"a misspelt keyword", "TRAV_END\r\nVERT", "TRAV_ENF\r\nVERT", 5,
         "The keyword is missing."},
        // A setting's word outside its list left the setting of the
        // definition before: the traverse was closed as a loop.
        {"a slip in a traverse type", "TRAV_TYPE PT_TO_PT", "TRAV_TYPE PQ_TO_PT", 8,
         "The TRAV_TYPE value \"PQ_TO_PT\" is not LOOP_INTERIOR_REF, LOOP_EXTERIOR_REF, "
         "PT_TO_PT or GPS_LOOP."},
        {"a slip in a switch", "VERT_CLOSURE ON", "VERT_CLOSURE QN", 1,
         "The VERT_CLOSURE value \"QN\" is not ON or OFF."},
        {"a switch without its word", "ANG_CLOSURE OFF", "ANG_CLOSURE", 7,
         "The ANG_CLOSURE value is missing."},
    };
    const testsupport::TempFolder folder("damaged-cls-run");
    const globalVars settings = sitecopy::exampleSettings();
    damagedfield::expectEveryDamageStops(
        folder, folder / "site.cls", "site",
        testsupport::readBytes(sitecopy::exampleFile("site.cls")),
        [&](const std::string& closures) {
            EXPECT_EQ(settings.writeProjectFile((folder / "site.prj").string()), 1);
            testsupport::writeBytes(folder / "site.vkr", sitecopy::exampleRaw());
            testsupport::writeBytes(folder / "site.cls", closures);
            return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt");
        },
        rows);
}

TEST(DamagedKeywordFileRun, AltaPointsFile) {
    const std::vector<Damage> rows = {
        {"a control byte inside a pair", "C-D",
         "C-\x1b"
         "D",
         1, "The point name \"<0x1B>D\" is not a name: it holds a control byte."},
        {"a point name of 12 characters", "A,C,D", "A,CONTROLPT001,D", 2,
         "The point name \"CONTROLPT001\" is longer than 10 characters."},
        {"a pair without its dash", "C-D", "C D", 1, "The point name is blank."},
        {"a letter O in the maximum", "MAX_PTS 20", "MAX_PTS 2O", 3,
         "The maximum \"2O\" is not a whole number."},
        {"a misspelt keyword", "REL_ERR_ALL", "REL_ERR_AL", 2, "The keyword is missing."},
    };
    const testsupport::TempFolder folder("damaged-alt-run");
    globalVars settings = sitecopy::exampleSettings();
    settings.relativeErrFileOn = 1;
    settings.ALTARptOn = 1;
    settings.altaTolerance = 0.05;
    settings.relativeErrFileNm = "site.alt";
    damagedfield::expectEveryDamageStops(
        folder, folder / "site.alt", "site",
        "REL_ERR_PAIRS C-D\r\nREL_ERR_ALL A,C,D\r\nRPT_ALL_MAX_PTS 20\r\n",
        [&](const std::string& points) {
            testsupport::writeBytes(folder / "site.alt", points);
            return sitecopy::run(folder, settings, sitecopy::exampleRaw());
        },
        rows);
}

} // namespace
