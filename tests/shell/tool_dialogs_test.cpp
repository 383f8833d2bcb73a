// The small tools of the main window: the inverse, the latitude/longitude
// conversion of the user-defined system dialog, and the two converter
// dialogs driven with a recording stand-in for the converters.

#include "gui_test_support.hpp"
#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/program_lists.hpp"
#include "model/user_projection.hpp"
#include "platform/c_locale_text.hpp"
#include "shell/command_ids.hpp"
#include "shell/settings/udp_dialog.hpp"
#include "shell/tools/file_converters.hpp"
#include "shell/tools/gps_convert_dialog.hpp"
#include "shell/tools/inverse_dialog.hpp"
#include "shell/tools/lat_long_grid_dialog.hpp"
#include "shell/tools/level_convert_dialog.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

using guitest::ExpectMessage;
using guitest::OnDialog;
using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

template <class Control> Control* find(wxWindow* parent, int id) {
    auto* control = dynamic_cast<Control*>(parent->FindWindow(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

void typeInto(wxWindow* parent, int id, const std::string& text) {
    find<wxTextCtrl>(parent, id)->SetValue(wxString::FromUTF8(text));
}

std::string textOf(wxWindow* parent, int id) {
    return find<wxTextCtrl>(parent, id)->GetValue().utf8_string();
}

void tick(wxWindow* parent, int id, bool checked) {
    auto* box = find<wxCheckBox>(parent, id);
    box->SetValue(checked);
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(checked ? 1 : 0);
    box->ProcessWindowEvent(event);
}

void choose(wxWindow* parent, int id, int index) {
    auto* list = find<wxChoice>(parent, id);
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(list);
    event.SetInt(index);
    list->ProcessWindowEvent(event);
}

void press(wxWindow* parent, int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(parent->FindWindow(id));
    parent->FindWindow(id)->ProcessWindowEvent(click);
}

coordRec point(const char* name, double n, double e, double sn, double se) {
    coordRec p;
    setPointName(p.name, name);
    p.northing = n;
    p.easting = e;
    p.stdErrN = sn;
    p.stdErrE = se;
    return p;
}

class ToolDialogs : public ShellTest {
protected:
    ToolDialogs() {
        allPointList2D.clear();
        allStationList.clear();
    }
    ~ToolDialogs() override {
        allPointList2D.clear();
        allStationList.clear();
    }
};

// A converter that records its calls and answers as told.
class RecordingConverters : public FileConverters {
public:
    struct Call {
        std::string what;
        int format;
        std::string input, output;
        int stripZeros = 0, points = 0;
    };
    int convertVectors(int format, const std::string& in, const std::string& out, int strip,
                       int points, std::string& message) override {
        calls.push_back({"vectors", format, in, out, strip, points});
        message = vectorMessage;
        return vectorResult;
    }
    int convertTotalStation(int rawFormat, const std::string& in, const std::string& out,
                            std::string& message) override {
        calls.push_back({"total station", rawFormat, in, out});
        message = "";
        return totalStationResult;
    }
    int convertLevel(int format, const std::string& in, const std::string& out,
                     std::string&) override {
        calls.push_back({"level", format, in, out});
        return levelResult;
    }
    std::vector<Call> calls;
    int vectorResult = 0, totalStationResult = 0, levelResult = 0;
    std::string vectorMessage;
};

} // namespace

TEST_F(ToolDialogs, InverseNeedsARunThenComputesAndAppends) {
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(command(frame, shellid::inverse),
                  ExpectMessage("Project must be processed to completion before\n"
                                "the inverse function can be used.",
                                wxOK));
    EXPECT_EQ(frame.inverseDialog(), nullptr);

    allPointList2D.append(point("A", 1000, 2000, 0.010, 0.020));
    allPointList2D.append(point("B", 1300, 2400, 0.015, 0.005));
    allPointList2D.append(point("C", 1300, 2000, -1.0, -1.0));
    command(frame, shellid::inverseButton);
    wxDialog* shown = frame.inverseDialog();
    ASSERT_NE(shown, nullptr);
    command(frame, shellid::inverse);
    EXPECT_EQ(frame.inverseDialog(), shown) << "a second command only brings it forward";
    guitest::waitForFirstPaint(shown);
    shown->Destroy();
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame.inverseDialog(), nullptr) << "the frame forgets a closed dialog";

    // The line goes to the report file (when there is one) and the window.
    projectVars.projectFileName = file("site.prj").string();
    testsupport::writeBytes(file("site.RPT"), "earlier\r\n");
    RecordingShell shell;
    auto* dialog = new CInverse(&frame, shell);
    dialog->Show();
    guitest::waitForFirstPaint(dialog);
    tick(dialog, inverseid::traverseModeCheck, true);
    auto* from = find<wxTextCtrl>(dialog, inverseid::fromEdit);
    auto* to = find<wxTextCtrl>(dialog, inverseid::toEdit);
    from->SetFocus();
    guitest::yieldUntil([from] { return wxWindow::FindFocus() == from; });
    ASSERT_EQ(wxWindow::FindFocus(), from);
    typeInto(dialog, inverseid::fromEdit, "a");
    dialog->OnOK();
    EXPECT_EQ(wxWindow::FindFocus(), to) << "Enter in From only moves on to To";
    EXPECT_TRUE(shell.appended.empty());
    typeInto(dialog, inverseid::fromEdit, "a");
    typeInto(dialog, inverseid::toEdit, "NONE");
    wxTEST_DIALOG(dialog->OnOK(), ExpectMessage("Pt. NONE does not exist.", wxOK));
    EXPECT_EQ(textOf(dialog, inverseid::toEdit), "NONE") << "the fields stay as they are";
    typeInto(dialog, inverseid::toEdit, "b");
    dialog->OnOK();
    // 500.000 at N 53-07'48.4" E, s = 7.8" and 0.0197 (tests/reports/inverse_line_test.cpp).
    const std::string direction = directionToText(std::atan2(400.0, 300.0));
    const std::string line = " Inverse: a -> b  " + direction + " " + formatDistance(500.0) +
                             ",  st.Err.: Az.   7.8\", Dist. " + formatDistanceShort(0.019723);
    EXPECT_EQ(shell.appended, std::vector<std::string>{line});
    EXPECT_EQ(testsupport::readBytes(file("site.RPT")), "earlier\r\n" + line + "\r\n");
    EXPECT_EQ(find<wxStaticText>(dialog, inverseid::resultStatic)->GetLabel().utf8_string(),
              " Inverse: a -> b  " + direction + " " + formatDistance(500.0) + ",");
    EXPECT_EQ(find<wxStaticText>(dialog, inverseid::stdErrStatic)->GetLabel().utf8_string(),
              "   St.Err.: Az.   7.8\", Dist. " + formatDistanceShort(0.019723));
    // Traverse mode: B goes on as the From point, the focus stays in To.
    EXPECT_EQ(textOf(dialog, inverseid::fromEdit), "b");
    EXPECT_EQ(textOf(dialog, inverseid::toEdit), "");
    EXPECT_EQ(wxWindow::FindFocus(), to);
    EXPECT_TRUE(guitest::saveScreenshot(dialog, screenshots / "inverse_dialog.png"));
    typeInto(dialog, inverseid::toEdit, "C");
    dialog->OnOK();
    EXPECT_EQ(shell.appended.size(), 2u);
    EXPECT_EQ(textOf(dialog, inverseid::fromEdit), "C");
    dialog->Destroy();
    wxTheApp->ProcessIdle();
}

// With the run's report window open, Calculate (Enter) appends the line to
// the window and leaves the keyboard with the Inverse window, the From name
// selected for the next entry: rebuilding the report's section tabs took
// the X focus over to the main window, so the next name typed went there.
TEST_F(ToolDialogs, TheInverseKeepsTheKeyboardWhileTheReportTakesItsLine) {
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    command(frame, shellid::inverse);
    auto* dialog = dynamic_cast<CInverse*>(frame.inverseDialog());
    ASSERT_NE(dialog, nullptr);
    guitest::waitForFirstPaint(dialog);
    dialog->Raise(); // without a window manager nothing gives a new window the keyboard
    guitest::yieldUntil([] { return guitest::titleWithTheKeyboardFocus() == "Inverse"; });
    ASSERT_EQ(guitest::titleWithTheKeyboardFocus(), "Inverse");
    auto* from = find<wxTextCtrl>(dialog, inverseid::fromEdit);
    auto* to = find<wxTextCtrl>(dialog, inverseid::toEdit);
    typeInto(dialog, inverseid::fromEdit, "A");
    typeInto(dialog, inverseid::toEdit, "B");
    to->SetFocus();
    guitest::yieldUntil([to] { return wxWindow::FindFocus() == to; });
    const int lines = report->text().lineCount();
    wxUIActionSimulator keys;
    keys.Char(WXK_RETURN);
    guitest::yieldUntil([&] { return report->text().lineCount() > lines; });
    ASSERT_EQ(report->text().lineCount(), lines + 1);
    EXPECT_EQ(report->text().line(lines).rfind(" Inverse: A -> B ", 0), 0u)
        << report->text().line(lines);
    guitest::settle();
    EXPECT_EQ(guitest::titleWithTheKeyboardFocus(), "Inverse");
    EXPECT_EQ(wxWindow::FindFocus(), from);
    long first = 0;
    long last = 0;
    from->GetSelection(&first, &last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 1) << "the From name is selected";
    EXPECT_TRUE(guitest::saveScreenshot(dialog, screenshots / "inverse_after_calculate.png"));
    dialog->Destroy();
    wxTheApp->ProcessIdle();
}

// Test refuses to compute while a field the system needs is empty or not a
// number, naming the field: the central meridian left blank gave N 8402928,
// E -4836006 without a word.
TEST_F(ToolDialogs, TheUserDefinedSystemTestNamesAMissingField) {
    CMainFrame& frame = openMainWindow();
    struct Case {
        int field;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {udpid::meridianOrSouthParallelEdit, "", "Central Meridian (dd.mmss)(E+,W-) is empty."},
        {udpid::scaleOrNorthParallelEdit, " ", "Scale Factor is empty."},
        {udpid::originNorthingEdit, "", "Grid Origin N. is empty."},
        {udpid::latitudeEdit, "", "Grid Origin Latitude (dd.mmss)(N+,S-) is empty."},
        {udpid::originEastingEdit, "5OOOOO", "Grid Origin E.: Invalid Numeric Value: 5OOOOO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CUDPDlg udp(&frame);
        choose(&udp, udpid::projectionList, udpTransverseMercator);
        typeInto(&udp, udpid::originNorthingEdit, "0");
        typeInto(&udp, udpid::originEastingEdit, "500000");
        typeInto(&udp, udpid::latitudeEdit, "0.0000");
        typeInto(&udp, udpid::meridianOrSouthParallelEdit, "19.0000");
        typeInto(&udp, udpid::scaleOrNorthParallelEdit, "0.9996");
        typeInto(&udp, c.field, c.typed);
        // Only the message: no conversion dialog follows it.
        wxTEST_DIALOG(udp.testConversion(), ExpectMessage(c.message, wxOK));
    }
    // A user-defined ellipsoid needs both of its parameters.
    CUDPDlg udp(&frame);
    choose(&udp, udpid::ellipsoidList, userDefinedEllipsoid);
    typeInto(&udp, udpid::firstValueEdit, "6378137");
    typeInto(&udp, udpid::secondValueEdit, "");
    wxTEST_DIALOG(udp.testConversion(), ExpectMessage("Semiminor axis, b is empty.", wxOK));
}

// The Test button of the user-defined system dialog converts on the
// dialog's own record; each conversion adds five lines and the list keeps
// its last twelve in view.
TEST_F(ToolDialogs, LatLongToGridConvertsOnTheEditedSystem) {
    CMainFrame& frame = openMainWindow();
    CUDPDlg udp(&frame);
    choose(&udp, udpid::projectionList, udpTransverseMercator);
    typeInto(&udp, udpid::originNorthingEdit, "10000000");
    typeInto(&udp, udpid::originEastingEdit, "500000");
    typeInto(&udp, udpid::latitudeEdit, "0.0000");
    typeInto(&udp, udpid::longitudeEdit, "19.0000");
    typeInto(&udp, udpid::meridianOrSouthParallelEdit, "19.0000");
    typeInto(&udp, udpid::scaleOrNorthParallelEdit, "0.9996");
    std::vector<std::string> listed;
    const auto enter = [](wxDialog& d, const char* lat, const char* lon) {
        typeInto(&d, latlongid::latitudeEdit, lat);
        typeInto(&d, latlongid::longitudeEdit, lon);
        press(&d, latlongid::calculateButton);
    };
    wxTEST_DIALOG(udp.testConversion(), OnDialog<cllTOGRIDDlg>([&](cllTOGRIDDlg& d) {
                      enter(d, "90.0001", "10.0000");
                      enter(d, "45.0000", "10.6000");
                      auto* list = find<wxListBox>(&d, latlongid::resultsList);
                      EXPECT_EQ(list->GetCount(), 0u);
                      for (int i = 0; i < 3; ++i)
                          enter(d, "-33.5230", "18.2815");
                      d.Show();
                      guitest::waitForFirstPaint(&d);
                      enter(d, "-33.5230", "18.2815");
                      guitest::waitForFirstPaint(&d);
                      EXPECT_EQ(list->GetCount(), 20u);
                      // The last twelve lines, and at least the last one, in view.
                      const int top = list->GetTopItem();
                      EXPECT_LE(top, 8);
                      EXPECT_GE(top + list->GetCountPerPage(), 20);
                      for (unsigned i = 0; i < 5; ++i)
                          listed.push_back(list->GetString(i).utf8_string());
                      EXPECT_TRUE(
                          guitest::saveScreenshot(&d, screenshots / "lat_long_to_grid.png"));
                      return wxID_CANCEL;
                  }),
                  ExpectMessage("Invalid latitude entry: 90.0001", wxOK),
                  ExpectMessage("Invalid longitude entry: 10.6000", wxOK));
    const udpRec& shown = udp.record();
    ASSERT_EQ(listed.size(), 5u);
    const double lat = -(33 + 52 / 60.0 + 30 / 3600.0) * M_PI / 180.0;
    const double lon = (18 + 28 / 60.0 + 15 / 3600.0) * M_PI / 180.0;
    EXPECT_EQ(listed[0], "Latitude: " + latToText(lat));
    EXPECT_EQ(listed[1], "Longitude: " + lonToText(lon));
    // The projection functions themselves, with the longitude west-positive
    // as the transverse Mercator takes it.
    EXPECT_DOUBLE_EQ(shown.projection_scale, 0.9996);
    geodCoord p{};
    p.lat = lat;
    p.lon = -lon;
    udpGeodToGrid(shown, p);
    // South of the equator, west of the central meridian.
    EXPECT_LT(p.northing, 10000000.0);
    EXPECT_LT(p.easting, 500000.0);
    EXPECT_EQ(listed[2], "Northing: " + formatCoordinate(p.northing));
    EXPECT_EQ(listed[3], "Easting: " + formatCoordinate(p.easting));
    EXPECT_EQ(listed[4], "");
}

TEST_F(ToolDialogs, GpsConverterShowsTheRowsOfEachFormat) {
    CMainFrame& frame = openMainWindow();
    RecordingConverters converters;
    cnvrtGPSFl dialog(&frame, converters);
    const auto shown = [&dialog](int id) { return dialog.FindWindow(id)->IsShown(); };
    EXPECT_TRUE(shown(gpsconvertid::stripZerosCheck));
    EXPECT_FALSE(shown(gpsconvertid::importPointsCheck));
    EXPECT_TRUE(shown(gpsconvertid::gpsEdit));
    EXPECT_FALSE(shown(gpsconvertid::rawEdit));
    choose(&dialog, gpsconvertid::formatList, 1);
    EXPECT_TRUE(shown(gpsconvertid::importPointsCheck));
    EXPECT_FALSE(shown(gpsconvertid::stripZerosCheck));
    choose(&dialog, gpsconvertid::formatList, 10);
    EXPECT_TRUE(shown(gpsconvertid::stripZerosCheck));
    choose(&dialog, gpsconvertid::formatList, gpsconvertid::dataExchangeFormat);
    EXPECT_TRUE(shown(gpsconvertid::importVectorsCheck));
    EXPECT_TRUE(shown(gpsconvertid::importTotalStationCheck));
    EXPECT_FALSE(shown(gpsconvertid::rawEdit));
    tick(&dialog, gpsconvertid::importTotalStationCheck, true);
    EXPECT_TRUE(shown(gpsconvertid::rawEdit));
    EXPECT_TRUE(shown(gpsconvertid::rawFormatList));
    tick(&dialog, gpsconvertid::importVectorsCheck, false);
    EXPECT_FALSE(shown(gpsconvertid::gpsEdit));
    dialog.Show();
    guitest::waitForFirstPaint(&dialog);
    EXPECT_TRUE(guitest::saveScreenshot(&dialog, screenshots / "convert_gps_dialog.png"));
}

// The input file dialogs offer any file: each description has its pattern.
TEST_F(ToolDialogs, ConverterFileFiltersPairDescriptionsWithPatterns) {
    CMainFrame& frame = openMainWindow();
    RecordingConverters converters;
    const auto expectAnyFile = [](wxFileDialog& chooser) {
        const wxArrayString pieces = wxSplit(chooser.GetWildcard(), '|');
        EXPECT_EQ(pieces.size(), 4u) << chooser.GetWildcard();
        for (std::size_t i = 1; i < pieces.size(); i += 2)
            EXPECT_EQ(pieces[i], "*") << chooser.GetWildcard();
        return wxID_CANCEL;
    };
    cnvrtGPSFl gpsDialog(&frame, converters);
    wxTEST_DIALOG(press(&gpsDialog, gpsconvertid::inputSelect),
                  OnDialog<wxFileDialog>(expectAnyFile));
    cnvrtLev levelDialog(&frame, converters);
    wxTEST_DIALOG(press(&levelDialog, levelconvertid::inputSelect),
                  OnDialog<wxFileDialog>(expectAnyFile));
}

TEST_F(ToolDialogs, GpsConverterChecksCallsAndReports) {
    CMainFrame& frame = openMainWindow();
    const std::string input = file("job.asc").string();
    testsupport::writeBytes(input, "data\r\n");
    const std::string gps = file("job.gps").string();
    const std::string raw = file("job.rw5").string();
    {
        RecordingConverters converters;
        cnvrtGPSFl dialog(&frame, converters);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("No input vector file has been specified.", wxOK));
        typeInto(&dialog, gpsconvertid::inputEdit, file("none.obn").string());
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("Error opening " + file("none.obn").string() +
                                        ": No such file or directory",
                                    wxOK));
        typeInto(&dialog, gpsconvertid::inputEdit, input);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("No output vector file has been specified.", wxOK));
        EXPECT_TRUE(converters.calls.empty());
        // Format 0 with the Thales option.
        typeInto(&dialog, gpsconvertid::gpsEdit, gps);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage(input + " successfully converted to\n" + gps, wxOK));
        ASSERT_EQ(converters.calls.size(), 1u);
        EXPECT_EQ(converters.calls[0].what, "vectors");
        EXPECT_EQ(converters.calls[0].format, 0);
        EXPECT_EQ(converters.calls[0].output, gps);
        EXPECT_EQ(converters.calls[0].stripZeros, 1);
        // A failure is one box, with the converter's own reason under it.
        converters.vectorResult = 1;
        converters.vectorMessage = "Error opening " + gps;
        choose(&dialog, gpsconvertid::formatList, 7);
        wxTEST_DIALOG(dialog.OnConvert(), ExpectMessage("Error converting " + input + " to\n" +
                                                            gps + "\n\nError opening " + gps,
                                                        wxOK));
        EXPECT_EQ(converters.calls.back().format, 7);
    }
    {
        // The data-exchange export: both outputs named in one message.
        RecordingConverters converters;
        cnvrtGPSFl dialog(&frame, converters);
        choose(&dialog, gpsconvertid::formatList, gpsconvertid::dataExchangeFormat);
        tick(&dialog, gpsconvertid::importTotalStationCheck, true);
        typeInto(&dialog, gpsconvertid::inputEdit, input);
        typeInto(&dialog, gpsconvertid::gpsEdit, gps);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("No output total station file has been specified.", wxOK));
        typeInto(&dialog, gpsconvertid::rawEdit, raw);
        choose(&dialog, gpsconvertid::rawFormatList, 1);
        wxTEST_DIALOG(
            dialog.OnConvert(),
            ExpectMessage(input + " successfully converted to\n" + gps + "\nand " + raw, wxOK));
        ASSERT_EQ(converters.calls.size(), 2u);
        EXPECT_EQ(converters.calls[1].what, "total station");
        EXPECT_EQ(converters.calls[1].format, 1);
        EXPECT_EQ(converters.calls[1].output, raw);
        // A failed .GPS conversion is a failure even when the raw file was written.
        converters.vectorResult = 1;
        wxTEST_DIALOG(
            dialog.OnConvert(),
            ExpectMessage("Error converting " + input + " to\n" + gps + "\nand " + raw, wxOK));
        // Only the total-station data: no .GPS name needed.
        tick(&dialog, gpsconvertid::importVectorsCheck, false);
        typeInto(&dialog, gpsconvertid::gpsEdit, "");
        converters.calls.clear();
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage(input + " successfully converted to\n" + raw, wxOK));
        ASSERT_EQ(converters.calls.size(), 1u);
        EXPECT_EQ(converters.calls[0].what, "total station");
    }
    {
        // "Import Vectors" left unchecked counts only for the export: other
        // formats still convert their vectors.
        RecordingConverters converters;
        cnvrtGPSFl dialog(&frame, converters);
        tick(&dialog, gpsconvertid::importVectorsCheck, false);
        choose(&dialog, gpsconvertid::formatList, 2);
        typeInto(&dialog, gpsconvertid::inputEdit, input);
        typeInto(&dialog, gpsconvertid::gpsEdit, gps);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage(input + " successfully converted to\n" + gps, wxOK));
        ASSERT_EQ(converters.calls.size(), 1u);
        EXPECT_EQ(converters.calls[0].output, gps);
    }
}

