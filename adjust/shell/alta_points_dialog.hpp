#pragma once
// "Add Points For Inclusion in ALTA testing": edits an ALTA points file (.alt)
// - the points and descriptions all of whose connections are checked, the
// number of worst connections to show, and the specific connections - and
// saves it with "Save"; Cancel asks before it drops edits. Modal; given the
// file's path by its opener.

#include <string>
#include <vector>
#include <wx/dialog.h>

class wxListBox;
class wxTextCtrl;

class CAltaPtsDlg : public wxDialog {
public:
    // Control ids.
    enum : int {
        pairFromEdit = 1009,
        pairToEdit = 1026,
        pointEdit = 1027,
        descriptionEdit = 1028,
        maxPointsEdit = 1029,
        deletePairButton = 1041,
        addPairButton = 1054,
        deletePointButton = 1055,
        pairsList = 1185,
        pointsList = 1186,
        addPointButton = 1187,
        addDescriptionButton = 1188,
    };
    static constexpr int dialogId = 168;

    // Reads the file at `path` (a missing file is an empty one) into the controls.
    CAltaPtsDlg(wxWindow* parent, std::string path);

    // "Save": writes the lists to the file. False, with the message shown and
    // the file as it was, when the maximum is not a number from 0 to 1000 or
    // the file cannot be written.
    bool save();
    // Whether the lists or the maximum differ from what the file gave.
    bool edited() const;

private:
    std::vector<std::string> shown() const;
    bool mayClose();
    void addPoint();
    void addDescription();
    void addPair();
    void deleteSelected(wxListBox* list);
    // Adds `entry` unless the list holds it; false (with the message) when it does.
    bool addUnique(wxListBox* list, const std::string& entry);
    void complain(const std::string& text);

    std::string path_;
    wxListBox* points_;
    wxListBox* pairs_;
    wxTextCtrl* pointName_;
    wxTextCtrl* description_;
    wxTextCtrl* maxPoints_;
    wxTextCtrl* from_;
    wxTextCtrl* to_;
    std::vector<std::string> asRead_;
};
