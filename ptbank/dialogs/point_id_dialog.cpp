#include "ptbank/dialogs/point_id_dialog.hpp"

#include "dialog_text.hpp"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstring>

namespace {

constexpr int pointFound = 0;
constexpr int readFailed = -1;
constexpr int listHeight = 150;
constexpr int gap = 6;

wxArrayString offeredNames(const crdPointIdRec& record) {
    wxArrayString names;
    for (int i = 0; i < record.pointNameCount; ++i)
        names.Add(dialogtext::fromBytes(record.pointNames[i]));
    if (names.empty())
        names.Add(pointid::notAvailable);
    return names;
}

} // namespace

CPointIdDlg::CPointIdDlg(const crdPointIdRec& record, const std::string& initialName,
                         wxWindow* parent)
    : wxDialog(parent, pointid::dialogId, "Point ID"), record_(record) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, "Enter Point ID:"), 0, wxLEFT | wxTOP, gap);
    name_ = new wxTextCtrl(this, pointid::nameEdit, dialogtext::fromBytes(initialName));
    column->Add(name_, 0, wxEXPAND | wxALL, gap);
    column->Add(new wxStaticText(this, wxID_ANY, "Available Points"), 0, wxLEFT, gap);
    names_ = new wxListBox(this, pointid::nameList, wxDefaultPosition, wxSize(-1, listHeight),
                           offeredNames(record), wxLB_SINGLE | wxLB_HSCROLL);
    column->Add(names_, 1, wxEXPAND | wxALL, gap);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, pointid::ok, "OK");
    buttons->Add(ok, 0, wxRIGHT, gap);
    buttons->Add(new wxButton(this, pointid::cancel, "Cancel"));
    column->Add(buttons, 0, wxALIGN_RIGHT | wxALL, gap);
    SetSizerAndFit(column);

    ok->SetDefault();
    SetAffirmativeId(pointid::ok);
    SetEscapeId(pointid::cancel);
    Bind(wxEVT_BUTTON, &CPointIdDlg::onOk, this, pointid::ok);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { finish(pointid::cancel); }, pointid::cancel);
}

std::string CPointIdDlg::enteredName() const {
    return dialogtext::trimmedBytes(name_->GetValue());
}

void CPointIdDlg::finish(int result) {
    SetReturnCode(result);
    EndDialog(result);
}

void CPointIdDlg::onOk(wxCommandEvent&) {
    char name[VKCRD_NAME_SIZE] = {};
    const std::string entered = enteredName();
    std::strncpy(name, entered.c_str(), sizeof name - 1);
    const wxString title = dialogtext::fromBytes(record_.title);
    if (VkCrdApi_vk_valid_pointid(record_.handle, name) != 0) {
        wxMessageBox("Point ID is not valid.", title, wxOK | wxICON_EXCLAMATION, this);
        name_->SetFocus();
        name_->SelectAll();
        return;
    }
    crdPointRec stored{};
    const int read = VkCrdApi_read_point(record_.handle, name, &stored);
    if (read == pointFound) {
        const int answer =
            wxMessageBox("The specified point exists in the coordinate file.\n\nDo you wish to "
                         "continue?",
                         title, wxYES_NO | wxICON_EXCLAMATION, this);
        finish(answer == wxYES ? pointid::ok : pointid::cancel);
        return;
    }
    if (read == readFailed) {
        wxMessageBox("Error reading coordinate file.", title, wxOK, this);
        finish(pointid::cancel);
        return;
    }
    finish(pointid::ok);
}