// The baseline text format with the library's converters: Import Points
// puts the base point BASE1 of the fixture into the .GPS file as one C line
// (it starts two vectors); unticked, the file holds the vectors alone.
TEST_F(ToolDialogs, GpsConverterImportsTheBasePointsOfABaselineFile) {
    CMainFrame& frame = openMainWindow();
    const std::string input =
        (fs::path(TARNWELL_FIXTURES) / "input/converters/baselines.txt").string();
    const std::string gps = file("baselines.gps").string();
    cnvrtGPSFl dialog(&frame, libraryConverters());
    choose(&dialog, gpsconvertid::formatList, 1);
    typeInto(&dialog, gpsconvertid::inputEdit, input);
    typeInto(&dialog, gpsconvertid::gpsEdit, gps);
    for (bool points : {true, false}) {
        SCOPED_TRACE(points);
        tick(&dialog, gpsconvertid::importPointsCheck, points);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage(input + " successfully converted to\n" + gps, wxOK));
        const std::string text = testsupport::readBytes(gps);
        const std::size_t first = text.find("\nC BASE1 ");
        EXPECT_EQ(first != std::string::npos, points) << text;
        if (first != std::string::npos) {
            EXPECT_EQ(text.find("\nC ", first + 1), std::string::npos) << text;
        }
        EXPECT_NE(text.find("ROV2"), std::string::npos);
    }
}

