#pragma once
// "Blunder Detection": one of three methods applied to the open project with
// "Apply" - preprocessing (the raw data checked, observations against
// preliminary coordinates, points close together), floating one observation
// at a time, or reweighting on residuals in passes. Modeless; "Exit" keeps
// the values as the program's blunder options and closes the window, which
// then deletes itself.

#include <functional>
#include <wx/dialog.h>

class wxChoice;
class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

// The dialog's values: the program options of the same names.
struct BlunderChoice {
    int iterations = 4;   // passes of method 2
    int floatShoTtl = 5;  // best solutions of method 1 (1 to 10)
    int floatShoType = 0; // 0 the best solution only, 1 `floatShoTtl` of them
    int method = 0;       // 0 preprocess, 1 float one observation, 2 reweight
    double proximity = 0.1;
};

class blnrDlg : public wxDialog {
public:
    enum : int {
        iterationsEdit = 1009,
        solutionsEdit = 1026,
        proximityEdit = 1027,
        methodList = 1061,
        explanationText = 1062,
        bestOnlyRadio = 1070,
        bestSolutionsRadio = 1071,
    };
    static constexpr int dialogId = 142;
    enum Method : int { preprocessMethod = 0, floatMethod = 1, reweightMethod = 2 };

    // `apply` runs a method with the values; `keep` receives them at "Exit".
    blnrDlg(wxWindow* parent, const BlunderChoice& start,
            std::function<void(const BlunderChoice&)> apply,
            std::function<void(const BlunderChoice&)> keep);

    // "Apply": the controls' values, checked, handed to `apply`.
    void applyMethod();
    // The values the controls hold, or false (with the message shown) when
    // one is out of its range.
    bool readValues(BlunderChoice& values);

private:
    void switchMethod();
    void exitDialog();

    std::function<void(const BlunderChoice&)> apply_;
    std::function<void(const BlunderChoice&)> keep_;
    BlunderChoice values_;
    wxTextCtrl* iterations_;
    wxTextCtrl* solutions_;
    wxTextCtrl* proximity_;
    wxChoice* method_;
    wxStaticText* explanation_;
    wxRadioButton* bestOnly_;
    wxRadioButton* bestSolutions_;
};
