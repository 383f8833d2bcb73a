#include "shell/settings/preprocessing_page.hpp"

#include "model/settings/settings_units.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/tools/closure_editor.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace settingsid;
using namespace pagecontrols;

namespace {

constexpr int substitutionLength = 4;

} // namespace

CPreprocessingPage::CPreprocessingPage(wxWindow* parent, CSettingsPropSht& sheet)
    : SettingsPage(parent, sheet, preprocessingPage) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    const auto flags = wxSizerFlags().Border(wxALL, 6);
    column->Add(check(this, curvatureRefractionCheck, "Apply Curvature && Refraction Correction"),
                flags);
    auto* closures = new wxBoxSizer(wxHORIZONTAL);
    closures->Add(check(this, closuresCheck, "Compute Traverse Closures:"),
                  wxSizerFlags().CentreVertical());
    closures->Add(edit(this, closureFileEdit, 300), wxSizerFlags().Border(wxLEFT, 6));
    closures->Add(button(this, closureSelectButton, "Select"), wxSizerFlags().Border(wxLEFT, 6));
    closures->Add(button(this, closureEditButton, "Edit/Create"), wxSizerFlags().Border(wxLEFT, 6));
    column->Add(closures, flags);
    auto* substitution = new wxBoxSizer(wxHORIZONTAL);
    substitution->Add(label(this, wxID_ANY, "Pt. Number Substitution String:"),
                      wxSizerFlags().CentreVertical());
    wxTextCtrl* substitutionText = edit(this, substitutionEdit, 70);
    substitutionText->SetMaxLength(substitutionLength);
    substitution->Add(substitutionText, wxSizerFlags().Border(wxLEFT, 6));
    column->Add(substitution, flags);

    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, "Tolerances");
    wxWindow* boxWindow = box->GetStaticBox();
    auto* grid = new wxFlexGridSizer(2, wxSize(6, 4));
    grid->Add(label(boxWindow, horizAngleToleranceLabel, "Horz.Angle/Azimuth (DD.MMSS):"),
              wxSizerFlags().CentreVertical());
    grid->Add(edit(boxWindow, horizAngleToleranceEdit));
    grid->Add(label(boxWindow, wxID_ANY, "Vertical Angle (DD.MMSS):"),
              wxSizerFlags().CentreVertical());
    grid->Add(edit(boxWindow, vertAngleToleranceEdit));
    grid->Add(label(boxWindow, wxID_ANY, "Horizontal/Slope Distance:"),
              wxSizerFlags().CentreVertical());
    grid->Add(edit(boxWindow, distanceToleranceEdit));
    grid->Add(label(boxWindow, wxID_ANY, "Vertical Distance:"), wxSizerFlags().CentreVertical());
    grid->Add(edit(boxWindow, vertDistanceToleranceEdit));
    box->Add(grid, wxSizerFlags().Border(wxALL, 4));
    column->Add(box, flags);
    SetSizer(column);

    for (int id : {curvatureRefractionCheck, closuresCheck})
        FindWindow(id)->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
            applyClosureRule();
            markModified();
        });
    markModifiedOnChange({closureFileEdit, substitutionEdit, horizAngleToleranceEdit,
                          vertAngleToleranceEdit, distanceToleranceEdit,
                          vertDistanceToleranceEdit});
    for (int id : {distanceToleranceEdit, vertDistanceToleranceEdit})
        FindWindow(id)->Bind(wxEVT_KILL_FOCUS, [this, id](wxFocusEvent& event) {
            event.Skip();
            CallAfter([this, id] { checkDistance(id); });
        });
    for (int id : {horizAngleToleranceEdit, vertAngleToleranceEdit})
        FindWindow(id)->Bind(wxEVT_KILL_FOCUS, [this, id](wxFocusEvent& event) {
            event.Skip();
            CallAfter([this, id] { checkAngle(id); });
        });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectClosureFile(); }, closureSelectButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { editClosureFile(); }, closureEditButton);
}

std::string CPreprocessingPage::text(int id) const {
    return control<wxTextCtrl>(id)->GetValue().utf8_string();
}