TEST_F(ToolDialogs, LevelConverter) {
    CMainFrame& frame = openMainWindow();
    RecordingConverters converters;
    cnvrtLev dialog(&frame, converters);
    const std::string input = file("run.dat").string();
    const std::string output = file("run.lev").string();
    typeInto(&dialog, levelconvertid::inputEdit, input);
    typeInto(&dialog, levelconvertid::outputEdit, output);
    wxTEST_DIALOG(dialog.OnConvert(),
                  ExpectMessage("Error opening " + input + ": No such file or directory", wxOK));
    EXPECT_TRUE(converters.calls.empty());
    testsupport::writeBytes(input, "data\r\n");
    choose(&dialog, levelconvertid::formatList, 1);
    wxTEST_DIALOG(dialog.OnConvert(),
                  ExpectMessage(input + " successfully converted to " + output, wxOK));
    ASSERT_EQ(converters.calls.size(), 1u);
    EXPECT_EQ(converters.calls[0].format, 1);
    converters.levelResult = 1;
    wxTEST_DIALOG(dialog.OnConvert(),
                  ExpectMessage("Error converting " + input + " to " + output, wxOK));
    dialog.Show();
    guitest::waitForFirstPaint(&dialog);
    EXPECT_TRUE(guitest::saveScreenshot(&dialog, screenshots / "convert_level_dialog.png"));
}

