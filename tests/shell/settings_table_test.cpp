// The settings sheet's transfer table without windows: filling, applying and
// storing, the grads of the angular errors, the number checks, the .sef
// exchange, the coordinate file types and the raw file list rules.

#include "model/settings/global_vars.hpp"
#include "shell/settings/coordinate_file_types.hpp"
#include "shell/settings/input_files_page.hpp"
#include "shell/settings/settings_table.hpp"
#include "shell/settings/std_err_fields.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

globalVars defaults() {
    globalVars settings;
    settings.setDefaults();
    return settings;
}

const SettingEntry& entryOf(double globalVars::*member) {
    const auto& entries = settingEntries();
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const SettingEntry& e) {
        const auto* held = std::get_if<double globalVars::*>(&e.member);
        return held != nullptr && *held == member;
    });
    EXPECT_NE(found, entries.end());
    return *found;
}

} // namespace

// Each setting has one row: two rows for one member would transfer it twice.
TEST(SettingsTable, EverySettingHasOneRowOnOnePage) {
    std::set<std::size_t> seen;
    globalVars probe;
    for (const SettingEntry& entry : settingEntries()) {
        const auto address =
            std::visit([&](auto member) { return reinterpret_cast<std::size_t>(&(probe.*member)); },
                       entry.member);
        EXPECT_TRUE(seen.insert(address).second)
            << "page " << entry.page << " control " << entry.control;
        EXPECT_GE(entry.page, 0);
        EXPECT_LT(entry.page, 6);
    }
    // 15 + 16 + 8 + 19 + 9 + 14 settings on the six pages.
    EXPECT_EQ(settingEntries().size(), 81u);
}

// 6.48" is 6.48 / 3240 = 0.002 grads. Apply, then OK, must both store 6.48".
TEST(SettingsTable, GradsShownAreSecondsStored) {
    globalVars project = defaults();
    project.angleType = 1;
    project.stErrPoint = 6.48;
    globalVars sheet;
    fillSheetValues(project, 0, sheet);
    EXPECT_NEAR(sheet.stErrPoint, 0.002, 1e-15);

    EXPECT_FALSE(applySheetValues(sheet, project)); // Apply with nothing changed
    EXPECT_EQ(project.stErrPoint, 6.48);
    EXPECT_FALSE(applySheetValues(sheet, project)); // then OK
    EXPECT_EQ(project.stErrPoint, 6.48);

    globalVars stored = defaults();
    storeSheetValues(sheet, stored);
    EXPECT_NEAR(stored.stErrPoint, 6.48, 1e-12);
}

TEST(SettingsTable, ApplyMarksAChangeOnlyWhenAValueDiffers) {
    globalVars project = defaults();
    globalVars sheet;
    fillSheetValues(project, 1, sheet);
    EXPECT_EQ(sheet.useVkTool, 1);
    EXPECT_FALSE(applySheetValues(sheet, project));

    sheet.maxIterations = project.maxIterations + 5;
    sheet.crdFileName = "out.crd";
    sheet.stErrAz = 2.5;
    EXPECT_TRUE(applySheetValues(sheet, project));
    EXPECT_EQ(project.maxIterations, sheet.maxIterations);
    EXPECT_EQ(project.crdFileName, "out.crd");
    EXPECT_EQ(project.stErrAz, 2.5);
    EXPECT_FALSE(applySheetValues(sheet, project));
}

// Changing the unit on the sheet converts what it shows, so the seconds stay.
TEST(SettingsTable, ChangingTheAngleUnitKeepsTheErrorsSize) {
    globalVars project = defaults();
    project.stErrRead = 6.48;
    globalVars sheet;
    fillSheetValues(project, 0, sheet);
    changeShownAngleUnit(sheet, 1);
    EXPECT_NEAR(sheet.stErrRead, 0.002, 1e-15);
    EXPECT_TRUE(applySheetValues(sheet, project));
    EXPECT_EQ(project.angleType, 1);
    EXPECT_NEAR(project.stErrRead, 6.48, 1e-12);
}

