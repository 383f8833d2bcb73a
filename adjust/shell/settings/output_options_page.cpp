#include "shell/settings/output_options_page.hpp"

#include "shell/file_dialogs.hpp"
#include "shell/settings/coordinate_file_types.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace settingsid;
using namespace pagecontrols;

namespace {

const std::vector<std::string> asciiNezFormats = {
    "P,N,E,Z,CD,DESC (fixed columns)", "P,N,E,Z,CD,DESC",
    "P N E Z CD DESC (fixed columns)", "P N E Z CD DESC",
    "P,N,E,Z,DESC (fixed columns)",    "P,N,E,Z,DESC",
    "P N E Z DESC (fixed columns)",    "P N E Z DESC",
    "P,E,N,Z,CD,DESC (fixed columns)", "P,E,N,Z,CD,DESC",
    "P E N Z CD DESC (fixed columns)", "P E N Z CD DESC",
    "P,E,N,Z,DESC (fixed columns)",    "P,E,N,Z,DESC",
    "P E N Z DESC (fixed columns)",    "P E N Z DESC",
    "CSV ASCII NEZ with std. errors"};

void addRow(wxFlexGridSizer* grid, wxWindow* parent, const char* text, wxWindow* control) {
    grid->Add(label(parent, wxID_ANY, text), wxSizerFlags().CentreVertical());
    grid->Add(control);
}

// Wide enough for the null elevation new projects get, -99999999.0.
wxTextCtrl* nullElevationField(wxWindow* parent) {
    wxTextCtrl* field = edit(parent, nullElevationEdit);
    field->SetInitialSize(field->GetSizeFromTextSize(field->GetTextExtent("-99999999.00").x));
    return field;
}

} // namespace

CDisplayPage::CDisplayPage(wxWindow* parent, CSettingsPropSht& sheet)
    : SettingsPage(parent, sheet, outputOptionsPage) {
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* precisionBox = new wxStaticBoxSizer(wxVERTICAL, this, "Display Precision");
    wxWindow* box = precisionBox->GetStaticBox();
    auto* precision = new wxFlexGridSizer(2, wxSize(6, 4));
    addRow(precision, box, "North/East:", choice(box, coordPrecList, digitNames(4)));
    addRow(precision, box, "Elev.:", choice(box, elevPrecList, digitNames(4)));
    addRow(precision, box, "Distances:", choice(box, distPrecList, digitNames(4)));
    addRow(precision, box,
           "Directions:", choice(box, directionPrecList, {"0 sec.", "0.0 sec.", "0.00 sec."}));
    precisionBox->Add(precision, wxSizerFlags().Border(wxALL, 4));
    columns->Add(precisionBox, wxSizerFlags().Border(wxRIGHT, 8));

    auto* formatBox = new wxStaticBoxSizer(wxVERTICAL, this, "Display Format");
    box = formatBox->GetStaticBox();
    auto* format = new wxFlexGridSizer(2, wxSize(6, 4));
    addRow(format, box, "Direction:", choice(box, directionTypeList, {"Bearing", "Azimuth"}));
    addRow(format, box, "Angles:", choice(box, angleTypeList, {"Degrees", "Gradians"}));
    addRow(format, box, "Coordinate:",
           choice(box, coordinateOrderList, {"North,East", "East,North", "X,Y", "Y,X"}));
    addRow(format, box, "Null Elevation:", nullElevationField(box));
    formatBox->Add(format, wxSizerFlags().Border(wxALL, 4));
    columns->Add(formatBox);

    auto* fileBox = new wxStaticBoxSizer(wxVERTICAL, this, "Coordinate File");
    box = fileBox->GetStaticBox();
    fileBox->Add(check(box, writeCoordinateFileCheck, "Write to coordinate file"),
                 wxSizerFlags().Border(wxALL, 4));
    auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
    fileRow->Add(label(box, wxID_ANY, "File:"), wxSizerFlags().CentreVertical());
    fileRow->Add(edit(box, coordinateFileEdit, 360), wxSizerFlags().Border(wxLEFT, 6));
    fileRow->Add(button(box, coordinateFileSelectButton, "Select"),
                 wxSizerFlags().Border(wxLEFT, 6));
    fileBox->Add(fileRow, wxSizerFlags().Border(wxALL, 4));
    auto* output = new wxFlexGridSizer(2, wxSize(6, 4));
    addRow(output, box, "N/E Precision:", choice(box, neOutPrecList, digitNames(8)));
    addRow(output, box, "Elevation Precision:", choice(box, zOutPrecList, digitNames(8)));
    addRow(output, box, "ASCII NEZ Format:", choice(box, asciiNezFormatList, asciiNezFormats, 280));
    fileBox->Add(output, wxSizerFlags().Border(wxALL, 4));

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(columns, wxSizerFlags().Border(wxALL, 6));
    column->Add(fileBox, wxSizerFlags().Border(wxALL, 6));
    SetSizer(column);

    // The file is chosen through Select only.
    FindWindow(coordinateFileEdit)->Disable();
    markModifiedOnChange({coordPrecList, elevPrecList, distPrecList, directionPrecList,
                          directionTypeList, coordinateOrderList, nullElevationEdit,
                          coordinateFileEdit, neOutPrecList, zOutPrecList, asciiNezFormatList});
    FindWindow(writeCoordinateFileCheck)->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
        enable({coordinateFileSelectButton}, event.IsChecked());
        markModified();
    });
    FindWindow(angleTypeList)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onAngleTypeChange(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectCoordinateFile(); },
        coordinateFileSelectButton);
}

void CDisplayPage::fillOwnControls() {
    control<wxChoice>(angleTypeList)->SetSelection(values().angleType == 1 ? 1 : 0);
    enable({coordinateFileSelectButton}, values().wrtToCrd == 1);
}

// Every page that shows angles follows the new unit; what they show is
// converted, so that a value keeps its size.
void CDisplayPage::onAngleTypeChange() {
    const int angleType = control<wxChoice>(angleTypeList)->GetSelection();
    if (angleType != wxNOT_FOUND && angleType != values().angleType)
        sheet().angleUnitChanged(angleType);
    markModified();
}

void CDisplayPage::selectCoordinateFile() {
    globalVars& v = values();
    FileDialogRequest request;
    request.newNameAllowed = true;
    request.filter = coordinateFileFilter(v.useVkTool);
    request.extension = coordinateFileExtension(v.crdFileType);
    request.filterEntry = coordinateFilterEntry(v.crdFileType, v.useVkTool);
    request.initialName = control<wxTextCtrl>(coordinateFileEdit)->GetValue().utf8_string();
    const auto chosen = chooseFileAndFilter(this, request);
    markModified();
    if (!chosen)
        return;
    control<wxTextCtrl>(coordinateFileEdit)->ChangeValue(wxString::FromUTF8(chosen->path));
    if (const int type = coordinateFileTypeOfEntry(chosen->filterEntry, v.useVkTool))
        v.crdFileType = type;
}
