#pragma once
// The EDM calibration window: the header of a calibration (instrument,
// reflector, date, weather, constants, atmospheric settings) and the
// observed baseline distances in a grid; it opens and saves .edm files,
// computes the calibration and shows, and saves, its report. It has a menu
// bar, so it is a frame run modally (ShowModal) over every other window.
//
// Weather columns (dry and wet temperature, pressure) are shown only while
// the atmospheric correction is applied; their texts are kept while they are
// hidden and come back when they are shown again, and a save writes them.
// Rows left entirely empty are no observations.

#include "gridctrl/grid_ctrl.hpp"
#include "reports/edm_calibration_report.hpp"
#include "shell/tools/edm_grid_rows.hpp"

#include <string>
#include <vector>
#include <wx/frame.h>

class wxCheckBox;
class wxGUIEventLoop;
class wxListBox;
class wxRadioButton;
class wxTextCtrl;
class wxToolBar;

namespace edmid {
enum Control : int {
    computeButton = 1,
    exitButton = 2,
    grid = 1221,
    dateEdit = 1009,
    timeEdit = 1026,
    edmDescriptionEdit = 1027,
    reflectorDescriptionEdit = 1028,
    weatherEdit = 1029,
    commentEdit = 1030,
    edmConstantEdit = 1031,
    reflectorConstantEdit = 1222,
    applyCorrectionCheck = 1059,
    wetBulbRadio = 1223,
    vapourPressureRadio = 1224,
    vapourPressureEdit = 1228,
    refractionIndexEdit = 1200,
    refractionIndexLabel = 1226,
    wavelengthEdit = 1225,
    wavelengthLabel = 1227,
    resultsList = 1117,
    saveOutputButton = 1041,
};
// Menu and tool-bar commands (a menu id stays below 0x7FFF).
enum Command : int {
    newFile = 2100,
    openFile = 2101,
    saveFile = 2102,
    saveFileAs = 2103,
    saveReport = 2104,
    exitCommand = 2105,
    insertBefore = 2106,
    insertAfter = 2107,
    deleteRow = 2108,
};
} // namespace edmid

class CEdmCalibDlg : public wxFrame {
public:
    CEdmCalibDlg();
    ~CEdmCalibDlg() override;

    // Shows the window with every other window disabled until it closes.
    void ShowModal();

    // The commands, as the menu, the tool bar and the buttons run them.
    void newFile();
    void openFile();
    bool saveFile();
    bool saveFileAs();
    void saveReport();
    void compute();
    // Exit: false when the user cancelled the save question.
    bool exit();
    void insertBefore();
    void insertAfter();
    void deleteRow();

    // Open and Save without their file dialogs.
    bool openPath(const std::string& path);
    bool savePath(const std::string& path);

    gridctrl::CGridCtrl& grid() { return *grid_; }
    cEdmCalibrate& engine() { return edm_; }
    const std::string& path() const { return path_; }
    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row) { currentRow_ = row; }
    bool modified() const;
    void markUnmodified();

    // After the check box or a radio button changed.
    void onCorrectionChanged();
    void onMethodChanged();

private:
    void layOut();
    wxWindow* headerPanel(wxWindow* parent);
    void makeMenu();
    wxToolBar* makeToolBar(wxWindow* parent);
    void makeGrid(wxWindow* parent);
    void bindCommands();
    void adjustColumns();
    void appendWeatherColumns(int upTo);
    void removeWeatherColumns(int downTo);
    void matchColumns();
    void renumberFrom(int row);
    // Returns the index the row got.
    int insertRowAt(int row, int number);
    void afterInsert(int row);
    EdmRowTexts rowTexts(int row) const;
    void setRowTexts(int row, const EdmRowTexts& texts);
    void buildRecords();
    void loadRecords();
    void clearWindow();
    bool askToSave();
    void setTitleFor(const std::string& path);
    void showResults();
    std::string text(int id) const;
    void setText(int id, const std::string& value);
    double number(int id) const;
    void setNumber(int id, double value);
    bool applying() const;
    bool wetBulb() const;
    void message(const std::string& text);

    cEdmCalibrate edm_;
    gridctrl::CGridCtrl* grid_ = nullptr;
    wxListBox* results_ = nullptr;
    wxCheckBox* apply_ = nullptr;
    wxRadioButton* wetBulb_ = nullptr;
    wxRadioButton* vapourPressure_ = nullptr;
    std::string path_;
    int currentRow_ = 0;
    int columns_ = edmBaseColumns;
    bool modified_ = false;
    int openMenus_ = 0; // menus of the window's bar that are open now
    // The weather texts of each data row (index row - 1), kept while their
    // columns are not shown.
    std::vector<EdmWeatherTexts> weather_;
    wxGUIEventLoop* loop_ = nullptr;
};
