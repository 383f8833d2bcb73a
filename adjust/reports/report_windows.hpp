#pragma once
// Report windows of the open project's .RPT, .ERR and .OUT files.

// Each shows its file in a report window; 1 when the file does not exist, else 0.
int showRptReport();
int showErrReport();
int showOutReport();
