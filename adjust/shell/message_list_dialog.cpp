#include "shell/message_list_dialog.hpp"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

namespace {

constexpr int margin = 8;
const wxSize listSize(520, 260);

} // namespace

CDlgMsg::CDlgMsg(wxWindow* parent)
    : wxDialog(parent, messagelistid::dialog, wxEmptyString, wxDefaultPosition, wxDefaultSize,
               wxCAPTION) {
    auto* list = new wxListBox(this, messagelistid::list, wxDefaultPosition, listSize, 0, nullptr,
                               wxLB_SINGLE | wxLB_HSCROLL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(list, wxSizerFlags(1).Expand().Border(wxALL, margin));
    column->Add(new wxButton(this, wxID_OK, "Exit"),
                wxSizerFlags().Center().Border(wxBOTTOM, margin));
    SetSizerAndFit(column);
    SetEscapeId(wxID_OK);
}

void CDlgMsg::addMessage(const std::string& text) {
    std::string rest = text;
    for (size_t feed = rest.find('\n'); feed != std::string::npos; feed = rest.find('\n')) {
        if (feed == 0) {
            rest.erase(0, 1);
            continue;
        }
        std::string line = rest.substr(0, feed);
        line.erase(line.find_last_not_of("\n\r ") + 1);
        lines_.push_back(line);
        rest.erase(0, feed);
    }
}

int CDlgMsg::ShowModal() {
    auto* list = static_cast<wxListBox*>(FindWindow(messagelistid::list));
    list->Clear();
    for (const std::string& line : lines_)
        list->Append(wxString::FromUTF8(line));
    CentreOnParent();
    return wxDialog::ShowModal();
}
