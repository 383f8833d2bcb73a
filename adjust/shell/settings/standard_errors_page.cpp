#include "shell/settings/standard_errors_page.hpp"

#include "model/packed_degrees.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/settings/std_err_fields.hpp"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace settingsid;

namespace {

constexpr const char* sefFilter = "Standard Error Files (*.sef) | *.sef| All Files (*.*)|*.*||";

// The fields in the groups they are shown in: indexes into stdErrFields().
struct FieldGroup {
    int id;
    const char* caption;
    std::vector<std::size_t> fields;
};
const std::vector<FieldGroup> fieldGroups = {
    {wxID_ANY, "Distance", {0, 1}},
    {angleErrorGroup, "Angle Standard Error (Secs.)", {2, 3, 4, 5}},
    {wxID_ANY, "Total Station Centering", {6, 7, 8, 9}},
    {wxID_ANY, "Control", {10, 11, 12, 13}},
    {wxID_ANY, "Differential Leveling", {14, 15, 16}},
    {wxID_ANY, "GPS", {17, 18}},
};

// The labels with their own ids, whose texts follow the angle unit.
int labelIdOf(std::size_t field) {
    if (stdErrFields()[field].control == 1028)
        return directionLabel;
    if (stdErrFields()[field].control == 1156)
        return collimationLabel;
    return wxID_ANY;
}

// Edits checked when the user leaves them.
constexpr int checkedOnLeaving[] = {1032, 1026, 1027, 1009, 1036, 1035, 1156,
                                    1028, 1030, 1031, 1029, 1154, 1155};

} // namespace

wxSizer* layOutStdErrFields(wxWindow* parent, wxSizer* extra) {
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    for (std::size_t g = 0; g < fieldGroups.size(); ++g) {
        const FieldGroup& group = fieldGroups[g];
        auto* box = new wxStaticBox(parent, group.id, group.caption);
        auto* sizer = new wxStaticBoxSizer(box, wxVERTICAL);
        auto* grid = new wxFlexGridSizer(2, wxSize(6, 3));
        grid->AddGrowableCol(0);
        for (std::size_t field : group.fields) {
            const StdErrField& f = stdErrFields()[field];
            grid->Add(new wxStaticText(box, labelIdOf(field), f.label),
                      wxSizerFlags().CentreVertical());
            grid->Add(new wxTextCtrl(box, f.control, "", wxDefaultPosition, wxSize(90, -1)));
        }
        sizer->Add(grid, wxSizerFlags().Expand().Border(wxALL, 3));
        (g < 3 ? left : right)->Add(sizer, wxSizerFlags().Expand().Border(wxBOTTOM, 6));
    }
    if (extra != nullptr)
        right->Add(extra, wxSizerFlags().Expand());
    columns->Add(left, wxSizerFlags().Border(wxRIGHT, 8));
    columns->Add(right);
    return columns;
}

void checkStdErrFieldsOnLeaving(wxWindow* parent) {
    for (int id : checkedOnLeaving) {
        auto* edit = dynamic_cast<wxTextCtrl*>(parent->FindWindow(id));
        edit->Bind(wxEVT_KILL_FOCUS, [parent, edit](wxFocusEvent& event) {
            event.Skip();
            const std::string text = edit->GetValue().utf8_string();
            if (hasNonNumericChar(text))
                parent->CallAfter([parent, edit, text] {
                    settingsMessage(parent, "Invalid Numeric Entry: " + text);
                    edit->SetFocus();
                });
        });
    }
}

CStdErrPage::CStdErrPage(wxWindow* parent, CSettingsPropSht& sheet)
    : SettingsPage(parent, sheet, standardErrorsPage) {
    auto* fileBox = new wxStaticBoxSizer(wxHORIZONTAL, this, "Std. Err. Definition File");
    fileBox->Add(pagecontrols::button(fileBox->GetStaticBox(), sefLoadButton, "Load "),
                 wxSizerFlags().Border(wxALL, 4));
    fileBox->Add(pagecontrols::button(fileBox->GetStaticBox(), sefSaveAsButton, "Save As.."),
                 wxSizerFlags().Border(wxALL, 4));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(layOutStdErrFields(this, fileBox), wxSizerFlags().Border(wxALL, 6));
    SetSizer(column);
    checkStdErrFieldsOnLeaving(this);
    for (const StdErrField& field : stdErrFields())
        if (field.control != 1039 && field.control != 1040)
            markModifiedOnChange({field.control});
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { loadSefFile(); }, sefLoadButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { saveSefFile(); }, sefSaveAsButton);
}

void CStdErrPage::showLabels() {
    const bool grads = values().angleType == 1;
    FindWindow(angleErrorGroup)
        ->SetLabel(grads ? "Angle Standard Error (Grads)" : "Angle Standard Error (Secs.)");
    FindWindow(directionLabel)->SetLabel(grads ? "Direction (Grads):" : "Direction (Secs.):");
    FindWindow(collimationLabel)
        ->SetLabel(grads ? "Collimation Error (grads.):" : "Collimation Error (sec.):");
    relayout();
}

void CStdErrPage::loadSefFile() {
    FileDialogRequest request;
    request.filter = sefFilter;
    request.extension = "SEF";
    request.initialName = "*.SEF";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    stdErrRec record;
    if (record.load(*path) != stdErrRec::ok)
        return;
    stdErrsFromRecord(record, values().angleType, values());
    fillControls();
    markModified();
}

void CStdErrPage::saveSefFile() {
    FileDialogRequest request;
    request.save = true;
    request.filter = sefFilter;
    request.extension = "SEF";
    const auto path = chooseFile(this, request);
    if (!path || !validateControls())
        return;
    readControls();
    stdErrRec record;
    stdErrsToRecord(values(), values().angleType, record);
    record.path = *path;
    if (record.writeFile() != stdErrRec::ok)
        settingsMessage(this, "Error writing to: " + *path);
}
