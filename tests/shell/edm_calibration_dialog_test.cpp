// The EDM calibration window: a calibration file opened, computed and
// saved; the weather columns following the correction and the humidity
// method without losing what was typed in them; the row commands; and the
// save question.

#include "gui_test_support.hpp"
#include "shell/command_ids.hpp"
#include "shell/tools/edm_calibration_dialog.hpp"
#include "shell/tools/edm_grid_rows.hpp"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <sstream>

namespace {

using guitest::ChooseFile;
using guitest::ExpectMessage;
using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

// Seven lines of a five-pillar baseline (tests/engine/edm_calibration_test.cpp)
// with the correction on, wet-bulb method.
const char* const calibrationFile =
    "IN,Distance meter 7\r\n"
    "DT,12/03/2026,10:15\r\n"
    "RF,Prism A\r\n"
    "WE,Sunny\r\n"
    "CO,Annual check\r\n"
    "AT,ON,WET,1.0002830,0.8600,0.0000000\r\n"
    "CN,-0.002000,-0.030000\r\n"
    "OB,A,1.5120,100.0000,B,1.6000,100.8500,25.00,740.00,18.00,150.0304,150.0000\r\n"
    "OB,A,1.5120,100.0000,C,1.6000,99.6200,25.00,740.00,18.00,430.0248,430.0000\r\n"
    "OB,A,1.5120,100.0000,D,1.6000,101.4300,25.00,740.00,18.00,1000.0235,1000.0000\r\n"
    "OB,A,1.5120,100.0000,E,1.6000,100.2000,25.00,740.00,18.00,1300.0207,1300.0000\r\n"
    "OB,B,1.5120,100.8500,C,1.6000,99.6200,25.00,740.00,18.00,280.0300,280.0000\r\n"
    "OB,B,1.5120,100.8500,D,1.6000,101.4300,25.00,740.00,18.00,850.0235,850.0000\r\n"
    "OB,C,1.5120,99.6200,E,1.6000,100.2000,25.00,740.00,18.00,870.0214,870.0000\r\n";

template <class Control> Control* find(wxWindow* parent, int id) {
    auto* control = dynamic_cast<Control*>(parent->FindWindow(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

class EdmCalibrationWindow : public ShellTest {
protected:
    EdmCalibrationWindow() {
        dialog_ = new CEdmCalibDlg();
        dialog_->Show();
        guitest::waitForFirstPaint(dialog_);
    }
    ~EdmCalibrationWindow() override {
        dialog_->Destroy();
        wxTheApp->ProcessIdle();
    }

    void setCorrection(bool on) {
        auto* box = find<wxCheckBox>(dialog_, edmid::applyCorrectionCheck);
        box->SetValue(on);
        wxCommandEvent event(wxEVT_CHECKBOX, edmid::applyCorrectionCheck);
        event.SetEventObject(box);
        event.SetInt(on ? 1 : 0);
        box->ProcessWindowEvent(event);
    }
    void pick(int id) {
        auto* radio = find<wxRadioButton>(dialog_, id);
        radio->SetValue(true);
        wxCommandEvent event(wxEVT_RADIOBUTTON, id);
        event.SetEventObject(radio);
        radio->ProcessWindowEvent(event);
    }
    std::vector<std::string> listed() {
        std::vector<std::string> lines;
        auto* list = find<wxListBox>(dialog_, edmid::resultsList);
        for (unsigned i = 0; i < list->GetCount(); ++i)
            lines.push_back(list->GetString(i).utf8_string());
        return lines;
    }
    gridctrl::CGridCtrl& grid() { return dialog_->grid(); }

    CEdmCalibDlg* dialog_ = nullptr;
};

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_F(EdmCalibrationWindow, StartsEmptyWithNineColumns) {
    EXPECT_EQ(dialog_->GetTitle(), "EDM Calibration");
    EXPECT_EQ(grid().GetColumnCount(), 9);
    EXPECT_EQ(grid().GetRowCount(), 1);
    EXPECT_EQ(grid().GetCellText(0, 1), "From Sta.");
    EXPECT_EQ(grid().GetCellText(0, 8), "Published Dist.");
    EXPECT_GE(grid().GetColumnWidth(7), 75);
    EXPECT_FALSE(dialog_->FindWindow(edmid::saveOutputButton)->IsEnabled());
    EXPECT_FALSE(dialog_->FindWindow(edmid::refractionIndexEdit)->IsEnabled());
    EXPECT_FALSE(dialog_->modified());
    // Nothing to compute: the refusal says why.
    wxTEST_DIALOG(dialog_->compute(),
                  ExpectMessage("There are no observed distances to calibrate with.", wxOK));
}

TEST_F(EdmCalibrationWindow, OpenComputeAndSave) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    EXPECT_EQ(dialog_->GetTitle(), "EDM Calibration - " + file("base.edm").string());
    EXPECT_EQ(grid().GetRowCount(), 8);
    EXPECT_EQ(grid().GetColumnCount(), 12);
    EXPECT_EQ(grid().GetCellText(0, 11), "Temp. C. (wet bulb)");
    EXPECT_EQ(grid().GetCellText(3, 0), "3");
    EXPECT_EQ(grid().GetCellText(3, 4), "D");
    EXPECT_EQ(grid().GetCellText(3, 7), "1000.0235");
    EXPECT_EQ(grid().GetCellText(3, 2), "1.512 ");
    EXPECT_EQ(grid().GetCellText(3, 9), "25.0");
    EXPECT_EQ(grid().GetCellText(3, 11), "18.0");
    EXPECT_EQ(find<wxTextCtrl>(dialog_, edmid::edmDescriptionEdit)->GetValue(), "Distance meter 7");
    EXPECT_EQ(find<wxTextCtrl>(dialog_, edmid::refractionIndexEdit)->GetValue(), "1.000283");
    EXPECT_FALSE(dialog_->modified()) << "a file just opened holds no edits";

    dialog_->compute();
    const auto lines = listed();
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[1], "EDM Calibration Report");
    EXPECT_TRUE(contains(lines, "   Degrees of Freedom: 5"));
    EXPECT_TRUE(contains(lines, "Constants: Reflector: -0.030   EDM: -0.002"));
    EXPECT_TRUE(dialog_->FindWindow(edmid::saveOutputButton)->IsEnabled());
    guitest::waitForFirstPaint(dialog_);
    EXPECT_TRUE(guitest::saveScreenshot(dialog_, screenshots / "edm_calibration.png"));

    // The file saved back holds the same records.
    ASSERT_TRUE(dialog_->savePath(file("again.edm").string()));
    EXPECT_EQ(testsupport::readBytes(file("again.edm")), calibrationFile);

    // The report is saved as it was computed.
    wxTEST_DIALOG(dialog_->saveReport(), ChooseFile(file("report.txt")));
    EXPECT_EQ(testsupport::readBytes(file("report.txt")), dialog_->engine().report);
    // A write that fails says so, naming the file.
    const std::string nowhere = file("none/again.edm").string();
    wxTEST_DIALOG(EXPECT_FALSE(dialog_->savePath(nowhere)),
                  ExpectMessage("Error writing to: " + nowhere, wxOK));
}

// A file with a number field that holds no number is not opened: the
// window says which file, line and field, and keeps what it showed.
TEST_F(EdmCalibrationWindow, AFileWithADamagedNumberIsRefusedNamingIt) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    const std::string path = file("damaged.edm").string();
    testsupport::writeBytes(file("damaged.edm"), "IN,EDM one\r\nCN,0.0125,-0.0175mm\r\n");
    wxTEST_DIALOG(EXPECT_FALSE(dialog_->openPath(path)),
                  ExpectMessage(path + ", line 2: The reflector constant \"-0.0175mm\" is not a "
                                       "number. Record: CN,0.0125,-0.0175mm",
                                wxOK));
    EXPECT_EQ(dialog_->GetTitle(), "EDM Calibration - " + file("base.edm").string());
}

// Turning the correction off hides the weather columns; their texts, also
// ones typed since the file was read, come back when it is turned on again
// and are saved while hidden.
TEST_F(EdmCalibrationWindow, WeatherColumnsKeepTheirTexts) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    grid().SetCellText(1, 9, "31.5");
    grid().SetCellText(2, 11, "12.5");
    setCorrection(false);
    EXPECT_EQ(grid().GetColumnCount(), 9);
    EXPECT_FALSE(dialog_->FindWindow(edmid::wetBulbRadio)->IsEnabled());
    ASSERT_TRUE(dialog_->savePath(file("off.edm").string()));
    const std::string saved = testsupport::readBytes(file("off.edm"));
    EXPECT_NE(saved.find("AT,OFF,WET,"), std::string::npos);
    EXPECT_NE(saved.find("OB,A,1.5120,100.0000,B,1.6000,100.8500,31.50,740.00,18.00,"),
              std::string::npos);
    setCorrection(true);
    EXPECT_EQ(grid().GetColumnCount(), 12);
    EXPECT_EQ(grid().GetCellText(1, 9), "31.5");
    EXPECT_EQ(grid().GetCellText(2, 11), "12.5");
    EXPECT_EQ(grid().GetCellText(0, 10), "Pressure (mm of Hg)");

