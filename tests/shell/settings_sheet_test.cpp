// The project settings sheet, the standard-error file dialog and the
// user-defined coordinate system dialog in the running program: a project
// set up from nothing and run, every page laid out, and the values that must
// survive the sheet unchanged.

#include "engine/adjustment_results.hpp"
#include "gui_test_support.hpp"
#include "model/settings/settings_units.hpp"
#include "shell/command_ids.hpp"
#include "shell/settings/input_files_page.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/settings/settings_table.hpp"
#include "shell/settings/std_err_file_dialog.hpp"
#include "shell/settings/udp_dialog.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

using guitest::ChooseFile;
using guitest::ExpectMessage;
using guitest::OnDialog;
using guitest::ShellTest;
using namespace settingsid;
namespace fs = std::filesystem;

const fs::path exampleFolder = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";
const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

template <class Control> Control* find(wxWindow* parent, int id) {
    auto* control = dynamic_cast<Control*>(parent->FindWindow(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

// The user's actions, with the events the toolkit would send.
void choose(wxWindow* page, int id, int index) {
    auto* list = find<wxChoice>(page, id);
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(list);
    event.SetInt(index);
    list->ProcessWindowEvent(event);
}

void tick(wxWindow* page, int id, bool checked) {
    auto* box = find<wxCheckBox>(page, id);
    box->SetValue(checked);
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(checked ? 1 : 0);
    box->ProcessWindowEvent(event);
}

void pick(wxWindow* page, int id) {
    auto* radio = find<wxRadioButton>(page, id);
    radio->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, id);
    event.SetEventObject(radio);
    radio->ProcessWindowEvent(event);
}

void typeInto(wxWindow* page, int id, const std::string& text) {
    auto* edit = find<wxTextCtrl>(page, id);
    edit->SetValue(text);
    edit->MarkDirty();
}

std::string textOf(wxWindow* page, int id) {
    return find<wxTextCtrl>(page, id)->GetValue().utf8_string();
}

void click(wxWindow* parent, int id) {
    wxWindow* button = parent->FindWindow(id);
    ASSERT_NE(button, nullptr) << "button " << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
}

int indexOf(wxWindow* page, int id, const std::string& text) {
    return find<wxChoice>(page, id)->FindString(wxString::FromUTF8(text));
}

// OK as the sheet's button gives it: the pages are taken, or a page refuses.
int pressOk(CSettingsPropSht& sheet) {
    return sheet.takeControls() ? wxID_OK : wxID_NONE;
}

using SheetAction = std::function<int(CSettingsPropSht&)>;
OnDialog<CSettingsPropSht> onSheet(SheetAction act) {
    return OnDialog<CSettingsPropSht>(std::move(act));
}

// Every control a window shows lies inside it.
void expectUnclipped(wxWindow* window) {
    const wxRect area = window->GetScreenRect();
    for (wxWindow* child : window->GetChildren()) {
        if (!child->IsShown())
            continue;
        const wxRect rect = child->GetScreenRect();
        EXPECT_TRUE(area.Contains(rect))
            << "control " << child->GetId() << " \"" << child->GetLabel().utf8_string() << "\" at "
            << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
        expectUnclipped(child);
    }
}

// Every setting of the table read back from a project file: texts and
// numbers that the file keeps in full equal, doubles to its six decimals.
void expectSameSettings(const globalVars& read, const globalVars& expected) {
    for (const SettingEntry& entry : settingEntries())
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<decltype(member), double globalVars::*>)
                    EXPECT_NEAR(read.*member, expected.*member, 5e-7)
                        << "control " << entry.control;
                else
                    EXPECT_EQ(read.*member, expected.*member) << "control " << entry.control;
            },
            entry.member);
}

// A standard-error file of the built-in errors with a target height of
// 0.002 and the changes `change` makes.
void writeSef(const fs::path& path, const std::function<void(stdErrRec&)>& change) {
    stdErrRec record;
    record.SETrgtHght = 0.002;
    change(record);
    record.path = path.string();
    ASSERT_EQ(record.writeFile(), stdErrRec::ok);
}

class SettingsSheet : public ShellTest {
protected:
    static void command(CMainFrame& frame, int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame.ProcessWindowEvent(event);
    }
    // Opens `lines` as the project, then the sheet on it, which `act` works.
    CMainFrame& openProjectWith(const std::vector<std::string>& lines) {
        guitest::writeProject(file("site.prj"), lines);
        CMainFrame& frame = openMainWindow();
        wxTEST_DIALOG(frame.openProject(), ChooseFile(file("site.prj")));
        return frame;
    }
    void projectSettings(CMainFrame& frame, SheetAction act) {
        wxTEST_DIALOG(command(frame, shellid::projectSettings), onSheet(std::move(act)));
    }
};

} // namespace

