#include "shell/settings/settings_sheet.hpp"

#include "shell/settings/adjustment_page.hpp"
#include "shell/settings/coordinate_system_page.hpp"
#include "shell/settings/input_files_page.hpp"
#include "shell/settings/output_options_page.hpp"
#include "shell/settings/preprocessing_page.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_table.hpp"
#include "shell/settings/standard_errors_page.hpp"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/sizer.h>

using namespace settingsid;

namespace {

constexpr int sheetWidth = 880;

} // namespace

CSettingsPropSht::CSettingsPropSht(wxWindow* parent, SettingsSheetActions actions)
    : actions_(std::move(actions)) {
    Create(parent, wxID_ANY, "Settings");
    addPages();
    addButtons();
    // Wide enough for all six tabs side by side.
    GetBookCtrl()->SetMinSize(wxSize(sheetWidth, -1));
    LayoutDialog();
    GetBookCtrl()->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        if (event.GetSelection() != wxNOT_FOUND)
            page(event.GetSelection()).onShown();
        event.Skip();
    });
}

void CSettingsPropSht::addPages() {
    wxBookCtrlBase* book = GetBookCtrl();
    pages_ = {
        new CCoordSysPage(book, *this),      new CInputFilesPage(book, *this),
        new CPreprocessingPage(book, *this), new CStdErrPage(book, *this),
        new CAdjustmentPage(book, *this),    new CDisplayPage(book, *this),
    };
    const char* captions[] = {"Coordinate System", "Input Files", "Preprocessing",
                              "Standard Errors",   "Adjustment",  "Output Options"};
    for (std::size_t i = 0; i < pages_.size(); ++i)
        book->AddPage(pages_[i], captions[i]);
}

void CSettingsPropSht::addButtons() {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxButton(this, saveProjectButton, "Save Project"));
    row->Add(new wxButton(this, saveAsDefaultButton, "Save As Default"),
             wxSizerFlags().Border(wxLEFT, 10));
    row->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, "OK");
    row->Add(ok);
    row->Add(new wxButton(this, wxID_CANCEL, "Cancel"), wxSizerFlags().Border(wxLEFT, 6));
    row->Add(new wxButton(this, applyNowButton, "Apply"), wxSizerFlags().Border(wxLEFT, 6));
    GetInnerSizer()->Add(row, wxSizerFlags().Expand().Border(wxTOP | wxLEFT | wxRIGHT, 8));
    ok->SetDefault();
    FindWindow(applyNowButton)->Disable();

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { onOk(); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { onApply(); }, applyNowButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { onSaveProject(); }, saveProjectButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { onSaveAsDefault(); }, saveAsDefaultButton);
}

void CSettingsPropSht::fill(const globalVars& project, int useVkTool) {
    fillSheetValues(project, useVkTool, values_);
    for (SettingsPage* each : pages_)
        each->fillControls();
    page(currentPage()).onShown();
    setModified(false);
}

void CSettingsPropSht::showPage(int index) {
    GetBookCtrl()->SetSelection(static_cast<std::size_t>(index));
}

int CSettingsPropSht::currentPage() const {
    return GetBookCtrl()->GetSelection();
}

bool CSettingsPropSht::takeControls() {
    for (SettingsPage* each : pages_)
        if (!each->validateControls())
            return false;
    for (SettingsPage* each : pages_)
        each->readControls();
    return true;
}

bool CSettingsPropSht::storeSettings(globalVars& target) {
    if (!takeControls())
        return false;
    storeSheetValues(values_, target);
    return true;
}

void CSettingsPropSht::setModified(bool modified) {
    if (wxWindow* apply = FindWindow(applyNowButton))
        apply->Enable(modified);
}

void CSettingsPropSht::angleUnitChanged(int angleType) {
    for (SettingsPage* each : pages_)
        each->readControls();
    changeShownAngleUnit(values_, angleType);
    static_cast<CStdErrPage&>(page(standardErrorsPage)).fillControls();
    static_cast<CPreprocessingPage&>(page(preprocessingPage)).angleUnitChanged();
}

void CSettingsPropSht::onOk() {
    if (takeControls())
        EndModal(wxID_OK);
}

void CSettingsPropSht::onApply() {
    if (!takeControls())
        return;
    actions_.apply(values_);
    setModified(false);
}

void CSettingsPropSht::onSaveProject() {
    if (storeSettings(projectVars))
        actions_.saveProject();
}

void CSettingsPropSht::onSaveAsDefault() {
    globalVars defaults;
    if (storeSettings(defaults))
        defaults.saveAsDefault();
}