    pick(edmid::vapourPressureRadio);
    EXPECT_EQ(grid().GetColumnCount(), 11);
    EXPECT_TRUE(dialog_->FindWindow(edmid::vapourPressureEdit)->IsEnabled());
    pick(edmid::wetBulbRadio);
    EXPECT_EQ(grid().GetColumnCount(), 12);
    EXPECT_EQ(grid().GetCellText(2, 11), "12.5");
    EXPECT_FALSE(dialog_->FindWindow(edmid::vapourPressureEdit)->IsEnabled());
}

TEST_F(EdmCalibrationWindow, RowCommandsRenumberAndEmptyRowsAreNoObservations) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    dialog_->setCurrentRow(7);
    dialog_->insertAfter();
    EXPECT_EQ(grid().GetRowCount(), 9);
    EXPECT_EQ(grid().GetCellText(8, 0), "8");
    dialog_->setCurrentRow(2);
    dialog_->insertBefore();
    EXPECT_EQ(grid().GetRowCount(), 10);
    EXPECT_EQ(grid().GetCellText(2, 0), "2");
    EXPECT_EQ(grid().GetCellText(2, 1), "");
    EXPECT_EQ(grid().GetCellText(3, 0), "3");
    EXPECT_EQ(grid().GetCellText(3, 4), "C");
    // Two empty rows: still seven observations, and the same results.
    dialog_->compute();
    EXPECT_EQ(dialog_->engine().lines.size(), 7u);
    EXPECT_TRUE(contains(listed(), "   Degrees of Freedom: 5"));
    dialog_->setCurrentRow(3);
    dialog_->deleteRow();
    EXPECT_EQ(grid().GetRowCount(), 9);
    EXPECT_EQ(grid().GetCellText(3, 0), "3");
    EXPECT_EQ(grid().GetCellText(3, 4), "D");
    EXPECT_EQ(dialog_->currentRow(), 3);
    dialog_->setCurrentRow(0);
    dialog_->deleteRow();
    EXPECT_EQ(grid().GetRowCount(), 9) << "no row is current";

    // Too few observations for a calibration: refused with the cause.
    for (int row = grid().GetRowCount() - 1; row > 2; --row) {
        dialog_->setCurrentRow(row);
        dialog_->deleteRow();
    }
    wxTEST_DIALOG(dialog_->compute(),
                  ExpectMessage("At least 3 observed distances are needed to calibrate; there "
                                "are 1.",
                                wxOK));
}

