// The coordinate file library's windows, on their own. The point-overwrite
// question and the point-ID dialog: what they show for a record, which
// fields the edit rules open, the answers of the buttons, the user's edits
// coming back in the record, another point name chosen instead, and the
// remembered window position brought onto the screen. The library's file
// dialog and message boxes as the desktop program shows them.

#include "gui_test_support.hpp"
#include "ptbank/dialogs/point_id_dialog.hpp"
#include "ptbank/dialogs/point_overwrite_dialog.hpp"
#include "ptbank/dialogs/wx_crd_ui.hpp"
#include "reports/final_coords_support.hpp"

#include "ptbank/dialog_positions.hpp"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include <cstring>

namespace {

using guitest::ShellTest;

constexpr const char* title = "Network Least Squares";
constexpr int alphanumericCrd = 1; // the library's "Velmora Alphanumeric" .crd

crdOverwriteRec recordOf(const crdPointRec& current, const crdPointRec& proposed) {
    crdOverwriteRec r{};
    resetOverwriteRec(&r);
    std::strcpy(r.title, title);
    std::strcpy(r.appKey, "Tarnwell");
    r.current = current;
    r.proposed = proposed;
    return r;
}

wxTextCtrl* field(wxWindow* dialog, int id) {
    return wxDynamicCast(dialog->FindWindow(id), wxTextCtrl);
}

std::string text(wxWindow* dialog, int id) {
    return field(dialog, id)->GetValue().utf8_string();
}

// Presses a button of a dialog shown without a modal loop; the dialog's answer.
int press(wxDialog& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
    return dialog.GetReturnCode();
}

// The user types into a field and moves on to the next one.
void typeInto(wxWindow* dialog, int id, const std::string& typed) {
    field(dialog, id)->SetValue(typed);
    wxFocusEvent left(wxEVT_KILL_FOCUS, id);
    left.SetEventObject(field(dialog, id));
    field(dialog, id)->ProcessWindowEvent(left);
}

// A message box with exactly this text and caption, answered with `id`.
class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
public:
    ExpectBox(std::string text, int id, std::string caption = title)
        : text_(std::move(text)), id_(id), caption_(std::move(caption)) {}

protected:
    int OnInvoked(wxMessageDialog* box) const override {
        EXPECT_EQ(box->GetMessage().utf8_string(), text_);
        EXPECT_EQ(box->GetTitle().utf8_string(), caption_);
        return id_;
    }

private:
    std::string text_;
    int id_;
    std::string caption_;
};

// Types a name into the point-ID dialog and presses OK; its answer.
class EnterPointId : public wxExpectModalBase<CPointIdDlg, EnterPointId> {
public:
    explicit EnterPointId(std::string name) : name_(std::move(name)) {}

protected:
    int OnInvoked(CPointIdDlg* dialog) const override {
        field(dialog, pointid::nameEdit)->SetValue(name_);
        return press(*dialog, pointid::ok);
    }

private:
    std::string name_;
};