void CPreprocessingPage::fillOwnControls() {
    const globalVars& v = values();
    control<wxTextCtrl>(horizAngleToleranceEdit)
        ->ChangeValue(angleToleranceText(v.hAngTol, v.angleType));
    control<wxTextCtrl>(vertAngleToleranceEdit)
        ->ChangeValue(angleToleranceText(v.vAngTol, v.angleType));
    control<wxTextCtrl>(distanceToleranceEdit)->ChangeValue(distanceToleranceText(v.hDistTol));
    control<wxTextCtrl>(vertDistanceToleranceEdit)->ChangeValue(distanceToleranceText(v.vDistTol));
    onShown();
}

// A tolerance text the user did not type in keeps the value it was filled
// from exactly; the text shows it rounded.
void CPreprocessingPage::readOwnControls() {
    globalVars& v = values();
    const auto take = [this](int id, auto parse, double& value) {
        wxTextCtrl* edit = control<wxTextCtrl>(id);
        if (!edit->IsModified())
            return;
        if (const auto parsed = parse(edit->GetValue().utf8_string()))
            value = *parsed;
    };
    const auto angle = [&v](const std::string& t) {
        return angleToleranceFromText(t, v.angleType);
    };
    take(horizAngleToleranceEdit, angle, v.hAngTol);
    take(vertAngleToleranceEdit, angle, v.vAngTol);
    take(distanceToleranceEdit, distanceToleranceFromText, v.hDistTol);
    take(vertDistanceToleranceEdit, distanceToleranceFromText, v.vDistTol);
}

bool CPreprocessingPage::validateOwnControls() {
    for (int id : {distanceToleranceEdit, vertDistanceToleranceEdit})
        if (!distanceToleranceFromText(text(id))) {
            sheet().showPage(preprocessingPage);
            refuse("Invalid Distance Entry: " + text(id), FindWindow(id));
            return false;
        }
    for (int id : {horizAngleToleranceEdit, vertAngleToleranceEdit})
        if (!angleToleranceFromText(text(id), values().angleType)) {
            sheet().showPage(preprocessingPage);
            refuse("Invalid angle Entry: " + text(id), FindWindow(id));
            return false;
        }
    return true;
}

void CPreprocessingPage::checkDistance(int id) {
    if (!distanceToleranceFromText(text(id)))
        refuse("Invalid Distance Entry: " + text(id), FindWindow(id));
}

void CPreprocessingPage::checkAngle(int id) {
    if (!angleToleranceFromText(text(id), values().angleType))
        refuse("Invalid angle Entry: " + text(id), FindWindow(id));
}

void CPreprocessingPage::onShown() {
    FindWindow(horizAngleToleranceLabel)
        ->SetLabel(values().angleType == 1 ? "Horz.Angle/Azimuth (Grads):"
                                           : "Horz.Angle/Azimuth (DD.MMSS):");
    applyClosureRule();
    relayout();
}

// The sheet has taken the typed tolerances in the old unit already.
void CPreprocessingPage::angleUnitChanged() {
    const globalVars& v = values();
    control<wxTextCtrl>(horizAngleToleranceEdit)
        ->ChangeValue(angleToleranceText(v.hAngTol, v.angleType));
    control<wxTextCtrl>(vertAngleToleranceEdit)
        ->ChangeValue(angleToleranceText(v.vAngTol, v.angleType));
    onShown();
}

void CPreprocessingPage::applyClosureRule() {
    const bool closures = control<wxCheckBox>(closuresCheck)->GetValue();
    enable({closureFileEdit, closureSelectButton, closureEditButton}, closures);
}

void CPreprocessingPage::selectClosureFile() {
    FileDialogRequest request;
    request.filter = "Closure files (*.cls)|*.cls|All files (*.*)|*.*|";
    request.extension = "cls";
    request.initialName = "*.cls";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    control<wxTextCtrl>(closureFileEdit)->ChangeValue(wxString::FromUTF8(*path));
    markModified();
}

// Without a name, the file to edit is chosen first; it may be a new one.
void CPreprocessingPage::editClosureFile() {
    std::string path = text(closureFileEdit);
    if (path.empty()) {
        FileDialogRequest request;
        request.newNameAllowed = true;
        const auto chosen = chooseFile(this, request);
        if (!chosen)
            return;
        path = *chosen;
        control<wxTextCtrl>(closureFileEdit)->ChangeValue(wxString::FromUTF8(path));
        markModified();
    }
    runClosureEditor(this, path);
}