// The row commands act on the row the user clicked: Insert After puts the
// new row below it (and what is typed next goes into the new row), Delete
// Row removes the clicked row or every row of a shift-click selection. The
// file written afterwards holds the observations in the grid's order.
TEST_F(EdmCalibrationWindow, RowCommandsActOnTheClickedRows) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    const auto menu = [this](int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(dialog_);
        dialog_->ProcessWindowEvent(event);
    };
    guitest::clickCell(grid(), 3, 2);
    EXPECT_EQ(dialog_->currentRow(), 3);
    menu(edmid::insertAfter);
    ASSERT_EQ(grid().GetRowCount(), 9);
    EXPECT_EQ(grid().GetCellText(4, 0), "4");
    EXPECT_EQ(grid().GetCellText(4, 1), "");
    EXPECT_EQ(grid().GetCellText(5, 0), "5");
    EXPECT_EQ(grid().GetCellText(5, 4), "E") << "the record below moved down";
    // Typing goes into the new row, not into a record.
    guitest::pressKey(&grid(), 'P');
    wxWindow* editor = grid().GetCell(4, 1)->GetEditWindow();
    ASSERT_NE(editor, nullptr) << "the new row's first cell is the one typed into";
    guitest::pressKey(editor, WXK_RETURN);
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(grid().GetCellText(4, 1), "P");
    EXPECT_EQ(grid().GetCellText(3, 1), "A");
    const char* const typed[] = {"1.5", "100", "Q", "1.6", "100", "25.1", "25.1"};
    for (int col = 2; col <= 8; ++col)
        grid().SetCellText(4, col, typed[col - 2]);

    // Rows 1 and 2 selected by their numbers (a click, then a shift-click).
    guitest::clickCell(grid(), 1, 0);
    guitest::clickCell(grid(), 2, 0, true);
    menu(edmid::deleteRow);
    ASSERT_EQ(grid().GetRowCount(), 7);
    EXPECT_EQ(grid().GetCellText(1, 0), "1");
    EXPECT_EQ(grid().GetCellText(1, 4), "D");
    // One more, by a click on a cell of the last row.
    guitest::clickCell(grid(), 6, 1);
    menu(edmid::deleteRow);
    ASSERT_EQ(grid().GetRowCount(), 6);
    EXPECT_TRUE(dialog_->modified());

    ASSERT_TRUE(dialog_->savePath(file("edited.edm").string()));
    // Each observation as its from and to stations.
    std::vector<std::string> observations;
    for (const std::string& line : guitest::fileLines(file("edited.edm"))) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, ',');)
            fields.push_back(field);
        if (fields.size() > 4 && fields[0] == "OB")
            observations.push_back(fields[1] + "-" + fields[4]);
    }
    EXPECT_EQ(observations, (std::vector<std::string>{"A-D", "P-Q", "A-E", "B-C", "B-D"}));
}