// New Project, the coordinate system, the raw file through its dialog, the
// standard errors, OK and Save: the project runs and its file reads back.
TEST_F(SettingsSheet, ANewProjectIsSetUpInTheSheetAndRuns) {
    fs::copy_file(exampleFolder / "site.vkr", file("site.vkr"));
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("fresh.prj"), "New Project"),
                  onSheet([&](CSettingsPropSht& sheet) {
                      EXPECT_EQ(sheet.currentPage(), coordinateSystemPage);
                      wxWindow* system = &sheet.page(coordinateSystemPage);
                      choose(system, coordinateSystemList, 1);
                      const int zone = indexOf(system, zoneList, "Alabama West - 0102");
                      EXPECT_GE(zone, 0);
                      choose(system, zoneList, zone);
                      pick(system, model2dRadio);
                      tick(system, horizontalAdjustmentCheck, true);
                      tick(system, verticalAdjustmentCheck, false);
                      choose(system, horizontalUnitsList, 0);

                      sheet.showPage(inputFilesPage);
                      wxWindow* input = &sheet.page(inputFilesPage);
                      tick(input, rawDataCheck, true);
                      click(input, rawAddButton);
                      EXPECT_EQ(find<wxListBox>(input, rawFileList)->GetCount(), 1u);

                      sheet.showPage(standardErrorsPage);
                      wxWindow* errors = &sheet.page(standardErrorsPage);
                      for (const auto& [id, text] :
                           std::vector<std::pair<int, std::string>>{{1032, "0.003"},
                                                                    {1026, "2"},
                                                                    {1027, "2"},
                                                                    {1009, "2"},
                                                                    {1037, "3"},
                                                                    {1038, "3"},
                                                                    {1035, "0.002"},
                                                                    {1036, "0.002"}})
                          typeInto(errors, id, text);
                      return pressOk(sheet);
                  }),
                  ChooseFile(file("site.vkr")));

    EXPECT_EQ(projectVars.gridSystem, gridStatePlane83);
    EXPECT_EQ(projectVars.gridZone, 102);
    EXPECT_EQ(projectVars.pInputFileName, file("site.vkr").string() + "\n");
    EXPECT_EQ(projectVars.includeRawData, 1);
    EXPECT_EQ(projectVars.stErrDist, 0.003);
    EXPECT_EQ(projectVars.stErrPoint, 2.0);
    EXPECT_TRUE(frame.state().modified);
    frame.saveProjectCommand();
    EXPECT_FALSE(frame.state().modified);

    command(frame, shellid::networkAdjustment);
    EXPECT_EQ(frame.state().lastRun.adjustment, AdjustmentOutcome::converged);
    globalVars reread;
    ASSERT_NE(reread.readProjectFile(file("fresh.prj").string()), 0);
    expectSameSettings(reread, projectVars);
}

TEST_F(SettingsSheet, EveryPageIsLaidOutWithinItsWindow) {
    CMainFrame& frame = openMainWindow();
    const char* names[] = {"coordinate_system", "input_files", "preprocessing",
                           "standard_errors",   "adjustment",  "output_options"};
    for (int system : {gridStatePlane83, gridUtm, gridUserDefined}) {
        projectVars.gridSystem = system;
        CSettingsPropSht sheet(&frame, SettingsSheetActions{});
        sheet.fill(projectVars, 0);
        sheet.Show();
        for (int index = 0; index < pageCount; ++index) {
            SCOPED_TRACE(names[index]);
            if (index > 0 && system != gridStatePlane83)
                break;
            sheet.showPage(index);
            guitest::waitForFirstPaint(&sheet);
            expectUnclipped(&sheet);
            const std::string suffix = index == 0 ? "_" + std::to_string(system) : "";
            EXPECT_TRUE(guitest::saveScreenshot(
                &sheet, screenshots / ("settings_" + std::string(names[index]) + suffix + ".png")));
        }
        sheet.Hide();
    }
}

// Every text field a window shows, and its children's, is wide enough for
// the text it holds.
void expectValuesWhole(wxWindow* window) {
    for (wxWindow* child : window->GetChildren()) {
        if (!child->IsShown())
            continue;
        if (auto* field = dynamic_cast<wxTextCtrl*>(child);
            field != nullptr && !field->IsMultiLine()) {
            const wxString value = field->GetValue();
            SCOPED_TRACE("field " + std::to_string(field->GetId()) + " \"" + value.utf8_string() +
                         "\"");
            EXPECT_GE(field->GetSize().x,
                      field->GetSizeFromTextSize(field->GetTextExtent(value).x).x);
        }
        expectValuesWhole(child);
    }
}

// A new project's values are shown whole on every page: the null
// elevation -99999999.0 showed as "-99999999.".
TEST_F(SettingsSheet, EveryDefaultValueIsShownWhole) {
    CMainFrame& frame = openMainWindow();
    CSettingsPropSht sheet(&frame, SettingsSheetActions{});
    sheet.fill(projectVars, 0);
    sheet.Show();
    for (int index = 0; index < pageCount; ++index) {
        SCOPED_TRACE("page " + std::to_string(index));
        sheet.showPage(index);
        guitest::waitForFirstPaint(&sheet);
        expectValuesWhole(&sheet);
    }
    sheet.Hide();
}

