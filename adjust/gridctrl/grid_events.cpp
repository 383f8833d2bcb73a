#include "gridctrl/grid_events.hpp"

namespace gridctrl {

wxDEFINE_EVENT(EVT_GRIDN_CLICK, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_DBLCLK, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_RCLICK, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_SELCHANGING, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_SELCHANGED, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_BEGINEDIT, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_ENDEDIT, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_BEGINDRAG, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_CACHEHINT, CGridNotifyEvent);
wxDEFINE_EVENT(EVT_GRIDN_GETDISPINFO, CGridNotifyEvent);

wxEventType eventTypeOfCode(int code) {
    switch (code) {
    case NM_CLICK:
        return EVT_GRIDN_CLICK;
    case NM_DBLCLK:
        return EVT_GRIDN_DBLCLK;
    case NM_RCLICK:
        return EVT_GRIDN_RCLICK;
    case GRIDN_SELCHANGING:
        return EVT_GRIDN_SELCHANGING;
    case GRIDN_SELCHANGED:
        return EVT_GRIDN_SELCHANGED;
    case GRIDN_BEGINEDIT:
        return EVT_GRIDN_BEGINEDIT;
    case GRIDN_ENDEDIT:
        return EVT_GRIDN_ENDEDIT;
    case GRIDN_BEGINDRAG:
        return EVT_GRIDN_BEGINDRAG;
    case GRIDN_CACHEHINT:
        return EVT_GRIDN_CACHEHINT;
    case GRIDN_GETDISPINFO:
        return EVT_GRIDN_GETDISPINFO;
    default:
        return wxEVT_NULL;
    }
}

} // namespace gridctrl
