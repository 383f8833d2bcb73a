// The quality tools from their menu commands: the ALTA points dialog (File
// menu), the relative error ellipse dialog after an adjustment and the
// blunder detection dialog, each driven through its main path.

#include "gui_test_support.hpp"

#include "engine/adjustment_results.hpp"
#include "shell/alta_points_dialog.hpp"
#include "shell/blunder_dialog.hpp"
#include "shell/command_ids.hpp"
#include "shell/relative_error_dialog.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_page.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/tools/inverse_dialog.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

using guitest::ChooseFile;
using guitest::OnDialog;
using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

// Answers every message box with OK and keeps its text.
class AnswerEveryBox : public wxModalDialogHook {
public:
    AnswerEveryBox() { Register(); }
    ~AnswerEveryBox() override { Unregister(); }
    std::vector<std::string> boxes;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            boxes.push_back(box->GetMessage().utf8_string());
            return wxID_OK;
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

void setText(wxWindow* dialog, int id, const std::string& text) {
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->ChangeValue(wxString::FromUTF8(text));
}

void press(wxWindow* dialog, int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog->FindWindow(id));
    dialog->ProcessWindowEvent(event);
}

std::vector<std::string> listed(wxWindow* dialog, int id) {
    auto* list = dynamic_cast<wxListBox*>(dialog->FindWindow(id));
    std::vector<std::string> entries;
    for (unsigned i = 0; list != nullptr && i < list->GetCount(); ++i)
        entries.push_back(list->GetString(i).utf8_string());
    return entries;
}

std::string label(wxWindow* dialog, int id) {
    auto* text = dynamic_cast<wxStaticText*>(dialog->FindWindow(id));
    return text == nullptr ? std::string() : text->GetLabel().utf8_string();
}

class QualityDialogs : public ShellTest {
protected:
    AnswerEveryBox answers;
};

TEST_F(QualityDialogs, TheAltaPointsFileIsEditedFromTheFileMenu) {
    CMainFrame& frame = openMainWindow();
    EXPECT_TRUE(guitest::commandEnabled(&frame, shellid::openAltaFile));
    testsupport::writeBytes(file("site.alt"),
                            "RPT_ALL_MAX_PTS 12\r\nREL_ERR_ALL 1,5-9,DESC:FENCE\r\n"
                            "REL_ERR_PAIRS 1-2\r\n");
    wxTEST_DIALOG(
        command(frame, shellid::openAltaFile), ChooseFile(file("site.alt")),
        OnDialog<CAltaPtsDlg>([&](CAltaPtsDlg& dialog) {
            EXPECT_EQ(dialog.GetTitle().utf8_string(),
                      "Add Points For Inclusion in ALTA testing. : " + file("site.alt").string());
            EXPECT_EQ(listed(&dialog, CAltaPtsDlg::pointsList),
                      (std::vector<std::string>{"1", "5-9", "DESC:FENCE"}));
            EXPECT_EQ(listed(&dialog, CAltaPtsDlg::pairsList),
                      (std::vector<std::string>{"1 -> 2"}));
            setText(&dialog, CAltaPtsDlg::pointEdit, "7");
            press(&dialog, CAltaPtsDlg::addPointButton);
            setText(&dialog, CAltaPtsDlg::pointEdit, "7");
            press(&dialog, CAltaPtsDlg::addPointButton); // refused: already there
            setText(&dialog, CAltaPtsDlg::descriptionEdit, "IRON PIN");
            press(&dialog, CAltaPtsDlg::addDescriptionButton);
            setText(&dialog, CAltaPtsDlg::pairFromEdit, "3");
            setText(&dialog, CAltaPtsDlg::pairToEdit, "4");
            press(&dialog, CAltaPtsDlg::addPairButton);
            auto* points = dynamic_cast<wxListBox*>(dialog.FindWindow(CAltaPtsDlg::pointsList));
            points->SetSelection(1);
            press(&dialog, CAltaPtsDlg::deletePointButton);
            // An invalid maximum keeps the file as it was.
            setText(&dialog, CAltaPtsDlg::maxPointsEdit, "2000");
            EXPECT_FALSE(dialog.save());
            setText(&dialog, CAltaPtsDlg::maxPointsEdit, "8");
            return dialog.save() ? wxID_OK : wxID_CANCEL;
        }),
        guitest::ExpectMessage("7 already exists in the list.", wxOK),
        guitest::ExpectMessage("Enter a number from 0 to 1000 in \"Max. connections to display.\"",
                               wxOK));
    EXPECT_EQ(testsupport::readBytes(file("site.alt")),
              "RPT_ALL_MAX_PTS 8\r\nREL_ERR_ALL 1,DESC:FENCE,7,DESC:IRON PIN\r\n"
              "REL_ERR_PAIRS 1-2,3-4\r\n");

    CAltaPtsDlg shown(&frame, file("site.alt").string());
    shown.Show();
    guitest::waitForFirstPaint(&shown);
    EXPECT_TRUE(guitest::saveScreenshot(&shown, screenshots / "alta_points_dialog.png"));
    shown.Hide();
}