TEST_F(SettingsSheet, TheDialogsAreLaidOutWithinTheirWindows) {
    CMainFrame& frame = openMainWindow();
    CUDPDlg udp(&frame);
    choose(&udp, udpid::ellipsoidList, userDefinedEllipsoid);
    choose(&udp, udpid::projectionList, udpObliqueMercatorCentre);
    udp.Show();
    guitest::waitForFirstPaint(&udp);
    expectUnclipped(&udp);
    EXPECT_TRUE(guitest::saveScreenshot(&udp, screenshots / "user_defined_system.png"));
    udp.Hide();
    CDlgStdErrDef errors(&frame, "");
    errors.Show();
    guitest::waitForFirstPaint(&errors);
    expectUnclipped(&errors);
    EXPECT_TRUE(guitest::saveScreenshot(&errors, screenshots / "standard_error_file.png"));
    errors.Hide();
}

TEST_F(SettingsSheet, TheStandardErrorButtonOpensItsPage) {
    CMainFrame& frame = openMainWindow();
    int page = -1;
    wxTEST_DIALOG(command(frame, shellid::stdErrSettingsButton), onSheet([&](CSettingsPropSht& s) {
                      page = s.currentPage();
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(page, standardErrorsPage);
    projectSettings(frame, [&](CSettingsPropSht& s) {
        page = s.currentPage();
        return wxID_CANCEL;
    });
    EXPECT_EQ(page, coordinateSystemPage);
}

// OK without a change leaves every setting and the modified mark alone,
// also settings the lists cannot show: the 1927 zone 4904 and geoid models
// beyond the two offered.
TEST_F(SettingsSheet, OkKeepsWhatNobodyChanged) {
    CMainFrame& frame = openProjectWith({"gridSystem=2", "gridZone=4904", "geoidModelType=5",
                                         "angleType=1", "stErrPoint=6.480000", "hAngTol=0.000123"});
    const globalVars before = projectVars;
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        wxWindow* system = &sheet.page(coordinateSystemPage);
        EXPECT_EQ(find<wxChoice>(system, zoneList)->GetStringSelection(), "Wyoming West - 4904");
        EXPECT_EQ(textOf(&sheet.page(standardErrorsPage), 1027), "0.002");
        for (int index = 0; index < pageCount; ++index)
            sheet.showPage(index);
        return pressOk(sheet);
    });
    EXPECT_FALSE(frame.state().modified);
    EXPECT_EQ(projectVars.gridZone, 4904);
    EXPECT_EQ(projectVars.geoidModelType, 5);
    EXPECT_EQ(projectVars.stErrPoint, 6.48);
    EXPECT_EQ(projectVars.hAngTol, before.hAngTol);
}

// Apply, then OK: seconds stay seconds.
TEST_F(SettingsSheet, ApplyThenOkStoresTheSameSeconds) {
    CMainFrame& frame = openProjectWith({"angleType=1", "stErrPoint=6.480000"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        typeInto(&sheet.page(standardErrorsPage), 1009, "0.001");
        click(&sheet, applyNowButton);
        EXPECT_NEAR(projectVars.stErrRead, 3.24, 1e-12);
        EXPECT_EQ(projectVars.stErrPoint, 6.48);
        return pressOk(sheet);
    });
    EXPECT_NEAR(projectVars.stErrRead, 3.24, 1e-12);
    EXPECT_EQ(projectVars.stErrPoint, 6.48);
    EXPECT_TRUE(frame.state().modified);
}

// A new angle unit converts what the pages show: 30" is 0.009259 grads and
// 6.48" 0.002 grads, and the project keeps its seconds and radians.
TEST_F(SettingsSheet, ChangingTheAngleUnitConvertsWhatThePagesShow) {
    const double thirtySeconds = 30.0 * testsupport::pi / 648000.0;
    CMainFrame& frame = openProjectWith({"angleType=0", "stErrPoint=6.480000"});
    projectVars.hAngTol = thirtySeconds;
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        wxWindow* preprocessing = &sheet.page(preprocessingPage);
        EXPECT_EQ(textOf(preprocessing, horizAngleToleranceEdit), "0.0030  ");
        choose(&sheet.page(outputOptionsPage), angleTypeList, 1);
        EXPECT_EQ(textOf(preprocessing, horizAngleToleranceEdit), "0.009259");
        EXPECT_EQ(textOf(&sheet.page(standardErrorsPage), 1027), "0.002");
        sheet.showPage(preprocessingPage);
        EXPECT_EQ(find<wxWindow>(preprocessing, horizAngleToleranceLabel)->GetLabel(),
                  "Horz.Angle/Azimuth (Grads):");
        return pressOk(sheet);
    });
    EXPECT_EQ(projectVars.angleType, 1);
    EXPECT_EQ(projectVars.hAngTol, thirtySeconds);
    EXPECT_NEAR(projectVars.stErrPoint, 6.48, 1e-12);
}