// The library's converters on files they cannot convert: a total-station
// .VKR taken for a level file was "successfully converted" into an empty
// .LEV. Each failure is one box that names the input and the cause, and a
// file already at the output stays as it was.
TEST_F(ToolDialogs, ConvertersRefuseFilesWithoutRecords) {
    CMainFrame& frame = openMainWindow();
    const std::string vkr =
        (fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site" / "site.vkr").string();
    const std::string blank = file("blank.txt").string();
    testsupport::writeBytes(blank, "\r\n  \r\n");
    const std::string folder = file("a folder").string();
    fs::create_directories(folder);
    const std::string previous = "kept\r\n";
    {
        const std::string output = file("run.lev").string();
        cnvrtLev dialog(&frame, libraryConverters());
        typeInto(&dialog, levelconvertid::outputEdit, output);
        for (const std::string& input : {vkr, blank})
            for (int format : {0, 1}) {
                SCOPED_TRACE(input + " as format " + std::to_string(format));
                testsupport::writeBytes(output, previous);
                typeInto(&dialog, levelconvertid::inputEdit, input);
                choose(&dialog, levelconvertid::formatList, format);
                std::string said;
                wxTEST_DIALOG(dialog.OnConvert(),
                              guitest::OnDialog<wxMessageDialog>([&](wxMessageDialog& box) {
                                  said = box.GetMessage().utf8_string();
                                  return wxID_OK;
                              }));
                EXPECT_EQ(said.rfind("Error converting " + input + " to " + output + "\n\n", 0), 0u)
                    << said;
                EXPECT_EQ(testsupport::readBytes(output), previous);
            }
        // Only the blank file is known to hold no record in either format.
        testsupport::writeBytes(output, previous);
        typeInto(&dialog, levelconvertid::inputEdit, blank);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("Error converting " + blank + " to " + output + "\n\nNo " +
                                        "level records were found in " + blank +
                                        ": nothing was written.",
                                    wxOK));
        typeInto(&dialog, levelconvertid::inputEdit, folder);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("Error opening " + folder + ": Is a directory", wxOK));
    }
    {
        const std::string gps = file("job.gps").string();
        const std::string raw = file("job.rw5").string();
        cnvrtGPSFl dialog(&frame, libraryConverters());
        typeInto(&dialog, gpsconvertid::inputEdit, blank);
        typeInto(&dialog, gpsconvertid::gpsEdit, gps);
        typeInto(&dialog, gpsconvertid::rawEdit, raw);
        for (int format = 0; format <= 10; ++format) {
            SCOPED_TRACE(format);
            testsupport::writeBytes(gps, previous);
            testsupport::writeBytes(raw, previous);
            choose(&dialog, gpsconvertid::formatList, format);
            if (format == gpsconvertid::dataExchangeFormat)
                tick(&dialog, gpsconvertid::importTotalStationCheck, true);
            std::string said;
            wxTEST_DIALOG(dialog.OnConvert(),
                          guitest::OnDialog<wxMessageDialog>([&](wxMessageDialog& box) {
                              said = box.GetMessage().utf8_string();
                              return wxID_OK;
                          }));
            EXPECT_EQ(said.rfind("Error converting " + blank + " to\n" + gps, 0), 0u) << said;
            EXPECT_NE(said.find("\n\n"), std::string::npos) << "no cause in: " << said;
            EXPECT_EQ(testsupport::readBytes(gps), previous);
            EXPECT_EQ(testsupport::readBytes(raw), previous);
        }
        for (const auto& entry : fs::directory_iterator(fs::path(gps).parent_path()))
            EXPECT_EQ(entry.path().filename().string().rfind("job.gps.", 0), std::string::npos)
                << "a scratch file left behind: " << entry.path();
        // The export's total-station part alone: no observations, no .RW5.
        choose(&dialog, gpsconvertid::formatList, gpsconvertid::dataExchangeFormat);
        tick(&dialog, gpsconvertid::importVectorsCheck, false);
        wxTEST_DIALOG(dialog.OnConvert(),
                      ExpectMessage("Error converting " + blank + " to\n" + raw +
                                        "\n\nNo total-station observations were found in " + blank +
                                        ": nothing was written.",
                                    wxOK));
        EXPECT_EQ(testsupport::readBytes(raw), previous);
    }
}

// Every Tools command opens its window.
TEST_F(ToolDialogs, ToolsCommandsOpenTheirDialogs) {
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(command(frame, shellid::convertGpsFiles),
                  OnDialog<cnvrtGPSFl>([](cnvrtGPSFl&) { return wxID_CANCEL; }));
    wxTEST_DIALOG(command(frame, shellid::convertLevelFiles),
                  OnDialog<cnvrtLev>([](cnvrtLev&) { return wxID_CANCEL; }));
}
