// Handles of the exported interface: their order, the wrap past 65534, the
// library's state at load, and the messages that go through the host
// program's UI provider.

#include "crd_test_support.hpp"

#include "ptbank/crd_ui_provider.hpp"
#include "ptbank/vk_crd_api.h"
#include "ptbank/vk_crd_handles.hpp"

#include <cstdlib>
#include <vector>

namespace {

class RecordingUi : public ptbank::CrdUiProvider {
public:
    struct Box {
        std::string text;
        std::string title;
    };
    void message(const std::string& text, const std::string& title,
                 ptbank::CrdMessageIcon) override {
        boxes.push_back({text, title});
    }
    bool chooseFile(const ptbank::CrdFileDialogRequest& request,
                    ptbank::CrdFileDialogAnswer& answer) override {
        requests.push_back(request);
        answer = reply;
        return confirm;
    }
    std::vector<Box> boxes;
    std::vector<ptbank::CrdFileDialogRequest> requests;
    ptbank::CrdFileDialogAnswer reply;
    bool confirm = true;
};

class Handles : public crdtest::CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        ptbank::resetVkCrdApiForTests();
        ptbank::setCrdUi(&ui);
    }
    void TearDown() override {
        ptbank::setCrdUi(nullptr);
        ptbank::resetVkCrdApiForTests();
        CrdTest::TearDown();
    }
    VkCrdHandle open(const std::string& name) {
        VkCrdHandle h = VKCRD_NO_HANDLE;
        EXPECT_EQ(VkCrdApi_open_coordfile(at(name).c_str(), 0, &h), 0) << name;
        return h;
    }
    RecordingUi ui;
};

// The "threadsafe" style runs the statement in a freshly started copy of
// this program, where nothing has touched the library's settings yet.
TEST(LibraryAtLoad, CurrentUserTypeIsFour) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(VkCrdApi_GetCurrentUserType() == 4 ? 0 : 1), ::testing::ExitedWithCode(0),
                "");
}

TEST_F(Handles, DiskHandlesCountFromOne) {
    EXPECT_EQ(open("a.crd"), 1);
    EXPECT_EQ(open("b.crd"), 2);
    VkCrdHandle first = 1;
    ASSERT_EQ(VkCrdApi_end_coord_file(&first), 0);
    EXPECT_EQ(open("c.crd"), 3); // not reused while the count has not wrapped
}

TEST_F(Handles, CountWrapsPastNoHandleAndMemoryKey) {
    ptbank::setNextHandleForTests(65533);
    EXPECT_EQ(open("a.crd"), 65533);
    EXPECT_EQ(open("b.crd"), 65534);
    // 65535 means no handle and 0 is the memory file's: the count goes on at
    // 1 and passes over handles still in use.
    ASSERT_EQ(open("c.crd"), 1);
    ptbank::setNextHandleForTests(65534);
    VkCrdHandle last = 65534;
    ASSERT_EQ(VkCrdApi_end_coord_file(&last), 0);
    EXPECT_EQ(open("d.crd"), 65534);
    EXPECT_EQ(open("e.crd"), 2);
    EXPECT_EQ(VkCrdApi_GetCrdType(65533), 1);
}

TEST_F(Handles, VkOnlyRefusesOtherTypesWithAMessage) {
    VkCrdHandle h = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_open_coordfile(at("site.crd").c_str(), 1, &h), -1);
    EXPECT_EQ(h, VKCRD_NO_HANDLE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Coordinate file type not supported.");
    EXPECT_EQ(ui.boxes[0].title, "Error Message");
    EXPECT_EQ(open("next.crd"), 1); // the refused file took no handle
}

TEST_F(Handles, MissingFolderIsNamedInAMessage) {
    VkCrdHandle h = VKCRD_NO_HANDLE;
    EXPECT_EQ(VkCrdApi_OpenSelectFile(&h, at("absent").c_str(), 0, 0), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Could not find path to data directory.");
    EXPECT_EQ(h, VKCRD_NO_HANDLE);
}

TEST_F(Handles, FileDialogRequestAndAnswer) {
    struct Row {
        int initialType;
        int allFiles;
        int initialFilter;
        int chosenFilter;
        int outType;
        int allFilesAfter;
    };
    const Row rows[] = {
        {0, 0, 3, 1, 4, 0}, {1, 0, 4, 2, 3, 0}, {3, 0, 2, 3, 0, 0},     {4, 0, 1, 4, 1, 0},
        {5, 0, 5, 5, 5, 0}, {6, 1, 6, 6, 6, 1}, {9, 1, 7, 7, -5, -999}, {9, 0, 1, 1, 4, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.initialType);
        ui.requests.clear();
        ui.reply = {at("chosen.crd"), row.chosenFilter};
        int allFiles = row.allFiles;
        int outType = -5;
        char path[VKCRD_PATH_SIZE] = "";
        ASSERT_EQ(VkCrdApi_GetCrdFilenameFromDlg(0, "Save Points", 1, &allFiles, "/job/site.crd",
                                                 row.initialType, path, &outType, nullptr),
                  1);
        ASSERT_EQ(ui.requests.size(), 1u);
        EXPECT_EQ(ui.requests[0].initialFilter, row.initialFilter);
        EXPECT_EQ(ui.requests[0].title, "Save Points");
        EXPECT_TRUE(ui.requests[0].overwritePrompt);
        EXPECT_EQ(ui.requests[0].defaultExtension, "crd");
        EXPECT_EQ(outType, row.outType);
        EXPECT_EQ(allFiles, row.allFilesAfter);
        EXPECT_EQ(std::string(path), at("chosen.crd"));
    }
    int allFiles = 1;
    int outType = 0;
    char path[VKCRD_PATH_SIZE] = "";
    ASSERT_EQ(
        VkCrdApi_GetCrdFilenameFromDlg(1, "Open", 0, &allFiles, "", 0, path, &outType, nullptr), 1);
    EXPECT_EQ(ui.requests.back().filter,
              "V&K Numeric (*.crd)|*.crd|V&K Alphanumeric (*.vkc)|*.vkc|Velmora Numeric "
              "(*.crd)|*.crd|Velmora Alphanumeric (*.crd)|*.crd|Plainview (*.zak)|*.zak|Land "
              "Desktop (*.mdb)|*.mdb|All Files (*.*)|*.*||");
    ui.confirm = false;
    EXPECT_EQ(
        VkCrdApi_GetCrdFilenameFromDlg(1, "Open", 0, &allFiles, "", 0, path, &outType, nullptr), 2);
}

TEST_F(Handles, WithoutAHostDialogTheAnswerIsCancel) {
    ptbank::setCrdUi(nullptr);
    int allFiles = 0;
    int outType = 0;
    char path[VKCRD_PATH_SIZE] = "kept";
    EXPECT_EQ(
        VkCrdApi_GetCrdFilenameFromDlg(1, "Open", 0, &allFiles, "", 0, path, &outType, nullptr), 2);
    EXPECT_STREQ(path, "kept");
}

} // namespace