// A .sef file holds seconds; the page shows grads when the sheet does.
TEST_F(SettingsSheet, StandardErrorFilesAreConvertedToTheShownUnit) {
    writeSef(file("crew.sef"), [](stdErrRec& record) { record.SEHAngPoint = 6.48; });
    CMainFrame& frame = openProjectWith({"angleType=1"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        wxWindow* errors = &sheet.page(standardErrorsPage);
        wxTEST_DIALOG(click(errors, sefLoadButton), ChooseFile(file("crew.sef")));
        EXPECT_EQ(textOf(errors, 1027), "0.002");
        EXPECT_EQ(textOf(errors, 1039), "0.002");
        wxTEST_DIALOG(click(errors, sefSaveAsButton), ChooseFile(file("again.sef")));
        return pressOk(sheet);
    });
    EXPECT_NEAR(projectVars.stErrPoint, 6.48, 1e-12);
    stdErrRec again;
    ASSERT_EQ(again.load(file("again.sef").string()), stdErrRec::ok);
    EXPECT_NEAR(again.SEHAngPoint, 6.48, 1e-6);
}

TEST_F(SettingsSheet, OutOfRangeNumbersAreRefused) {
    CMainFrame& frame = openProjectWith({});
    const globalVars before = projectVars;
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        typeInto(&sheet.page(adjustmentPage), confidenceEdit, "120");
        int answer = wxID_NONE;
        wxTEST_DIALOG(answer = pressOk(sheet),
                      ExpectMessage("Please enter a number between 50 and 99.99.", wxOK));
        EXPECT_EQ(answer, wxID_NONE);
        EXPECT_EQ(sheet.currentPage(), adjustmentPage);
        typeInto(&sheet.page(adjustmentPage), confidenceEdit, "95");
        typeInto(&sheet.page(standardErrorsPage), 1046, "11");
        wxTEST_DIALOG(answer = pressOk(sheet),
                      ExpectMessage("Please enter a number between 0 and 10.", wxOK));
        EXPECT_EQ(answer, wxID_NONE);
        return wxID_CANCEL;
    });
    EXPECT_EQ(projectVars.confidenceInterval, before.confidenceInterval);
    EXPECT_FALSE(frame.state().modified);
}

TEST_F(SettingsSheet, AFailedSaveProjectIsReported) {
    fs::create_directories(file("gone"));
    guitest::writeProject(file("gone/site.prj"));
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(file("gone/site.prj")));
    fs::remove_all(file("gone"));
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        typeInto(&sheet.page(adjustmentPage), maxIterationsEdit, "33");
        wxTEST_DIALOG(click(&sheet, saveProjectButton),
                      ExpectMessage("Error writing to: " + file("gone/site.prj").string(), wxOK));
        return wxID_CANCEL;
    });
    // What the sheet stored is not lost unnoticed.
    EXPECT_EQ(projectVars.maxIterations, 33);
    EXPECT_TRUE(frame.state().modified);
}

TEST_F(SettingsSheet, SaveProjectWithoutAFileAsksForOne) {
    CMainFrame& frame = openMainWindow();
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        typeInto(&sheet.page(adjustmentPage), maxIterationsEdit, "33");
        wxTEST_DIALOG(click(&sheet, saveProjectButton), ChooseFile(file("saved.prj")));
        return wxID_CANCEL;
    });
    globalVars saved;
    ASSERT_NE(saved.readProjectFile(file("saved.prj").string()), 0);
    EXPECT_EQ(saved.maxIterations, 33);
    EXPECT_EQ(frame.state().projectFile, file("saved.prj").string());
    EXPECT_FALSE(frame.state().modified);
}

// A value out of range in the project file is not taken on unnoticed: the
// project says so as it opens and keeps the value in force, which the sheet
// then shows and accepts.
TEST_F(SettingsSheet, AnOutOfRangeValueFromTheFileIsRefusedToo) {
    guitest::writeProject(file("site.prj"), {"confidenceInterval=120.000000"});
    const std::string text = testsupport::readBytes(file("site.prj"));
    const long line = std::count(text.begin(), text.end(), '\n');
    const std::string refusal = "Project file " + file("site.prj").string() + ", line " +
                                std::to_string(line) +
                                ": confidenceInterval=120.000000 refused (the confidence "
                                "interval is 50 to 99.99 %); the value in force is kept.";
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(file("site.prj")), ExpectMessage(refusal, wxOK));
    EXPECT_EQ(projectVars.confidenceInterval, globalVars().confidenceInterval);
    projectSettings(frame, [&](CSettingsPropSht& sheet) { return pressOk(sheet); });
    EXPECT_EQ(projectVars.confidenceInterval, globalVars().confidenceInterval);
}

TEST_F(SettingsSheet, SaveAsDefaultLeavesTheProjectAlone) {
    CMainFrame& frame = openProjectWith({"maxIterations=12"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        typeInto(&sheet.page(adjustmentPage), maxIterationsEdit, "33");
        click(&sheet, saveAsDefaultButton);
        EXPECT_EQ(projectVars.maxIterations, 12);
        return wxID_CANCEL;
    });
    EXPECT_EQ(projectVars.maxIterations, 12);
    EXPECT_EQ(profile().getInt("Version 1.00", "maxIterations", -1), 33);
}

