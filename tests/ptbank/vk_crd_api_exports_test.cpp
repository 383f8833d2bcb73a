// Every function of the exported point-file interface can be found by name
// in the loaded library, as other programs of the family bind them. The
// table keeps the ordinal of each name beside it.

#include "ptbank/vk_crd_api.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

struct Export {
    int ordinal;
    const char* name;
};

constexpr Export exports[] = {
    {1, "QMXtoCRD"},
    {2, "QMXfromCRD"},
    {3, "VkCrdApi_open_coordfile"},
    {4, "VkCrdApi_OpenSelectFile"},
    {5, "VkCrdApi_open_random_coordfile"},
    {6, "VkCrdApi_IsOpen"},
    {7, "VkCrdApi_coord_file_named"},
    {8, "VkCrdApi_close_coord_file"},
    {9, "VkCrdApi_coord_file_open"},
    {10, "VkCrdApi_GetCrdFileName"},
    {11, "VkCrdApi_end_coord_file"},
    {12, "VkCrdApi_GetCrdType"},
    {13, "VkCrdApi_GetCrdFeetFlag"},
    {14, "VkCrdApi_SetCrdFeetFlag"},
    {15, "VkCrdApi_GetTotalPoints"},
    {16, "VkCrdApi_find_coord_top"},
    {17, "VkCrdApi_get_first_point"},
    {18, "VkCrdApi_next_coord"},
    {19, "VkCrdApi_prev_coord"},
    {20, "VkCrdApi_read_point"},
    {21, "VkCrdApi_delete_point"},
    {22, "VkCrdApi_write_point"},
    {23, "VkCrdApi_GetPointNameSize"},
    {24, "VkCrdApi_GetMaxPointName"},
    {25, "VkCrdApi_IncrementPointName"},
    {26, "VkCrdApi_GetPointDescSize"},
    {27, "VkCrdApi_GetPointCodeSize"},
    {28, "VkCrdApi_null_data"},
    {29, "VkCrdApi_cmp_pts"},
    {30, "VkCrdApi_GetCfInfoStructPtr"},
    {31, "VkCrdApi_write_crd_point"},
    {32, "VkCrdApi_vk_valid_pointid"},
    {33, "VkCrdApi_IsMemoryFile"},
    {34, "VkCrdApi_Copy"},
    {35, "VkCrdApi_DeleteFile"},
    {36, "VkCrdApi_GetCurrentUserType"},
    {37, "VkCrdApi_SetCurrentUserType"},
    {38, "VkCrdApi_GetCRDTypeName"},
    {39, "VkCrdApi_GetCrdFileVersion"},
    {40, "VkCrdApi_MakeTempCrdFilename"},
    {41, "VkCrdApi_SetNewCrdFileDescLen"},
    {42, "VkCrdApi_GetNewCrdFileDescLen"},
    {43, "VkCrdApi_setRange"},
    {44, "VkCrdApi_SetDefaultCRDType"},
    {45, "VkCrdApi_removeDescItems"},
    {46, "VkCrdApi_overwrite_point"},
    {47, "VkCrdApi_allPtsAreNumeric"},
    {48, "VkCrdApi_RenameFile"},
    {49, "VkCrdApi_FileCopy"},
    {50, "VkCrdApi_GetCrdExtension"},
    {51, "VkCrdApi_GetMaxLegalPointName"},
    {52, "VkCrdApi_GetMinLegalPointName"},
    {53, "VkCrdApi_GetCrdFilenameFromDlg"},
};

TEST(VkCrdApiExports, EveryOrdinalHasItsFunctionInTheLibrary) {
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&VkCrdApi_IsOpen), &info), 0);
    void* library = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << info.dli_fname;
    int expected = 1;
    for (const Export& e : exports) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.ordinal, expected++);
        EXPECT_NE(dlsym(library, e.name), nullptr);
    }
    dlclose(library);
}

} // namespace
