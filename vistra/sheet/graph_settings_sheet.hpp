#pragma once
// "Graphic Settings": the graphics window's drawing settings on four pages
// (Points, Trav/SSs, Error Ellipses, GPS). OK and Apply hand the values to
// the window; the error ellipses' size reaches the window at once while its
// slider is dragged, so the picture behind the sheet follows it.

#include "vistra/graph_settings.hpp"

#include <array>

#include <wx/propdlg.h>

class graphSettingsPage;
class wxSlider;
class wxStaticText;
class wxTextCtrl;

// The window whose settings the sheet edits.
class graphSettingsTarget {
public:
    virtual ~graphSettingsTarget() = default;
    virtual const graphSettings& drawingSettings() const = 0;
    // Takes `values` as its settings and repaints.
    virtual void takeSettings(const graphSettings& values) = 0;
    // Whether a run's error ellipses were handed to the window.
    virtual bool hasErrorEllipses() const = 0;
};

// Ids of the sheet's own controls.
namespace graphsettid {
inline constexpr int ellipseSlider = 1099;
inline constexpr int ellipseSizeEdit = 1010;
inline constexpr int processFirstLine = 2003;
inline constexpr int processSecondLine = 2004;
} // namespace graphsettid

class graphSett : public wxPropertySheetDialog {
public:
    // The sheet over `parent`, its pages showing the settings of `frame`.
    graphSett(wxWindow* parent, graphSettingsTarget& frame);

    bool TransferDataToWindow() override;
    // The pages' values into the window, which repaints.
    void applyToFrame();
    const graphSettings& values() const { return values_; }
    // Takes every page's controls into the values: false (with the
    // framework's message) when a size field does not hold a whole number.
    bool takeControls();
    // A page's control changed: "Apply" is enabled.
    void pageModified();
    bool applyEnabled() const;

private:
    void onOk();
    void onApply();

    graphSettingsTarget& frame_;
    graphSettings values_;
    std::array<graphSettingsPage*, 4> pages_{};
};