TEST_F(SettingsSheet, InputFilesFollowTheirRules) {
    for (const char* name : {"b.RW5", "a.rw5", "c.vkr"})
        testsupport::writeBytes(file(name), "");
    CMainFrame& frame =
        openProjectWith({"geodeticModel=0", "includeGPSVectors=1", "includeRawData=1",
                         "includeLevData=1", "levelFileFmtType=1"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        sheet.showPage(inputFilesPage);
        wxWindow* input = &sheet.page(inputFilesPage);
        // The 2D, 1D model has no GPS vectors.
        EXPECT_FALSE(find<wxCheckBox>(input, gpsVectorFileCheck)->IsEnabled());
        EXPECT_FALSE(find<wxCheckBox>(input, gpsVectorFileCheck)->GetValue());
        wxTEST_DIALOG(click(input, rawAddButton), ChooseFile(file("b.RW5")));
        wxTEST_DIALOG(click(input, rawAddButton), ChooseFile(file("a.rw5")));
        wxTEST_DIALOG(
            click(input, rawAddButton), ChooseFile(file("c.vkr")),
            ExpectMessage("You cannot have both .RW5 and .VKR files in the same list", wxOK));
        wxTEST_DIALOG(
            click(input, rawAddButton), ChooseFile(file("b.RW5")),
            ExpectMessage("Raw File, " + file("b.RW5").string() + ", is already in the list",
                          wxOK));
        // Trig. level files are .tlv files.
        wxTEST_DIALOG(click(input, levelSelectButton),
                      OnDialog<wxFileDialog>([](wxFileDialog& dialog) {
                          EXPECT_NE(dialog.GetWildcard().Find("*.tlv"), wxNOT_FOUND);
                          EXPECT_EQ(dialog.GetWildcard().Find("*.tvl"), wxNOT_FOUND);
                          return wxID_CANCEL;
                      }));
        return pressOk(sheet);
    });
    EXPECT_EQ(projectVars.includeGPSVectors, 0);
    EXPECT_EQ(projectVars.pInputFileName,
              file("b.RW5").string() + "\n" + file("a.rw5").string() + "\n");
}

TEST_F(SettingsSheet, TheCoordinateFileTypeFollowsTheChosenFilter) {
    CMainFrame& frame = openProjectWith({"wrtToCrd=1", "crdFileType=1"});
    projectVars.useVkTool = 0;
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        wxWindow* output = &sheet.page(outputOptionsPage);
        wxTEST_DIALOG(click(output, coordinateFileSelectButton),
                      OnDialog<wxFileDialog>([&](wxFileDialog& dialog) {
                          // V&K numeric is the third entry when the own utilities are in use.
                          EXPECT_EQ(dialog.GetFilterIndex(), 2);
                          dialog.SetFilterIndex(0);
                          const wxString path = wxString::FromUTF8(file("out.crd").string());
                          dialog.SetPath(path);
                          for (int round = 0; round < 100000 && dialog.GetPath() != path; ++round)
                              wxYield();
                          return wxID_OK;
                      }));
        return pressOk(sheet);
    });
    EXPECT_EQ(projectVars.crdFileType, 3);
}

TEST_F(SettingsSheet, TheStandardErrorFileDialogWritesEachFieldBack) {
    writeSef(file("crew.sef"), [](stdErrRec& record) { record.SETSTrgtCntr = 0.001; });
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(command(frame, shellid::editStdErrFile), ChooseFile(file("crew.sef")),
                  OnDialog<CDlgStdErrDef>([&](CDlgStdErrDef& dialog) {
                      EXPECT_EQ(dialog.GetTitle(), "Standard Errors: " + file("crew.sef").string());
                      EXPECT_EQ(textOf(&dialog, 1039), "0.002");
                      EXPECT_EQ(textOf(&dialog, 1035), "0.001");
                      typeInto(&dialog, 1040, "0.004");
                      return dialog.takeValues() ? wxID_OK : wxID_NONE;
                  }));
    stdErrRec again;
    ASSERT_EQ(again.load(file("crew.sef").string()), stdErrRec::ok);
    EXPECT_NEAR(again.SETrgtHght, 0.002, 1e-9);
    EXPECT_NEAR(again.SETSTrgtCntr, 0.001, 1e-9);
    EXPECT_NEAR(again.SEInstHght, 0.004, 1e-9);

    wxTEST_DIALOG(command(frame, shellid::newStdErrFile), ChooseFile(file("new.sef")),
                  OnDialog<CDlgStdErrDef>([&](CDlgStdErrDef& dialog) {
                      EXPECT_EQ(dialog.GetTitle(), "Standard Errors: " + file("new.sef").string());
                      // The built-in distance constant and collimation.
                      EXPECT_EQ(textOf(&dialog, 1032), "0.005");
                      EXPECT_EQ(textOf(&dialog, 1156), "3");
                      return wxID_CANCEL;
                  }));
    EXPECT_FALSE(fs::exists(file("new.sef")));
}

// The save dialog's overwrite question is answered yes: the file chosen is
// shown with its own values, and OK keeps them instead of writing the
// built-in ones over them.
TEST_F(SettingsSheet, ANewStandardErrorFileOverAnOldOneShowsItsValues) {
    writeSef(file("crew.sef"), [](stdErrRec& record) { record.SECollimation = 8.5; });
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(command(frame, shellid::newStdErrFile), ChooseFile(file("crew.sef")),
                  OnDialog<CDlgStdErrDef>([&](CDlgStdErrDef& dialog) {
                      EXPECT_EQ(dialog.GetTitle(), "Standard Errors: " + file("crew.sef").string());
                      EXPECT_EQ(textOf(&dialog, 1039), "0.002");
                      EXPECT_EQ(textOf(&dialog, 1156), "8.5");
                      return dialog.takeValues() ? wxID_OK : wxID_NONE;
                  }));
    stdErrRec again;
    ASSERT_EQ(again.load(file("crew.sef").string()), stdErrRec::ok);
    EXPECT_NEAR(again.SETrgtHght, 0.002, 1e-9);
    EXPECT_NEAR(again.SECollimation, 8.5, 1e-9);
}

