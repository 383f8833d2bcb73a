// tarnadjust: the desktop program for adjusting survey networks.

#include "shell/application.hpp"

wxIMPLEMENT_APP(CZezadarApp);
