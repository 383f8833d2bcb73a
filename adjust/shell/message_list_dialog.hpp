#pragma once
// The modal list of message lines that a run fills when it has several
// lines to tell at once (why no control was found, which points were not
// computed), with an "Exit" button.

#include <string>
#include <vector>

#include <wx/dialog.h>

namespace messagelistid {
inline constexpr int dialog = 315;
inline constexpr int list = 1117;
} // namespace messagelistid

class CDlgMsg : public wxDialog {
public:
    explicit CDlgMsg(wxWindow* parent);

    // Adds the lines of `text`: each line that a line feed ends, less its
    // trailing line feeds, carriage returns and blanks (an empty line stays a
    // line). Text after the last line feed is not a line.
    void addMessage(const std::string& text);
    const std::vector<std::string>& lines() const { return lines_; }

    // Fills the list with the lines and shows the dialog until Exit.
    int ShowModal() override;

private:
    std::vector<std::string> lines_;
};