TEST_F(SettingsSheet, TheUserDefinedSystemIsSavedAndLoaded) {
    CMainFrame& frame = openMainWindow();
    {
        CUDPDlg dialog(&frame);
        EXPECT_TRUE(dialog.FindWindow(udpid::testButton)->IsEnabled());
        typeInto(&dialog, udpid::systemNameEdit, "Site Grid");
        choose(&dialog, udpid::ellipsoidList, userDefinedEllipsoid);
        choose(&dialog, udpid::secondKindList, 3);
        typeInto(&dialog, udpid::firstValueEdit, "6378137");
        typeInto(&dialog, udpid::secondValueEdit, "298.257223563");
        choose(&dialog, udpid::ellipsoidList, userDefinedEllipsoid);
        EXPECT_EQ(textOf(&dialog, udpid::semiMajorEdit), "6378137.000");
        EXPECT_EQ(textOf(&dialog, udpid::inverseFlatteningEdit), "298.257223563");
        choose(&dialog, udpid::projectionList, udpDoubleStereographic);
        typeInto(&dialog, udpid::originNorthingEdit, "7500000");
        typeInto(&dialog, udpid::originEastingEdit, "2500000");
        typeInto(&dialog, udpid::latitudeEdit, "46.3000");
        typeInto(&dialog, udpid::meridianOrSouthParallelEdit, "-66.3000");
        typeInto(&dialog, udpid::scaleOrNorthParallelEdit, "0.999912");
        bool saved = false;
        wxTEST_DIALOG(saved = dialog.save(), ChooseFile(file("site.udp")));
        EXPECT_TRUE(saved);
        EXPECT_EQ(dialog.path(), file("site.udp").string());
    }
    CUDPDlg reopened(&frame);
    reopened.loadUdpFile(file("site.udp").string());
    EXPECT_EQ(textOf(&reopened, udpid::systemNameEdit), "Site Grid");
    EXPECT_EQ(find<wxChoice>(&reopened, udpid::projectionList)->GetSelection(),
              udpDoubleStereographic);
    EXPECT_EQ(textOf(&reopened, udpid::scaleOrNorthParallelEdit), "0.99991200000");
    EXPECT_EQ(textOf(&reopened, udpid::inverseFlatteningEdit), "298.257223563");
    EXPECT_EQ(reopened.record().EllipsInt, userDefinedEllipsoid);
    EXPECT_NEAR(reopened.record().CentralMeridian, -66.5 * testsupport::pi / 180.0, 1e-12);
    EXPECT_FALSE(reopened.modified());
}

TEST_F(SettingsSheet, ObliqueMercatorLabelsAndAnImpossibleEllipsoid) {
    CMainFrame& frame = openMainWindow();
    CUDPDlg dialog(&frame);
    choose(&dialog, udpid::projectionList, udpObliqueMercatorCentre);
    EXPECT_EQ(find<wxWindow>(&dialog, udpid::originNorthingLabel)->GetLabel(),
              "False N. (center of projection:");
    EXPECT_EQ(find<wxWindow>(&dialog, udpid::rectifiedAzimuthLabel)->GetLabel(),
              "Rectified Azimuth (dd.mmss):");
    choose(&dialog, udpid::projectionList, udpTransverseMercator);
    EXPECT_FALSE(find<wxWindow>(&dialog, udpid::rectifiedAzimuthEdit)->IsShown());
    // "User-Defined" with a and b both 0 defines nothing: zeros.
    choose(&dialog, udpid::ellipsoidList, userDefinedEllipsoid);
    EXPECT_EQ(textOf(&dialog, udpid::semiMajorEdit), "0.000");
    EXPECT_EQ(textOf(&dialog, udpid::inverseFlatteningEdit), "0.000000000");
    // An eccentricity of 1 is no ellipsoid.
    choose(&dialog, udpid::secondKindList, 4);
    typeInto(&dialog, udpid::firstValueEdit, "6378137");
    typeInto(&dialog, udpid::secondValueEdit, "1");
    choose(&dialog, udpid::ellipsoidList, userDefinedEllipsoid);
    EXPECT_EQ(textOf(&dialog, udpid::semiMajorEdit), "0.000");
}