// The confidence factors exist only from 50 to 99.99 per cent; a vector
// error factor beyond 10 is a slip.
TEST(SettingsTable, NumberEditsAreChecked) {
    struct Row {
        double globalVars::*member;
        const char* text;
        const char* problem; // empty: accepted
    };
    const Row rows[] = {
        {&globalVars::confidenceInterval, "95", ""},
        {&globalVars::confidenceInterval, "50", ""},
        {&globalVars::confidenceInterval, "99.99", ""},
        {&globalVars::confidenceInterval, "120", "Please enter a number between 50 and 99.99."},
        {&globalVars::confidenceInterval, "0", "Please enter a number between 50 and 99.99."},
        {&globalVars::stErrGPSMultFactor, "10", ""},
        {&globalVars::stErrGPSMultFactor, "11", "Please enter a number between 0 and 10."},
        {&globalVars::stErrY, "0.0x1", "Please enter a number."},
        {&globalVars::stErrY, "", "Please enter a number."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto problem = numberEntryProblem(entryOf(row.member), row.text);
        EXPECT_EQ(problem.value_or(""), row.problem);
    }
}

// Each .sef key goes with the error of its own quantity; angles are seconds
// in the file whatever unit the sheet shows.
TEST(SettingsTable, StandardErrorFilesKeepEachErrorInItsField) {
    globalVars shown = defaults();
    stdErrRec record;
    record.SETSTrgtCntr = 0.001;
    record.SETrgtHght = 0.002;
    record.SEInstHght = 0.003;
    record.SEHAngPoint = 6.48;
    stdErrsFromRecord(record, 1, shown);
    EXPECT_EQ(shown.stErrTrgtCentering, 0.001);
    EXPECT_EQ(shown.rodStErr, 0.002);
    EXPECT_EQ(shown.HIStErr, 0.003);
    EXPECT_NEAR(shown.stErrPoint, 0.002, 1e-15);

    testsupport::TempFolder folder("sef");
    stdErrRec written;
    stdErrsToRecord(shown, 1, written);
    written.path = (folder / "crew.sef").string();
    ASSERT_EQ(written.writeFile(), stdErrRec::ok);
    stdErrRec read;
    ASSERT_EQ(read.load(written.path), stdErrRec::ok);
    for (const StdErrField& field : stdErrFields()) {
        SCOPED_TRACE(field.label);
        EXPECT_NEAR(read.*field.sefValue, record.*field.sefValue, 1e-6);
    }
}

TEST(CoordinateFileTypes, FilterEntriesNameTheirTypes) {
    // Second order: Velmora numeric, Velmora alphanumeric, V&K numeric, V&K alphanumeric, ...
    const int velmoraFirst[] = {3, 4, 1, 2, 5, 6};
    for (int entry = 1; entry <= 6; ++entry) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(coordinateFileTypeOfEntry(entry, 1), entry);
        EXPECT_EQ(coordinateFileTypeOfEntry(entry, 0), velmoraFirst[entry - 1]);
        EXPECT_EQ(coordinateFilterEntry(velmoraFirst[entry - 1], 0), entry);
        EXPECT_EQ(coordinateFilterEntry(entry, 1), entry);
    }
    EXPECT_EQ(coordinateFileTypeOfEntry(7, 0), 0);
    EXPECT_EQ(coordinateFilterEntry(0, 0), 1);
    EXPECT_EQ(coordinateFileExtension(2), "vkc");
    EXPECT_EQ(coordinateFileExtension(5), "mdb");
    EXPECT_EQ(coordinateFileExtension(6), "zak");
    EXPECT_EQ(coordinateFileExtension(3), "crd");
    EXPECT_EQ(coordinateFileFilter(0).rfind("Velmora Numeric (crd)|*.crd|", 0), 0u);
}

TEST(RawFileList, KindsDoNotMixAndListsSplit) {
    EXPECT_FALSE(listHasOtherExtension({"b.RW5"}, "a.rw5"));
    EXPECT_TRUE(listHasOtherExtension({"b.RW5"}, "c.vkr"));
    EXPECT_FALSE(listHasOtherExtension({}, "c.vkr"));
    EXPECT_TRUE(firstRawIsRw5({"day1.rw5", "day2.vkr"}));
    EXPECT_FALSE(firstRawIsRw5({"day1.vkr"}));
    EXPECT_FALSE(firstRawIsRw5({}));
    EXPECT_EQ(splitFileList("a.vkr\nb.vkr\n"), (std::vector<std::string>{"a.vkr", "b.vkr"}));
    EXPECT_EQ(splitFileList("a.vkr\nb.vkr"), (std::vector<std::string>{"a.vkr", "b.vkr"}));
    EXPECT_TRUE(splitFileList("").empty());
    EXPECT_EQ(joinFileList({"a.vkr", "b.vkr"}), "a.vkr\nb.vkr\n");
}
