#pragma once
// Dialog 619 "Point ID": the user types a point name for the point about to
// be written, with the names the caller offers listed beside it. OK checks
// the name against the coordinate file: a name the file cannot hold keeps
// the dialog open; a name already stored is taken only after the user
// agrees to go on.

#include "ptbank/vk_crd_api.h"

#include <wx/dialog.h>

#include <string>

class wxListBox;
class wxTextCtrl;

// What the dialog needs of its caller; the names are borrowed.
struct crdPointIdRec {
    std::string title; // caption of the dialog's message boxes
    VkCrdHandle handle = VKCRD_NO_HANDLE;
    char* const* pointNames = nullptr;
    int pointNameCount = 0;
};

namespace pointid {
inline constexpr int dialogId = 619;
inline constexpr int nameEdit = 2079;
inline constexpr int nameList = 1845;
// Buttons, and the results ShowModal gives.
inline constexpr int ok = 1;
inline constexpr int cancel = 2;
inline constexpr const char* notAvailable = "<Not Available>";
} // namespace pointid

class CPointIdDlg : public wxDialog {
public:
    CPointIdDlg(const crdPointIdRec& record, const std::string& initialName, wxWindow* parent);

    // The name as entered (blanks at both ends dropped), after OK.
    std::string enteredName() const;

private:
    void onOk(wxCommandEvent& event);
    void finish(int result);

    const crdPointIdRec& record_;
    wxTextCtrl* name_ = nullptr;
    wxListBox* names_ = nullptr;
};