// Yes to saving, then the file dialog cancelled: the dialog stays open with
// what was typed.
TEST_F(SettingsSheet, OkKeepsTheUserDefinedSystemOpenWhenItsSaveIsCancelled) {
    CMainFrame& frame = openMainWindow();
    bool closes = true;
    wxTEST_DIALOG(command(frame, shellid::createUdp), OnDialog<CUDPDlg>([&](CUDPDlg& dialog) {
                      typeInto(&dialog, udpid::systemNameEdit, "Site Grid");
                      closes = dialog.confirmClose();
                      EXPECT_EQ(textOf(&dialog, udpid::systemNameEdit), "Site Grid");
                      return wxID_CANCEL;
                  }),
                  ExpectMessage("The user defined projection has changed.\n Do you wish to save "
                                "changes?",
                                wxYES),
                  ChooseFile(""));
    EXPECT_FALSE(closes);
}

// The coordinate system decides what the page offers: a local system has no
// 3D model, a zone the table lacks becomes the first, the UTM list position
// gives the zone number, and the 3D model adjusts in the horizontal unit.
TEST_F(SettingsSheet, TheCoordinateSystemPageFollowsTheSystem) {
    CMainFrame& frame = openProjectWith({"gridSystem=0", "geodeticModel=1", "gridZone=9999"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        wxWindow* page = &sheet.page(coordinateSystemPage);
        EXPECT_TRUE(find<wxRadioButton>(page, model2dRadio)->GetValue());
        EXPECT_FALSE(find<wxRadioButton>(page, model3dRadio)->IsEnabled());
        EXPECT_FALSE(find<wxChoice>(page, zoneList)->IsShown());

        choose(page, coordinateSystemList, gridStatePlane83);
        EXPECT_EQ(find<wxChoice>(page, zoneList)->GetStringSelection(), "Alabama East - 0101");
        EXPECT_EQ(sheet.values().gridZone, 101);
        EXPECT_TRUE(find<wxRadioButton>(page, model3dRadio)->IsEnabled());

        choose(page, coordinateSystemList, gridUtm);
        choose(page, zoneList, 92);
        EXPECT_EQ(sheet.values().gridZone, 93);
        choose(page, ellipsoidList, userDefinedEllipsoid);
        EXPECT_TRUE(find<wxTextCtrl>(page, ellipsoidUdpPathEdit)->IsShown());
        typeInto(page, ellipsoidUdpPathEdit, file("grid.udp").string());
        choose(page, ellipsoidList, 15);
        EXPECT_FALSE(find<wxTextCtrl>(page, ellipsoidUdpPathEdit)->IsShown());
        EXPECT_EQ(textOf(page, semiMajorEdit), "6378137.000");

        choose(page, horizontalUnitsList, 2);
        pick(page, model3dRadio);
        EXPECT_EQ(find<wxChoice>(page, elevationUnitsList)->GetSelection(), 2);
        EXPECT_FALSE(find<wxChoice>(page, elevationUnitsList)->IsEnabled());
        return pressOk(sheet);
    });
    EXPECT_EQ(projectVars.gridSystem, gridUtm);
    EXPECT_EQ(projectVars.gridZone, 93);
    EXPECT_EQ(projectVars.ellipsoid, 15);
    EXPECT_EQ(projectVars.geodeticModel, 1);
    EXPECT_EQ(projectVars.ZUnits, 2);
}

// A new project's units agree (metres throughout); choosing UTM shows the
// WGS 84 ellipsoid and no zone, and OK asks for the zone instead of taking
// the list's first; the total stations' unit follows the horizontal unit.
TEST_F(SettingsSheet, ANewProjectStartsWithSoundDefaults) {
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("fresh.prj"), "New Project"),
                  onSheet([&](CSettingsPropSht& sheet) {
                      wxWindow* system = &sheet.page(coordinateSystemPage);
                      wxWindow* input = &sheet.page(inputFilesPage);
                      EXPECT_EQ(find<wxChoice>(system, horizontalUnitsList)->GetSelection(), 0);
                      EXPECT_EQ(find<wxChoice>(system, elevationUnitsList)->GetSelection(), 0);
                      EXPECT_EQ(find<wxChoice>(input, totalStationUnitsList)->GetSelection(), 0);

                      choose(system, coordinateSystemList, gridUtm);
                      EXPECT_EQ(find<wxChoice>(system, ellipsoidList)->GetStringSelection(),
                                "WGS 1984");
                      EXPECT_EQ(textOf(system, semiMajorEdit), "6378137.000");
                      EXPECT_EQ(find<wxChoice>(system, zoneList)->GetSelection(), wxNOT_FOUND);
                      sheet.showPage(standardErrorsPage);
                      wxTEST_DIALOG(EXPECT_EQ(pressOk(sheet), wxID_NONE),
                                    ExpectMessage("Choose the UTM zone of the project.", wxOK));
                      EXPECT_EQ(sheet.currentPage(), coordinateSystemPage);
                      choose(system, zoneList, 32);

                      choose(system, horizontalUnitsList, 1);
                      EXPECT_EQ(find<wxChoice>(input, totalStationUnitsList)->GetSelection(), 1);
                      return pressOk(sheet);
                  }));
    EXPECT_EQ(projectVars.gridSystem, gridUtm);
    EXPECT_EQ(projectVars.gridZone, 33);
    EXPECT_EQ(projectVars.ellipsoid, 15);
    EXPECT_EQ(projectVars.HorizUnits, 1);
    EXPECT_EQ(projectVars.ttlStaUnits, 1);
}

