#pragma once
// Dialog 617 "Point Overwrite": the point stored in a coordinate file and
// the point about to replace it, side by side with their differences. The
// user overwrites, keeps the stored point, or cancels, optionally for the
// rest of the operation ("Do Not Ask Again"); the record's editMask and
// edit flags say which new values may be changed first, and "Change Pt ID"
// writes the new point under another name instead. The dialog never writes:
// ShowModal gives the VKCRD_ANSWER_* code and the record's proposed point
// and out fields hold what the user confirmed.
//
// The display texts are a plain function of the record (overwriteTexts), so
// what the dialog shows can be checked without a window.

#include "ptbank/crd_overwrite_rec.h"
#include "ptbank/dialog_positions.hpp"

#include <wx/dialog.h>

#include <array>
#include <string>

class wxButton;
class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

namespace overwriteid {
inline constexpr int dialogId = 617;
inline constexpr int pointName = 2069;
inline constexpr int changePointId = 2078;
inline constexpr int firstLabel = 2076;
inline constexpr int secondLabel = 2077;
inline constexpr int currentFirst = 1854;
inline constexpr int currentSecond = 1855;
inline constexpr int currentElevation = 2067;
inline constexpr int currentCode = 1691;
inline constexpr int currentDescription = 1683;
inline constexpr int newFirst = 1816;
inline constexpr int newSecond = 1817;
inline constexpr int newElevation = 2066;
inline constexpr int newCode = 2074;
inline constexpr int newDescription = 2075;
inline constexpr int deltaFirst = 1856;
inline constexpr int deltaSecond = 1857;
inline constexpr int deltaElevation = 2068;
inline constexpr int warning = 2070;
inline constexpr int doNotAsk = 2064;
inline constexpr int doNotAskNote = 2081;
inline constexpr int overwrite = 2072;
inline constexpr int doNotOverwrite = 2073;
inline constexpr int cancel = 2;
} // namespace overwriteid

// The rows of the dialog, top to bottom.
enum class OverwriteRow { first, second, elevation, code, description };
inline constexpr std::size_t overwriteRowCount = 5;

// What the dialog shows for a record. Coordinates in "%0.<coordDecimals>f",
// elevations in "%0.<elevDecimals>f" (empty when there is none). The first
// row is the northing when northingFirst is set, else the easting. The
// coordinate differences are current minus new without sign; the elevation
// difference is new minus current with its sign, shown only when both
// points have an elevation. Code and description rows have no difference.
struct OverwriteTexts {
    std::string firstLabel;
    std::string secondLabel;
    std::array<std::string, overwriteRowCount> current;
    std::array<std::string, overwriteRowCount> proposed;
    std::array<std::string, 3> delta; // first, second, elevation
};
OverwriteTexts overwriteTexts(const crdOverwriteRec& record);

class CPtOverwriteDlg : public wxDialog {
public:
    // `parent` may be null. The record must outlive the dialog.
    CPtOverwriteDlg(crdOverwriteRec& record, wxWindow* parent);

    ptbank::DialogPositionStore positionStore() const;

private:
    void buildControls();
    void applyEditRules();
    void focusFirstField();
    void showTexts();
    void collectOverwriteFields();
    void refreshAfterEdit(wxFocusEvent& event);
    void choose(bool overwrite);
    void changePointId();
    void finish(int result);
    wxTextCtrl* newField(OverwriteRow row) const;

    crdOverwriteRec& record_;
    wxStaticText* firstLabel_ = nullptr;
    wxStaticText* secondLabel_ = nullptr;
    wxTextCtrl* pointName_ = nullptr;
    wxButton* changePointId_ = nullptr;
    std::array<wxTextCtrl*, overwriteRowCount> current_{};
    std::array<wxTextCtrl*, overwriteRowCount> proposed_{};
    std::array<wxTextCtrl*, 3> delta_{};
    wxCheckBox* doNotAsk_ = nullptr;
    wxStaticText* doNotAskNote_ = nullptr;
    wxButton* doNotOverwrite_ = nullptr;
    // The new values as last shown, to tell the user's edits from them.
    std::array<std::string, overwriteRowCount> shownProposed_;
};
