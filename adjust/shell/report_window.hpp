#pragma once
// A report window: one MDI child per kind of report (the least-squares
// report, the coordinate listing, the error report) showing the whole file
// in a fixed-pitch font. The least-squares report has a strip of section
// tabs above its text.

#include "platform/shell_services.hpp"
#include "shell/report_text.hpp"

#include <functional>
#include <string>
#include <vector>

#include <wx/gdicmn.h>
#include <wx/mdi.h>

class wxNotebook;
class wxBookCtrlEvent;
class ReportView;

inline constexpr int sectionTabsId = 400;

class CChildFrame : public wxMDIChildFrame {
public:
    // Reads `path` into a new window of `kind` over `parent`; the window
    // calls `gone` once when it is closed or destroyed. A file that cannot
    // be read gives "Error opening %s" and an empty window.
    CChildFrame(wxMDIParentFrame* parent, const std::string& path, ReportKind kind,
                std::function<void(CChildFrame*)> gone);
    ~CChildFrame() override;
    bool Destroy() override;

    // Reads the file again (section tabs rebuilt, scrolled to the top).
    void reload(const std::string& path);
    // Adds `text` as the report's last line, shows the whole report and
    // scrolls so that the line is in view.
    void appendText(const std::string& text);
    void activate();
    // The owner is going away before this window: nothing to tell it.
    void forgetOwner() { gone_ = nullptr; }

    ReportKind kind() const { return kind_; }
    const ReportText& text() const { return text_; }
    // The tab labels, in order (none for the listing and the error report).
    std::vector<std::string> tabLabels() const;
    int currentTab() const { return currentTab_; }
    // Puts the section of tab `tab` in view, scrolled to its top.
    void showSection(int tab);
    // The lines in view: the selected section.
    ReportText::Range linesInView() const { return inView_; }
    // The first line of the view that the window shows at its top.
    int topLine() const;
    // The panel that paints the lines.
    wxWindow* view() const;
    // The text place nearest to a point of the panel.
    ReportTextPlace placeAt(wxPoint point) const;
    // The selection in the lines in view: all of them, its text (lines
    // joined by line feeds), and its text put on the clipboard (false when
    // nothing is selected or the clipboard cannot be had).
    void selectAll();
    std::string selectedText() const;
    bool copySelection();

private:
    // On failure shows `failure` and leaves the window empty.
    bool readText(const std::string& path, const std::string& failure);
    void buildTabs();
    void onTabChanged(wxBookCtrlEvent& event);

    ReportKind kind_;
    ReportText text_;
    ReportText::Range inView_;
    int currentTab_ = 0;
    std::vector<int> tabSections_;
    wxNotebook* tabs_ = nullptr;
    ReportView* view_ = nullptr;
    std::function<void(CChildFrame*)> gone_;
};

// The caption of a report window of `kind` showing `path`.
std::string reportCaption(ReportKind kind, const std::string& path);