// New forgets the file, so the next Save asks for a name and the old file
// keeps its data; the save question guards unsaved changes.
TEST_F(EdmCalibrationWindow, NewForgetsTheFileAndExitAsks) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    EXPECT_FALSE(dialog_->modified()) << "a file just opened holds no edits";
    grid().SetCellText(1, 1, "Z");
    grid().SetModified(true);
    wxTEST_DIALOG(dialog_->newFile(),
                  ExpectMessage("Do you wish to save the EDM data file?", wxNO));
    EXPECT_EQ(dialog_->path(), "");
    EXPECT_EQ(dialog_->GetTitle(), "EDM Calibration");
    EXPECT_EQ(grid().GetRowCount(), 1);
    EXPECT_EQ(grid().GetColumnCount(), 9);
    EXPECT_FALSE(dialog_->modified());
    find<wxTextCtrl>(dialog_, edmid::commentEdit)->SetValue("typed");
    EXPECT_TRUE(dialog_->modified());
    wxTEST_DIALOG(EXPECT_FALSE(dialog_->saveFile()), ChooseFile(""));
    EXPECT_EQ(testsupport::readBytes(file("base.edm")), calibrationFile);
    wxTEST_DIALOG(EXPECT_FALSE(dialog_->exit()),
                  ExpectMessage("Do you wish to save the EDM data file?", wxCANCEL));
    EXPECT_TRUE(dialog_->IsShown());
    wxTEST_DIALOG(EXPECT_TRUE(dialog_->exit()),
                  ExpectMessage("Do you wish to save the EDM data file?", wxYES),
                  ChooseFile(file("new.edm")));
    EXPECT_NE(testsupport::readBytes(file("new.edm")).find("CO,typed\r\n"), std::string::npos);
}

// The Escape that closes an open menu of the window (GTK hands it to the
// window first) leaves the window open; the next Escape closes it, and a
// window whose file was just opened, computed or saved asks nothing.
TEST_F(EdmCalibrationWindow, EscapeClosesAMenuBeforeTheWindow) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    dialog_->compute();
    EXPECT_FALSE(dialog_->modified()) << "computing edits nothing";
    const auto send = [this](wxEvent& event) {
        event.SetEventObject(dialog_);
        dialog_->ProcessWindowEvent(event);
    };
    wxMenuEvent open(wxEVT_MENU_OPEN, 0, dialog_->GetMenuBar()->GetMenu(0));
    send(open);
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    send(escape);
    EXPECT_TRUE(dialog_->IsShown()) << "the Escape closed the menu only";
    wxMenuEvent close(wxEVT_MENU_CLOSE, 0, dialog_->GetMenuBar()->GetMenu(0));
    send(close);
    wxKeyEvent again(wxEVT_CHAR_HOOK);
    again.m_keyCode = WXK_ESCAPE;
    send(again); // nothing edited: no question
    EXPECT_FALSE(dialog_->IsShown());
}

// Escape in a cell's editor ends the edit only: the cell keeps its text
// and the window stays open without asking anything.
TEST_F(EdmCalibrationWindow, EscapeInACellLeavesTheEditOnly) {
    testsupport::writeBytes(file("base.edm"), calibrationFile);
    ASSERT_TRUE(dialog_->openPath(file("base.edm").string()));
    guitest::clickCell(grid(), 2, 4);
    guitest::pressKey(&grid(), 'X');
    wxWindow* editor = grid().GetCell(2, 4)->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    guitest::pressKey(editor, WXK_ESCAPE);
    wxTheApp->ProcessPendingEvents();
    EXPECT_FALSE(grid().IsCellEditing(2, 4));
    EXPECT_EQ(grid().GetCellText(2, 4), "C");
    EXPECT_TRUE(dialog_->IsShown());
    EXPECT_FALSE(dialog_->modified());
}

// The Tools command runs the window modally until it is closed.
TEST_F(EdmCalibrationWindow, TheToolsCommandOpensTheWindow) {
    CMainFrame& frame = openMainWindow();
    bool seen = false;
    frame.CallAfter([this, &seen] {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* edm = dynamic_cast<CEdmCalibDlg*>(window);
            if (edm != nullptr && edm != dialog_ && edm->IsShown())
                seen = edm->exit();
        }
    });
    wxCommandEvent command(wxEVT_MENU, shellid::edmCalibration);
    frame.ProcessWindowEvent(command);
    EXPECT_TRUE(seen);
}