TEST_F(QualityDialogs, TheSettingsSheetEditsTheProjectsAltaPointsFile) {
    CMainFrame& frame = openExample();
    wxTEST_DIALOG(command(frame, shellid::projectSettings),
                  OnDialog<CSettingsPropSht>([&](CSettingsPropSht& sheet) {
                      sheet.showPage(settingsid::adjustmentPage);
                      wxWindow* page = &sheet.page(settingsid::adjustmentPage);
                      auto* check = dynamic_cast<wxCheckBox*>(
                          page->FindWindow(settingsid::relativeErrFileCheck));
                      check->SetValue(true);
                      wxCommandEvent ticked(wxEVT_CHECKBOX, settingsid::relativeErrFileCheck);
                      ticked.SetEventObject(check);
                      ticked.SetInt(1);
                      check->ProcessWindowEvent(ticked);
                      EXPECT_TRUE(page->FindWindow(settingsid::relativeErrEditButton)->IsEnabled());
                      // A name relative to the project's folder.
                      setText(page, settingsid::relativeErrFileEdit, "site.alt");
                      wxTEST_DIALOG(press(page, settingsid::relativeErrEditButton),
                                    OnDialog<CAltaPtsDlg>([&](CAltaPtsDlg& dialog) {
                                        EXPECT_EQ(dialog.GetTitle().utf8_string(),
                                                  "Add Points For Inclusion in ALTA testing. : " +
                                                      file("site.alt").string());
                                        setText(&dialog, CAltaPtsDlg::pointEdit, "C");
                                        press(&dialog, CAltaPtsDlg::addPointButton);
                                        return dialog.save() ? wxID_OK : wxID_CANCEL;
                                    }));
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(testsupport::readBytes(file("site.alt")),
              "RPT_ALL_MAX_PTS 20\r\nREL_ERR_ALL C\r\nREL_ERR_PAIRS \r\n");
}

TEST_F(QualityDialogs, TheRelativeErrorEllipseFollowsAnAdjustment) {
    CMainFrame& frame = openExample();
    EXPECT_FALSE(guitest::commandEnabled(&frame, shellid::relErrEllipse));
    command(frame, shellid::networkAdjustment);
    ASSERT_NE(varCovMatrix, nullptr);
    EXPECT_TRUE(guitest::commandEnabled(&frame, shellid::relErrEllipse));
    command(frame, shellid::relErrEllipse);
    auto* dialog = dynamic_cast<relErrEl*>(frame.openToolDialog(relErrEl::dialogId));
    ASSERT_NE(dialog, nullptr);
    // A second command brings the same window forward.
    command(frame, shellid::relErrEllipseButton);
    EXPECT_EQ(frame.openToolDialog(relErrEl::dialogId), dialog);

    setText(dialog, relErrEl::fromEdit, "C");
    setText(dialog, relErrEl::toEdit, "D");
    press(dialog, wxID_OK);
    EXPECT_TRUE(answers.boxes.empty()) << answers.boxes.front();
    EXPECT_TRUE(label(dialog, relErrEl::axesText).starts_with(" C -> D  Semimajor:"))
        << label(dialog, relErrEl::axesText);
    EXPECT_TRUE(label(dialog, relErrEl::azimuthText).starts_with("  Max Err. Az.:"));
    const std::string report = testsupport::readBytes(file("site.RPT"));
    EXPECT_NE(report.find("\r\n Relative Error Ellipse: C -> D  Semimajor:"), std::string::npos);

    setText(dialog, relErrEl::toEdit, "NOPE");
    press(dialog, wxID_OK);
    EXPECT_EQ(answers.boxes, (std::vector<std::string>{"Pt. NOPE does not exist."}));

    guitest::waitForFirstPaint(dialog);
    EXPECT_TRUE(guitest::saveScreenshot(dialog, screenshots / "relative_error_dialog.png"));
    press(dialog, wxID_CANCEL);
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame.openToolDialog(relErrEl::dialogId), nullptr);
}

// Escape closes each tool window, typed in any of its fields, as its Exit
// button does.
TEST_F(QualityDialogs, EscapeClosesEveryToolWindow) {
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    const struct {
        int command;
        int dialog;
        int field;
    } windows[] = {
        {shellid::inverse, inverseid::dialog, inverseid::fromEdit},
        {shellid::relErrEllipse, relErrEl::dialogId, relErrEl::toEdit},
        {shellid::blunderDetection, blnrDlg::dialogId, blnrDlg::proximityEdit},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.dialog);
        command(frame, w.command);
        wxWindow* dialog = frame.openToolDialog(w.dialog);
        ASSERT_NE(dialog, nullptr);
        wxWindow* field = dialog->FindWindow(w.field);
        ASSERT_NE(field, nullptr);
        guitest::pressKey(field, WXK_ESCAPE);
        wxTheApp->ProcessIdle();
        EXPECT_EQ(frame.openToolDialog(w.dialog), nullptr);
    }
}

TEST_F(QualityDialogs, TheBlunderMethodExplanationReadsRight) {
    CMainFrame& frame = openExample();
    command(frame, shellid::blunderDetection);
    wxWindow* dialog = frame.openToolDialog(blnrDlg::dialogId);
    ASSERT_NE(dialog, nullptr);
    std::string explanation;
    for (wxWindow* child : dialog->GetChildren())
        if (auto* text = dynamic_cast<wxStaticText*>(child);
            text != nullptr && text->GetLabel().Contains("close proximity"))
            explanation = text->GetLabel().utf8_string();
    std::replace(explanation.begin(), explanation.end(), '\n', ' ');
    EXPECT_NE(explanation.find("which could be an indication of the same point position"),
              std::string::npos)
        << explanation;
    dialog->Destroy();
}

TEST_F(QualityDialogs, BlunderDetectionPreprocessesFromItsDialog) {
    CMainFrame& frame = openExample();
    EXPECT_TRUE(guitest::commandEnabled(&frame, shellid::blunderDetection));
    projectVars.blunderProximity = 0.25;
    command(frame, shellid::blunderDetection);
    auto* dialog = dynamic_cast<blnrDlg*>(frame.openToolDialog(blnrDlg::dialogId));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog->FindWindow(blnrDlg::proximityEdit))
                  ->GetValue()
                  .utf8_string(),
              "0.25");
    EXPECT_TRUE(dialog->FindWindow(blnrDlg::proximityEdit)->IsEnabled());
    EXPECT_FALSE(dialog->FindWindow(blnrDlg::iterationsEdit)->IsEnabled());
    EXPECT_TRUE(label(dialog, blnrDlg::explanationText).starts_with("This method validates"));

    setText(dialog, blnrDlg::proximityEdit, "0.5");
    press(dialog, wxID_OK);
    EXPECT_TRUE(answers.boxes.empty()) << answers.boxes.front();
    const std::string errors = testsupport::readBytes(file("site.ERR"));
    EXPECT_NE(errors.find("PREPROCESSING & K-MATRIX ANALYSIS"), std::string::npos);
    EXPECT_NE(errors.find("K-Matrix Analysis."), std::string::npos);
    EXPECT_NE(errors.find("Point Proximity Report:"), std::string::npos);
    ASSERT_NE(frame.runWindows().report(ReportKind::error), nullptr);

    guitest::waitForFirstPaint(dialog);
    EXPECT_TRUE(guitest::saveScreenshot(dialog, screenshots / "blunder_dialog.png"));

    // Reweighting on residuals: its pass count, three passes.
    auto* methods = dynamic_cast<wxChoice*>(dialog->FindWindow(blnrDlg::methodList));
    methods->SetSelection(blnrDlg::reweightMethod);
    wxCommandEvent chosen(wxEVT_CHOICE, blnrDlg::methodList);
    chosen.SetEventObject(methods);
    chosen.SetInt(blnrDlg::reweightMethod);
    methods->ProcessWindowEvent(chosen);
    EXPECT_FALSE(dialog->FindWindow(blnrDlg::proximityEdit)->IsEnabled());
    EXPECT_TRUE(dialog->FindWindow(blnrDlg::iterationsEdit)->IsEnabled());
    setText(dialog, blnrDlg::iterationsEdit, "3");
    press(dialog, wxID_OK);
    EXPECT_NE(testsupport::readBytes(file("site.ERR")).find("Number of reweighting iterations: 3."),
              std::string::npos);
    press(dialog, wxID_CANCEL);
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame.openToolDialog(blnrDlg::dialogId), nullptr);
    // The dialog's values are the program's options now.
    EXPECT_EQ(projectVars.blunderProximity, 0.5);
    EXPECT_EQ(projectVars.blunderMethod, blnrDlg::reweightMethod);
    EXPECT_EQ(projectVars.blunderIterations, 3);
}

} // namespace