TEST(OverwriteTexts, TheRowsFollowTheRecord) {
    constexpr double none = -99999999.0;
    struct Row {
        const char* what;
        int northingFirst;
        crdPointRec current, proposed;
        OverwriteTexts expected;
    };
    const Row rows[] = {
        {"northing first, the stored point without elevation",
         1,
         finalcoords::crdPoint("7", 100.0, 200.0, none, "IP", "pin"),
         finalcoords::crdPoint("7", 100.5, 199.25, 10.0, "CP", "control"),
         {"Northing",
          "Easting",
          {"100.000", "200.000", "", "IP", "pin"},
          {"100.500", "199.250", "10.00", "CP", "control"},
          {"0.500", "0.750", ""}}},
        {"easting first, the elevation difference signed",
         0,
         finalcoords::crdPoint("7", 100.0, 200.0, 10.0),
         finalcoords::crdPoint("7", 100.5, 199.25, 9.5),
         {"Easting",
          "Northing",
          {"200.000", "100.000", "10.00", "", ""},
          {"199.250", "100.500", "9.50", "", ""},
          {"0.750", "0.500", "-0.50"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        crdOverwriteRec r = recordOf(row.current, row.proposed);
        r.northingFirst = row.northingFirst;
        r.coordDecimals = 3;
        r.elevDecimals = 2;
        const OverwriteTexts t = overwriteTexts(r);
        EXPECT_EQ(t.firstLabel, row.expected.firstLabel);
        EXPECT_EQ(t.secondLabel, row.expected.secondLabel);
        EXPECT_EQ(t.current, row.expected.current);
        EXPECT_EQ(t.proposed, row.expected.proposed);
        EXPECT_EQ(t.delta, row.expected.delta);
    }
}

class OverwriteDialog : public ShellTest {
protected:
    crdOverwriteRec record = recordOf(finalcoords::crdPoint("7", 100.0, 200.0, 10.0, "", "old"),
                                      finalcoords::crdPoint("7", 100.123456, 201.0));
};

TEST_F(OverwriteDialog, WithNoEditsAllowedOnlyTheButtonsAct) {
    CPtOverwriteDlg dialog(record, nullptr);
    EXPECT_EQ(dialog.GetTitle(), "Point Overwrite");
    EXPECT_FALSE(dialog.FindWindow(overwriteid::changePointId)->IsShown());
    for (int id : {overwriteid::newFirst, overwriteid::newSecond, overwriteid::newElevation,
                   overwriteid::newCode, overwriteid::newDescription, overwriteid::pointName})
        EXPECT_FALSE(field(&dialog, id)->IsEditable()) << id;
    EXPECT_EQ(dialog.GetDefaultItem(), dialog.FindWindow(overwriteid::doNotOverwrite));
    EXPECT_EQ(dialog.FindWindow(overwriteid::warning)->GetLabel(),
              "WARNING: POINT WILL BE OVERWRITTEN !");
    EXPECT_EQ(dialog.FindWindow(overwriteid::warning)->GetForegroundColour(), *wxRED);
    EXPECT_EQ(text(&dialog, overwriteid::pointName), "7");
    EXPECT_EQ(text(&dialog, overwriteid::newFirst), "100.12346"); // 5 decimals by default
    EXPECT_EQ(press(dialog, overwriteid::doNotOverwrite), 183);
    EXPECT_EQ(record.overwriteChosen, 0);
    EXPECT_EQ(record.proposed.northing, 100.123456); // the shown text is not read back
}

TEST_F(OverwriteDialog, EachButtonGivesItsAnswer) {
    struct Row {
        int button;
        bool ticked;
        int answer;
        int overwriteChosen;
    };
    for (const Row& row :
         {Row{overwriteid::overwrite, false, 181, 1}, Row{overwriteid::overwrite, true, 182, 1},
          Row{overwriteid::doNotOverwrite, false, 183, 0},
          Row{overwriteid::doNotOverwrite, true, 184, 0}, Row{overwriteid::cancel, true, 2, -1}}) {
        SCOPED_TRACE(row.answer);
        record.overwriteChosen = -1;
        CPtOverwriteDlg dialog(record, nullptr);
        wxDynamicCast(dialog.FindWindow(overwriteid::doNotAsk), wxCheckBox)->SetValue(row.ticked);
        EXPECT_EQ(press(dialog, row.button), row.answer);
        EXPECT_EQ(record.overwriteChosen, row.overwriteChosen);
    }
}

TEST_F(OverwriteDialog, WithoutDoNotAskTheBoxIsHiddenAndNeverAnswersForAll) {
    CPtOverwriteDlg asking(record, nullptr);
    record.showDoNotAsk = 0;
    CPtOverwriteDlg dialog(record, nullptr);
    EXPECT_FALSE(dialog.FindWindow(overwriteid::doNotAsk)->IsShown());
    EXPECT_FALSE(dialog.FindWindow(overwriteid::doNotAskNote)->IsShown());
    EXPECT_LT(dialog.GetSize().y, asking.GetSize().y);
    wxDynamicCast(dialog.FindWindow(overwriteid::doNotAsk), wxCheckBox)->SetValue(true);
    EXPECT_EQ(press(dialog, overwriteid::overwrite), 181);
    EXPECT_EQ(record.doNotAskAgain, 0);
}

TEST_F(OverwriteDialog, EditsComeBackInTheProposedPointAndTheDifferencesFollowThem) {
    record.editMask = 31;
    record.elevEditable = record.codeEditable = record.descEditable = 1;
    record.proposed.elevation = -99999999.0;
    CPtOverwriteDlg dialog(record, nullptr);
    EXPECT_TRUE(dialog.FindWindow(overwriteid::changePointId)->IsShown());
    for (int id : {overwriteid::newFirst, overwriteid::newSecond, overwriteid::newElevation,
                   overwriteid::newCode, overwriteid::newDescription})
        EXPECT_TRUE(field(&dialog, id)->IsEditable()) << id;
    EXPECT_EQ(text(&dialog, overwriteid::deltaElevation), "");

    typeInto(&dialog, overwriteid::newSecond, "202.5");
    EXPECT_EQ(text(&dialog, overwriteid::deltaSecond), "2.50000");
    typeInto(&dialog, overwriteid::newElevation, "12.25");
    EXPECT_EQ(text(&dialog, overwriteid::deltaElevation), "2.250"); // 12.25 - 10.0, 3 decimals
    field(&dialog, overwriteid::newCode)->SetValue("CP12345678");
    field(&dialog, overwriteid::newDescription)->SetValue("new pin");
    EXPECT_EQ(press(dialog, overwriteid::overwrite), 181);
    EXPECT_EQ(record.proposed.northing, 100.123456);
    EXPECT_EQ(record.proposed.easting, 202.5);
    EXPECT_EQ(record.proposed.elevation, 12.25);
    EXPECT_STREQ(record.proposed.code, "CP12345"); // at most 7 characters
    EXPECT_STREQ(record.proposed.description, "new pin");
    EXPECT_EQ(record.overwriteChosen, 1);
}

TEST_F(OverwriteDialog, AnEmptyElevationMeansNone) {
    record.editMask = 31;
    record.elevEditable = 1;
    for (const char* typed : {"", "  "}) {
        SCOPED_TRACE(typed);
        record.proposed.elevation = 4.0;
        CPtOverwriteDlg dialog(record, nullptr);
        field(&dialog, overwriteid::newElevation)->SetValue(typed);
        EXPECT_EQ(press(dialog, overwriteid::overwrite), 181);
        EXPECT_EQ(record.proposed.elevation, -99999999.0);
    }
    record.proposed.elevation = -99999999.0;
    CPtOverwriteDlg untouched(record, nullptr);
    EXPECT_EQ(press(untouched, overwriteid::overwrite), 181);
    EXPECT_EQ(record.proposed.elevation, -99999999.0);
}

TEST_F(OverwriteDialog, TheFocusGoesToTheFirstFieldTheMaskOpens) {
    struct Row {
        int mask;
        int focused;
    };
    for (const Row& row : {Row{0, overwriteid::doNotOverwrite}, Row{1, overwriteid::doNotOverwrite},
                           Row{2, overwriteid::newFirst}, Row{4 | 16, overwriteid::newElevation},
                           Row{8 | 16, overwriteid::newCode}, Row{16, overwriteid::newDescription},
                           Row{31, overwriteid::newFirst}}) {
        SCOPED_TRACE(row.mask);
        record.editMask = row.mask;
        CPtOverwriteDlg dialog(record, nullptr);
        dialog.Show();
        guitest::waitForFirstPaint(&dialog);
        ASSERT_NE(wxWindow::FindFocus(), nullptr);
        EXPECT_EQ(wxWindow::FindFocus()->GetId(), row.focused);
        dialog.Hide();
    }
}

class ChangePointId : public OverwriteDialog {
protected:
    ChangePointId() {
        finalcoords::storeCrdPoints(crd(), alphanumericCrd,
                                    {finalcoords::crdPoint("7", 100.0, 200.0, 10.0, "", "old"),
                                     finalcoords::crdPoint("8", 300.0, 400.0, 30.0, "", "other")});
        EXPECT_EQ(VkCrdApi_open_coordfile(crd().c_str(), 0, &handle), 0);
        record.handle = handle;
        record.editMask = VKCRD_EDIT_NAME;
    }
    ~ChangePointId() override { VkCrdApi_end_coord_file(&handle); }
    std::string crd() const { return file("points.crd").string(); }

    VkCrdHandle handle = VKCRD_NO_HANDLE;
};

TEST_F(ChangePointId, AFreeNameWritesTheNewPointThereInstead) {
    CPtOverwriteDlg dialog(record, nullptr);
    int answer = 0;
    wxTEST_DIALOG(answer = press(dialog, overwriteid::changePointId), EnterPointId("12"),
                  ExpectBox("Point '12' not found in coordinate file.\nNo overwrite will "
                            "occur.\n\nPoint '12' will be written to coordinate file.",
                            wxID_OK));
    EXPECT_EQ(answer, 185);
    EXPECT_STREQ(record.proposed.name, "12");
    EXPECT_EQ(record.proposed.northing, 100.123456);
    EXPECT_STREQ(record.current.name, "12");
    EXPECT_EQ(record.current.northing, 0.0);
}

TEST_F(ChangePointId, AStoredNameBecomesTheCurrentPointAndTheUserDecidesAgain) {
    CPtOverwriteDlg dialog(record, nullptr);
    int answer = 0;
    wxTEST_DIALOG(answer = press(dialog, overwriteid::changePointId), EnterPointId("8"),
                  ExpectBox("The specified point exists in the coordinate file.\n\nDo you wish "
                            "to continue?",
                            wxID_YES));
    EXPECT_EQ(answer, 0) << "the dialog stays open";
    EXPECT_EQ(text(&dialog, overwriteid::pointName), "8");
    EXPECT_EQ(text(&dialog, overwriteid::currentFirst), "300.00000");
    EXPECT_EQ(text(&dialog, overwriteid::deltaFirst), "199.87654"); // |300 - 100.123456|
    EXPECT_EQ(press(dialog, overwriteid::overwrite), 181);
    EXPECT_STREQ(record.proposed.name, "8");
}

TEST_F(ChangePointId, ThePointIdDialogChecksTheNameBeforeItCloses) {
    const crdPointIdRec idRecord{title, handle, nullptr, 0};
    CPointIdDlg dialog(idRecord, "7", nullptr);
    EXPECT_EQ(dialog.GetTitle(), "Point ID");
    auto* list = wxDynamicCast(dialog.FindWindow(pointid::nameList), wxListBox);
    ASSERT_EQ(list->GetCount(), 1u);
    EXPECT_EQ(list->GetString(0), "<Not Available>");
    EXPECT_EQ(text(&dialog, pointid::nameEdit), "7");

    // A name the file cannot hold keeps the dialog open; a stored one is
    // taken only when the user goes on.
    field(&dialog, pointid::nameEdit)->SetValue("NAME_LONGER_THAN_THE_FILE_HOLDS");
    wxTEST_DIALOG(press(dialog, pointid::ok), ExpectBox("Point ID is not valid.", wxID_OK));
    EXPECT_EQ(dialog.GetReturnCode(), 0);
    field(&dialog, pointid::nameEdit)->SetValue("8");
    int answer = 0;
    wxTEST_DIALOG(answer = press(dialog, pointid::ok),
                  ExpectBox("The specified point exists in the coordinate file.\n\nDo you wish "
                            "to continue?",
                            wxID_NO));
    EXPECT_EQ(answer, pointid::cancel);
}

TEST_F(ChangePointId, ThePointIdDialogListsTheOfferedNamesInTheirOrder) {
    char first[] = "20-30";
    char second[] = "1-9";
    char* names[] = {first, second};
    const crdPointIdRec idRecord{title, handle, names, 2};
    CPointIdDlg dialog(idRecord, "", nullptr);
    auto* list = wxDynamicCast(dialog.FindWindow(pointid::nameList), wxListBox);
    ASSERT_EQ(list->GetCount(), 2u);
    EXPECT_EQ(list->GetString(0), "20-30");
    EXPECT_EQ(list->GetString(1), "1-9");
    field(&dialog, pointid::nameEdit)->SetValue(" 15 ");
    EXPECT_EQ(press(dialog, pointid::ok), pointid::ok);
    EXPECT_EQ(dialog.enteredName(), "15");
}

class OverwriteDialogPlace : public OverwriteDialog {
protected:
    void storeCorner(int x, int y) const {
        ASSERT_TRUE(ptbank::setRegDword("Tarnwell", "VKOverwritePtsDlg", "X", x));
        ASSERT_TRUE(ptbank::setRegDword("Tarnwell", "VKOverwritePtsDlg", "Y", y));
    }
};

TEST_F(OverwriteDialogPlace, TheDialogReopensWhereItWasLeft) {
    storeCorner(200, 150);
    CPtOverwriteDlg dialog(record, nullptr);
    dialog.Show();
    guitest::waitForFirstPaint(&dialog);
    EXPECT_EQ(dialog.GetScreenPosition(), wxPoint(200, 150));
    dialog.Move(310, 240);
    EXPECT_EQ(press(dialog, overwriteid::overwrite), 181);
    EXPECT_EQ(ptbank::getRegDword("Tarnwell", "VKOverwritePtsDlg", "X", -1),
              dialog.GetScreenRect().x);
    EXPECT_EQ(ptbank::getRegDword("Tarnwell", "VKOverwritePtsDlg", "Y", -1),
              dialog.GetScreenRect().y);
}

TEST_F(OverwriteDialogPlace, APlaceOffEveryDisplayIsBroughtOntoOne) {
    const wxRect screen = wxDisplay(0u).GetClientArea();
    storeCorner(screen.GetRight() + 2000, screen.GetBottom() + 2000);
    CPtOverwriteDlg dialog(record, nullptr);
    dialog.Show();
    guitest::waitForFirstPaint(&dialog);
    EXPECT_TRUE(screen.Contains(dialog.GetScreenRect()))
        << dialog.GetScreenRect().x << "," << dialog.GetScreenRect().y;
}

class LibraryWindows : public ShellTest {
protected:
    ptbank::WxCrdUi windows;
};

// The library's caller names no window here: the dialog takes the program's
// main window as its owner.
TEST_F(LibraryWindows, TheFileDialogGivesThePathAndTypeChosen) {
    openMainWindow();
    finalcoords::storeCrdPoints(file("points.vkc").string(), 3,
                                {finalcoords::crdPoint("7", 1.0, 2.0)});
    const std::string initial = file("old.vkc").string();
    int allFiles = 0;
    int type = -5;
    char path[VKCRD_PATH_SIZE] = {};
    int result = 0;
    wxTEST_DIALOG(result = VkCrdApi_GetCrdFilenameFromDlg(1, "Select Coordinate File", 0, &allFiles,
                                                          initial.c_str(), 3, path, &type, nullptr),
                  guitest::ChooseFile(file("points.vkc"), "Select Coordinate File"));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(std::string(path), file("points.vkc").string());
    EXPECT_EQ(type, 3); // the filter of the initial type, "V&K Alphanumeric (*.vkc)"

    wxTEST_DIALOG(result = VkCrdApi_GetCrdFilenameFromDlg(0, "Save Coordinate File", 1, &allFiles,
                                                          initial.c_str(), 3, path, &type, nullptr),
                  guitest::ChooseFile({}, "Save Coordinate File"));
    EXPECT_EQ(result, 2);
}

TEST_F(LibraryWindows, MessagesComeAsBoxesAndTheConsoleComesBackAfterwards) {
    finalcoords::storeCrdPoints(file("numeric.crd").string(), 0,
                                {finalcoords::crdPoint("7", 1.0, 2.0)});
    VkCrdHandle h = VKCRD_NO_HANDLE;
    int opened = 0;
    wxTEST_DIALOG(opened = VkCrdApi_open_coordfile(file("numeric.crd").c_str(), 1, &h),
                  ExpectBox("Coordinate file type not supported.", wxID_OK, "Error Message"));
    EXPECT_EQ(opened, -1);
    EXPECT_EQ(h, VKCRD_NO_HANDLE);
    EXPECT_EQ(&ptbank::crdUi(), &windows);
    {
        ptbank::WxCrdUi inner;
        EXPECT_EQ(&ptbank::crdUi(), &inner);
    }
    EXPECT_EQ(&ptbank::crdUi(), &windows);
}

} // namespace
