#pragma once
// Printing report lines on the default printer: one line after another in a
// 10-point fixed-pitch font, a new page when the next line would pass the
// bottom of the page. The job is drawn as PostScript and handed to the
// printing system's `lp`, which sends it to the default printer.

#include <optional>
#include <string>
#include <vector>
#include <wx/defs.h>

class wxWindow;

// How many of `lineCount` lines each page takes: a line fits while its bottom
// (its top plus `lineHeight`) is at most `pageHeight`; a line taller than the
// page has a page of its own. No lines, no pages.
std::vector<int> linesPerPage(int lineCount, int lineHeight, int pageHeight);

// The paper of a width and height in millimetres, as a locale's LC_PAPER
// gives them (A4 in most of the world, Letter in North America): the known
// paper within a millimetre, else A4. Jobs print on the locale's paper.
wxPaperSize paperOfSize(int widthMm, int heightMm);

// The document name of a job printed under `name`: "Lst. Sqr. - " and at most
// 19 characters of the name.
std::string printDocumentName(const std::string& name);

// Prints `lines` (the caller's own copy: the job never looks at a window)
// as the document of `name`. Every window of the program is disabled for
// the length of the job; pending events are handled between pages, so the
// windows repaint. nullopt when the printing system took the job, else the
// message saying why nothing was printed. `parent` owns the job's progress
// window.
std::optional<std::string> printReportLines(wxWindow* parent, const std::string& name,
                                            std::vector<std::string> lines);
