// Where the library's dialogs reopen: the position text file shared with
// other programs, the user profile store, and the corner brought onto the
// displays that exist.

#include "ptbank/dialog_positions.hpp"

#include "support/config_folder_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

namespace {

using ptbank::DialogPositionStore;
using ptbank::ScreenArea;
using ptbank::ScreenPoint;

class DialogPositions : public ::testing::Test {
protected:
    DialogPositions() : folder_("dialog-positions"), config_(folder_ / "config") {}

    DialogPositionStore fileStore() const {
        DialogPositionStore store;
        store.appKey = "PTBANK";
        store.useProfile = false;
        store.positionFile = (folder_ / "positions.txt").string();
        return store;
    }
    DialogPositionStore profileStore(int dialogNumber = 180) const {
        DialogPositionStore store;
        store.appKey = "Tarnwell";
        store.dialogNumber = dialogNumber;
        return store;
    }
    std::filesystem::path profileFile(const std::string& appKey) const {
        return folder_ / "config" / "V & K Software Systems" / (appKey + ".ini");
    }

    testsupport::TempFolder folder_;
    testsupport::ConfigFolderGuard config_;
};

TEST_F(DialogPositions, TheFileKeepsOtherLinesInOrderAndPutsThisDialogLast) {
    const DialogPositionStore store = fileStore();
    testsupport::writeBytes(store.positionFile, "OtherDlg,1,2,3,4,0\r\n"
                                                "VKOverwritePtsDlg,9,9,99,99,0\r\n"
                                                "ThirdDlg,5,6,7,8,1\n");
    ptbank::saveDialogPosition(store, {120, 80, 400, 300}, false);
    EXPECT_EQ(testsupport::readBytes(store.positionFile), "OtherDlg,1,2,3,4,0\r\n"
                                                          "ThirdDlg,5,6,7,8,1\r\n"
                                                          "VKOverwritePtsDlg,120,80,520,380,0\r\n");
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{120, 80}));

    ptbank::saveDialogPosition(store, {-30, 10, 400, 300}, true);
    EXPECT_EQ(testsupport::readBytes(store.positionFile), "OtherDlg,1,2,3,4,0\r\n"
                                                          "ThirdDlg,5,6,7,8,1\r\n"
                                                          "VKOverwritePtsDlg,-30,10,370,310,1\r\n");
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{-30, 10}));
}

TEST_F(DialogPositions, TheFileGivesACornerOnlyFromAWellFormedLine) {
    const DialogPositionStore store = fileStore();
    struct Row {
        const char* contents;
        std::optional<ScreenPoint> corner;
    };
    const Row rows[] = {
        {"VKOverwritePtsDlg,10,20,30,40,0\r\n", ScreenPoint{10, 20}},
        {"OtherDlg,1,2,3,4,0\nVKOverwritePtsDlg,10,20,30,40,1", ScreenPoint{10, 20}},
        {"VKOverwritePtsDlg,10,20,30,40,0\nVKOverwritePtsDlg,50,60,70,80,0\n", ScreenPoint{10, 20}},
        {"VKOverwritePtsDlg,10,20,30,40\r\n", std::nullopt},     // four numbers
        {"VKOverwritePtsDlg,10,20,30,40,0,7\r\n", std::nullopt}, // six
        {"VKOverwritePtsDlg,ten,20,30,40,0\r\n", std::nullopt},
        {"OtherDlg,1,2,3,4,0\r\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.contents);
        testsupport::writeBytes(store.positionFile, row.contents);
        EXPECT_EQ(ptbank::restoredDialogCorner(store), row.corner);
    }
}

TEST_F(DialogPositions, NoFileAtThePathPutsTheDialogAtTheOrigin) {
    DialogPositionStore store = fileStore();
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{0, 0}));
    store.positionFile.clear();
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{0, 0}));
}

TEST_F(DialogPositions, TheProfileKeepsTheCornerOfTheDialogsInItsTable) {
    const DialogPositionStore store = profileStore();
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{0, 0})); // first use
    ptbank::saveDialogPosition(store, {250, 140, 500, 330}, false);
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{250, 140}));
    EXPECT_EQ(ptbank::getRegDword("Tarnwell", "VKOverwritePtsDlg", "X", -1), 250);
    EXPECT_EQ(ptbank::getRegDword("Tarnwell", "VKOverwritePtsDlg", "Y", -1), 140);
    EXPECT_TRUE(std::filesystem::exists(profileFile("Tarnwell")));

    const DialogPositionStore unknown = profileStore(181);
    EXPECT_EQ(ptbank::restoredDialogCorner(unknown), (ScreenPoint{350, 10}));
    ptbank::saveDialogPosition(unknown, {1, 2, 3, 4}, false);
    EXPECT_EQ(ptbank::restoredDialogCorner(store), (ScreenPoint{250, 140}));
}

TEST_F(DialogPositions, AnApplicationKeyThatNamesNoStoreGivesTheDefaults) {
    for (const char* key : {"../Tarnwell", "a/b", "..", "."}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(ptbank::setRegDword(key, "VKOverwritePtsDlg", "X", 5));
        EXPECT_EQ(ptbank::getRegDword(key, "VKOverwritePtsDlg", "X", 77), 77);
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ / "config" / "Tarnwell.ini"));
}

TEST(DialogCornerOnDisplays, TheWindowEndsWhollyOnOneDisplay) {
    // Two displays side by side: 1280 x 1024 with a 30-pixel panel at the
    // top, and 1920 x 1080 to its right.
    const std::vector<ScreenArea> two = {{0, 30, 1280, 994}, {1280, 0, 1920, 1080}};
    struct Row {
        const char* what;
        ScreenPoint corner;
        int width, height;
        ScreenPoint expected;
    };
    const Row rows[] = {
        {"inside the first", {100, 100}, 400, 300, {100, 100}},
        {"inside the second", {2000, 500}, 400, 300, {2000, 500}},
        {"under the panel", {0, 0}, 400, 300, {0, 30}},
        {"over the right edge of the second", {3000, 100}, 400, 300, {2800, 100}},
        {"mostly on the second, across the seam", {1200, 100}, 400, 300, {1280, 100}},
        {"mostly on the first, across the seam", {1000, 100}, 400, 300, {880, 100}},
        {"below the bottom of the first", {100, 1200}, 400, 300, {100, 724}},
        {"far off to the left", {-5000, 400}, 400, 300, {0, 400}},
        {"far off below the second", {2500, 9000}, 400, 300, {2500, 780}},
        {"taller than the first", {100, 100}, 400, 2000, {100, 30}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ptbank::cornerOnDisplays(row.corner, row.width, row.height, two), row.expected);
    }
    EXPECT_EQ(ptbank::cornerOnDisplays({-70, 5000}, 400, 300, {}), (ScreenPoint{-70, 5000}));
}

} // namespace
