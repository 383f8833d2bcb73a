#pragma once
// For programs that read a coordinate file through the exported interface:
// matches the library's current user type (the record layout it hands
// points over in) to the file open under a handle, before its points are
// walked. Uses only the exported C functions.

#include "ptbank/vk_crd_api.h"

// Types 0 (numeric) and 2 (memory) give the user type 4; 3 and 4 give
// themselves; 1, 5 and 6 give 3; any other type (-1 for a handle the
// library does not know) leaves the user type as it was.
inline void syncCrdUserType(VkCrdHandle handle) {
    switch (VkCrdApi_GetCrdType(handle)) {
    case 0:
    case 2:
        VkCrdApi_SetCurrentUserType(4);
        break;
    case 3:
    case 4:
        VkCrdApi_SetCurrentUserType(VkCrdApi_GetCrdType(handle));
        break;
    case 1:
    case 5:
    case 6:
        VkCrdApi_SetCurrentUserType(3);
        break;
    default:
        break;
    }
}