// The sheet's own texts are spelt right (none of them is read by a file or
// another program).
TEST_F(SettingsSheet, TheSheetsTextsAreSpeltRight) {
    CMainFrame& frame = openMainWindow();
    std::string texts;
    const std::function<void(wxWindow*)> gather = [&](wxWindow* window) {
        texts += window->GetLabel().utf8_string() + "\n";
        if (auto* list = dynamic_cast<wxChoice*>(window))
            for (unsigned i = 0; i < list->GetCount(); ++i)
                texts += list->GetString(i).utf8_string() + "\n";
        for (wxWindow* child : window->GetChildren())
            gather(child);
    };
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        gather(&sheet);
        return wxID_CANCEL;
    });
    EXPECT_NE(texts.find("Convergence Threshold:"), std::string::npos);
    EXPECT_NE(texts.find("US Feet"), std::string::npos);
    for (const char* wrong : {"Threshhold", "U.S Feet", "Extexts", "backsigh ", "Refrector"})
        EXPECT_EQ(texts.find(wrong), std::string::npos) << wrong;
}

// Leaving an edit with a text that is no number says so at once.
TEST_F(SettingsSheet, FieldsAreCheckedWhenTheUserLeavesThem) {
    CMainFrame& frame = openProjectWith({"angleType=0"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        const auto leave = [](wxWindow* page, int id, const std::string& text) {
            typeInto(page, id, text);
            wxFocusEvent event(wxEVT_KILL_FOCUS, id);
            event.SetEventObject(page->FindWindow(id));
            page->FindWindow(id)->ProcessWindowEvent(event);
            wxTheApp->ProcessPendingEvents();
        };
        wxWindow* errors = &sheet.page(standardErrorsPage);
        wxTEST_DIALOG(leave(errors, 1029, "0.0x1"),
                      ExpectMessage("Invalid Numeric Entry: 0.0x1", wxOK));
        wxWindow* preprocessing = &sheet.page(preprocessingPage);
        wxTEST_DIALOG(leave(preprocessing, horizAngleToleranceEdit, "0.0060"),
                      ExpectMessage("Invalid angle Entry: 0.0060", wxOK));
        wxTEST_DIALOG(leave(preprocessing, distanceToleranceEdit, "2 cm"),
                      ExpectMessage("Invalid Distance Entry: 2 cm", wxOK));
        return wxID_CANCEL;
    });
}

// The ALTA report needs the relative error points file; its tolerances
// need both.
TEST_F(SettingsSheet, TheAltaFieldsFollowTheirChecks) {
    CMainFrame& frame = openProjectWith({"relativeErrFileOn=1", "ALTARptOn=1"});
    projectSettings(frame, [&](CSettingsPropSht& sheet) {
        wxWindow* page = &sheet.page(adjustmentPage);
        const auto enabled = [page](int id) { return page->FindWindow(id)->IsEnabled(); };
        EXPECT_TRUE(enabled(altaReportCheck) && enabled(altaToleranceEdit) && enabled(altaPpmEdit));
        tick(page, relativeErrFileCheck, false);
        EXPECT_FALSE(enabled(altaReportCheck) || enabled(altaToleranceEdit) ||
                     enabled(altaPpmEdit) || enabled(relativeErrFileEdit));
        tick(page, altaReportCheck, false);
        tick(page, relativeErrFileCheck, true);
        EXPECT_TRUE(enabled(altaReportCheck));
        EXPECT_FALSE(enabled(altaToleranceEdit) || enabled(altaPpmEdit));
        return wxID_CANCEL;
    });
}

// Projection fields are checked by what the projection type makes of them.
TEST_F(SettingsSheet, UserDefinedFieldsAreCheckedByTheirMeaning) {
    CMainFrame& frame = openMainWindow();
    CUDPDlg dialog(&frame);
    dialog.Show();
    const auto leave = [&dialog](int id, const std::string& text) {
        typeInto(&dialog, id, text);
        wxFocusEvent event(wxEVT_KILL_FOCUS, id);
        event.SetEventObject(dialog.FindWindow(id));
        dialog.FindWindow(id)->ProcessWindowEvent(event);
        wxTheApp->ProcessPendingEvents();
    };
    choose(&dialog, udpid::projectionList, udpTransverseMercator);
    leave(udpid::meridianOrSouthParallelEdit, "-120.0000");
    choose(&dialog, udpid::projectionList, udpLambertTwoParallels);
    wxTEST_DIALOG(leave(udpid::meridianOrSouthParallelEdit, "95.0000"),
                  ExpectMessage("Invalid Latitude Value: 95.0000", wxOK));
    wxTEST_DIALOG(leave(udpid::longitudeEdit, "-181.0000"),
                  ExpectMessage("Invalid Longitude Value: -181.0000", wxOK));
    wxTEST_DIALOG(leave(udpid::originNorthingEdit, "5e3"),
                  ExpectMessage("Invalid Numeric Value: 5e3", wxOK));
    choose(&dialog, udpid::ellipsoidList, userDefinedEllipsoid);
    wxTEST_DIALOG(leave(udpid::firstValueEdit, "637813x"),
                  ExpectMessage("Invalid Numeric Value: 637813x", wxOK));
    dialog.Hide();
}
