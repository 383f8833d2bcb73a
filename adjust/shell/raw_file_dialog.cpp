#include "shell/raw_file_dialog.hpp"

#include "platform/shell_services.hpp"
#include "shell/family_programs.hpp"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

wxArrayString offeredNames(const std::string& names) {
    wxArrayString items;
    for (const std::string& name : listedNames(names))
        items.Add(wxString::FromUTF8(name));
    const std::string rest =
        names.substr(names.rfind('\n') == std::string::npos ? 0 : names.rfind('\n') + 1);
    if (!rest.empty())
        items.Add(wxString::FromUTF8(rest));
    return items;
}

} // namespace

CRawFlLst::CRawFlLst(wxWindow* parent, const std::string& names)
    : wxDialog(parent, wxID_ANY, "Edit Raw Files") {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, "Choose File to Edit."), 0, wxALL, 8);
    // A long path scrolls sideways rather than being cut.
    list_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(320, 160), offeredNames(names),
                          wxLB_SINGLE | wxLB_HSCROLL);
    if (list_->GetCount() > 0)
        list_->SetSelection(0);
    column->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    column->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(column);
    CentreOnParent();

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { accept(); }, wxID_OK);
    list_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { accept(); });
}

bool CRawFlLst::takeSelection() {
    const int selection = list_->GetSelection();
    if (selection == wxNOT_FOUND) {
        activeShell().message("No file chosen", MessageKind::ok);
        return false;
    }
    chosen_ = list_->GetString(static_cast<unsigned>(selection)).utf8_string();
    return true;
}

void CRawFlLst::accept() {
    if (takeSelection())
        EndModal(wxID_OK);
}
