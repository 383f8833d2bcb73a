#ifndef PTBANK_VK_CRD_API_H
#define PTBANK_VK_CRD_API_H
/*
 * The exported point-file interface of ptbank: plain C functions over
 * coordinate files of every supported type, each open file addressed by a
 * 16-bit handle. Every function is also listed with its ordinal, the number
 * by which other programs of the family bind it; ordinals never change.
 *
 * Handles: 65535 (VKCRD_NO_HANDLE) is no handle; 0 is the first memory
 * file; disk files (and memory files made while 0 is taken) get 1, 2, 3 ...
 * in turn. Only after 65534 have been given out does the count start again
 * at 1, passing over every handle still in use; 0 and 65535 are never given
 * to a disk file.
 *
 * Buffers: a name buffer (and every buffer that receives a name) holds
 * VKCRD_NAME_SIZE bytes; a buffer that receives a path holds VKCRD_PATH_SIZE
 * bytes. Names are at most 255 characters. The walk functions take one
 * crdPointRec both as the name buffer and as the record: the name comes first.
 *
 * Results are the small integer codes given beside each function; an
 * unknown handle never fails loudly but gives the value stated for it.
 * Nothing here is safe to call from two threads at once.
 */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define VKCRD_STATIC_ASSERT(condition, text) static_assert(condition, text)
#else
#define VKCRD_STATIC_ASSERT(condition, text) _Static_assert(condition, text)
#endif

#define VKCRD_EXPORT __attribute__((visibility("default")))

typedef uint16_t VkCrdHandle;

#define VKCRD_NO_HANDLE ((VkCrdHandle)65535)
#define VKCRD_MEMORY_HANDLE ((VkCrdHandle)0)
#define VKCRD_NAME_SIZE 256
#define VKCRD_PATH_SIZE 4096

/* A point as callers hand it over and receive it. Elevation -99999999.0
 * means "no elevation". A record read from a disk file comes back with the
 * name right-justified (blanks in front) to the format's name width minus 1,
 * code and description left-justified and blank-padded to their widths
 * minus 1. */
typedef struct crdPointRec {
    char name[256];
    char code[8]; /* the formats use at most 7 characters */
    double northing;
    double easting;
    double elevation;
    char description[256];
} crdPointRec;

VKCRD_STATIC_ASSERT(offsetof(crdPointRec, name) == 0, "crdPointRec.name");
VKCRD_STATIC_ASSERT(offsetof(crdPointRec, code) == 256, "crdPointRec.code");
VKCRD_STATIC_ASSERT(offsetof(crdPointRec, northing) == 264, "crdPointRec.northing");
VKCRD_STATIC_ASSERT(offsetof(crdPointRec, easting) == 272, "crdPointRec.easting");
VKCRD_STATIC_ASSERT(offsetof(crdPointRec, elevation) == 280, "crdPointRec.elevation");
VKCRD_STATIC_ASSERT(offsetof(crdPointRec, description) == 288, "crdPointRec.description");
VKCRD_STATIC_ASSERT(sizeof(crdPointRec) == 544, "crdPointRec size");

/* The per-file record behind a handle; callers only pass its address on. */
struct CfInfoStruct;

/* ---- open, create and close ------------------------------------------------ */

/* 3. Opens (or creates, when no file exists there) the file at path. A new
 * handle (*handle not in use) is given out on success; -1 fails and sets
 * *handle to 65535. A handle whose file is open answers 1 and keeps it; a
 * handle whose file is closed opens the path (0 or -1). vkOnly nonzero
 * refuses every type but 3 and 4 with the message "Coordinate file type not
 * supported.". A path whose file-name part is empty gives -1 at once. */
VKCRD_EXPORT int VkCrdApi_open_coordfile(const char* path, int vkOnly, VkCrdHandle* handle);
/* 4. memory nonzero: a new memory file (*handle 65535 or 0) or a closed
 * handle 0 reopened as one. memory 0: a new empty file "TMPnnnnn.<ext>" of
 * the type in the directory. 1 ok, 0 failure. */
VKCRD_EXPORT int VkCrdApi_OpenSelectFile(VkCrdHandle* handle, const char* directory, int memory,
                                         int type);
/* 5. As ordinal 4, taking the feet flag of the source handle; the new path
 * and, for the indexed types, its index path are written out. 0 ok, 1 failure. */
VKCRD_EXPORT int VkCrdApi_open_random_coordfile(const char* directory, char* outPath,
                                                char* outIndexPath, VkCrdHandle source,
                                                VkCrdHandle* handle, int type, int memory);
/* 6 and 9. 1 while the handle's file (or memory file) is open, else 0. */
VKCRD_EXPORT int VkCrdApi_IsOpen(VkCrdHandle handle);
VKCRD_EXPORT int VkCrdApi_coord_file_open(VkCrdHandle handle);
/* 7. 1 when the handle has a path, else 0. */
VKCRD_EXPORT int VkCrdApi_coord_file_named(VkCrdHandle handle);
/* 8. Closes the file and keeps the handle (a memory file loses its points): 0; unknown 1. */
VKCRD_EXPORT int VkCrdApi_close_coord_file(VkCrdHandle handle);
/* 11. Closes the file, gives up the handle and sets *handle to 65535: 0; unknown 1. */
VKCRD_EXPORT int VkCrdApi_end_coord_file(VkCrdHandle* handle);
/* 33. The memory-mode flag; unknown 0. */
VKCRD_EXPORT int VkCrdApi_IsMemoryFile(VkCrdHandle handle);
/* 35. Deletes the handle's file and its companions (a memory file only
 * loses its points) and sets *handle to 65535: 1; failure or unknown 0. */
VKCRD_EXPORT int VkCrdApi_DeleteFile(VkCrdHandle* handle);
/* 48. Renames the handle's open file (never over an existing file); the
 * handle then names the new path. 1 ok (also for a memory file or the same
 * path), 0 failure or unknown. */
VKCRD_EXPORT int VkCrdApi_RenameFile(VkCrdHandle handle, const char* newPath);

/* ---- walk, read, write and delete -------------------------------------------- */

/* 16. Starts the walk again and empties the name buffer: 0; -1 when a disk
 * file is not open; unknown 0. */
VKCRD_EXPORT int VkCrdApi_find_coord_top(char* nameBuffer, VkCrdHandle handle);
/* 17. The first point into the record: 0; 1 none (record emptied); unknown -1. */
VKCRD_EXPORT int VkCrdApi_get_first_point(VkCrdHandle handle, crdPointRec* buffer);
/* 18. The next point of the walk: 1; 0 none; unknown -1. */
VKCRD_EXPORT int VkCrdApi_next_coord(VkCrdHandle handle, char* nameBuffer, crdPointRec* point);
/* 19. The point before the one named in the buffer: 1; 0 none; unknown -1. */
VKCRD_EXPORT int VkCrdApi_prev_coord(VkCrdHandle handle, char* nameBuffer, crdPointRec* point);
/* 20. 0 found; 1 no coordinate stored; -2 invalid name or format error; -1
 * other failure or unknown. */
VKCRD_EXPORT int VkCrdApi_read_point(VkCrdHandle handle, char* name, crdPointRec* point);
/* 21. 0 deleted; -2 invalid name; -1 failure or unknown. */
VKCRD_EXPORT int VkCrdApi_delete_point(VkCrdHandle handle, char* name);
/* 22. Writes the point (its record is justified in place for a disk file):
 * 0; -2 invalid name or rejected record; -1 failure or unknown. */
VKCRD_EXPORT int VkCrdApi_write_point(int isNew, crdPointRec* point, VkCrdHandle handle);
/* 31. As 22, but with overwrite 0 a stored point of that name is kept and
 * the result is 1. */
VKCRD_EXPORT int VkCrdApi_write_crd_point(int overwrite, crdPointRec* point, VkCrdHandle handle);
/* 15. Number of points; unknown 0. */
VKCRD_EXPORT int VkCrdApi_GetTotalPoints(VkCrdHandle handle);
/* 43. Restarts the disk walk, limited to the range text ("1-3,7", "5-1",
 * "ALL"; null: the whole file). */
VKCRD_EXPORT void VkCrdApi_setRange(VkCrdHandle handle, const char* range);
/* 24. The highest point name into out (unchanged when no disk file is open). */
VKCRD_EXPORT void VkCrdApi_GetMaxPointName(char* out, VkCrdHandle handle);
/* 25. Steps the name in place by step: 1 stepped; 0 no open file, or a
 * numeric file's name held at 1 or 99999. Unknown handles step the text: 1. */
VKCRD_EXPORT int VkCrdApi_IncrementPointName(char* name, VkCrdHandle handle, int step);
/* 28. A blank record in the file's widths, elevation -99999999.0. */
VKCRD_EXPORT void VkCrdApi_null_data(crdPointRec* point, VkCrdHandle handle);
/* 29. Order of two names in the file's rules: -1, 0, 1. */
VKCRD_EXPORT int VkCrdApi_cmp_pts(const char* name1, const char* name2, VkCrdHandle handle);
/* 32. 0 valid; -1 forbidden character; -2 too long or not storable; -3 out
 * of range; -4 empty. */
VKCRD_EXPORT int VkCrdApi_vk_valid_pointid(VkCrdHandle handle, char* name);

/* ---- file properties, names and settings ------------------------------------------ */

/* 10. The handle's path into out (emptied first). */
VKCRD_EXPORT void VkCrdApi_GetCrdFileName(VkCrdHandle handle, char* out);
/* 12. 2 for a memory file, else the file's type (-1 none open or unknown). */
VKCRD_EXPORT int VkCrdApi_GetCrdType(VkCrdHandle handle);
/* 13. 1 feet, 0 not; defaultFlag when the format does not say; unknown -1. */
VKCRD_EXPORT int VkCrdApi_GetCrdFeetFlag(VkCrdHandle handle, int defaultFlag);
/* 14. Sets the feet byte (read back for memory files): 1; unknown 0. */
VKCRD_EXPORT int VkCrdApi_SetCrdFeetFlag(VkCrdHandle handle, char flag);
/* 23, 26, 27. Name, description and code widths (255, 255, 4 when no file
 * is open; 256, 256, 5 for an unknown handle). */
VKCRD_EXPORT int VkCrdApi_GetPointNameSize(VkCrdHandle handle);
VKCRD_EXPORT int VkCrdApi_GetPointDescSize(VkCrdHandle handle);
VKCRD_EXPORT int VkCrdApi_GetPointCodeSize(VkCrdHandle handle);
/* 51, 52. The largest and smallest legal names into out (empty: no limit). */
VKCRD_EXPORT void VkCrdApi_GetMaxLegalPointName(char* out, VkCrdHandle handle);
VKCRD_EXPORT void VkCrdApi_GetMinLegalPointName(char* out, VkCrdHandle handle);
/* 30. The handle's per-file record; null for an unknown handle. */
VKCRD_EXPORT struct CfInfoStruct* VkCrdApi_GetCfInfoStructPtr(VkCrdHandle handle);
/* 39. The file's format version into *out: 1 for a numeric .crd file, the
 * point-database sub-type (0 to 3) of an indexed file, 3 for the others.
 * Result 1; unknown 0. */
VKCRD_EXPORT int VkCrdApi_GetCrdFileVersion(VkCrdHandle handle, int* out);
/* 47. 1 when every point name is a number; 0 not; -1 no file or unknown. */
VKCRD_EXPORT int VkCrdApi_allPtsAreNumeric(VkCrdHandle handle);
/* 38. The type's display name into out ("V and K" shown as "V&K"). */
VKCRD_EXPORT void VkCrdApi_GetCRDTypeName(int type, char* out);
/* 50. The type's extension without its dot ("" for types without one). */
VKCRD_EXPORT const char* VkCrdApi_GetCrdExtension(int type);
/* 40. The name of a rebuild's temporary file for the path into out. */
VKCRD_EXPORT void VkCrdApi_MakeTempCrdFilename(char* out, const char* path, int type);
/* 41, 42. Description length of new files (outside 1..99: 100). */
VKCRD_EXPORT void VkCrdApi_SetNewCrdFileDescLen(int length);
VKCRD_EXPORT int VkCrdApi_GetNewCrdFileDescLen(void);
/* 44. The type of the next new file whose type is not given. */
VKCRD_EXPORT void VkCrdApi_SetDefaultCRDType(int type);
/* 37, 36. The type whose record layout callers read and write (4 at start). */
VKCRD_EXPORT void VkCrdApi_SetCurrentUserType(int type);
VKCRD_EXPORT int VkCrdApi_GetCurrentUserType(void);

/* ---- whole files --------------------------------------------------------------------- */

/* 34. Replaces the destination's points by the source's: 1 ok; 0 failure,
 * an unknown handle, or source and destination being one file (which is
 * then left as it was). */
VKCRD_EXPORT int VkCrdApi_Copy(VkCrdHandle source, VkCrdHandle destination);
/* 49. A new file of the type in the directory holding the source's points;
 * its handle into *handle (65535 first). 1 ok, 0 failure. */
VKCRD_EXPORT int VkCrdApi_FileCopy(VkCrdHandle source, const char* directory, VkCrdHandle* handle,
                                   int type);
/* 53. The host program's open (open nonzero) or save file dialog for
 * coordinate files: 1 when the user confirmed, with the chosen path in
 * outPath and its type in *outType (*allFiles becomes -999 instead when "All
 * Files" was the chosen filter); 2 when the user cancelled, or no host
 * program has a dialog to show. */
VKCRD_EXPORT int VkCrdApi_GetCrdFilenameFromDlg(int open, const char* title, int overwritePrompt,
                                                int* allFiles, const char* initialPath,
                                                int initialType, char* outPath, int* outType,
                                                void* parentWindow);

/* ---- text exchange and descriptions ------------------------------------------------- */

/* 1. Reads the QMX text file at textPath (one point a line:
 * "name,northing,easting,elevation,code,description") into the coordinate
 * file at crdPath, created when no file is there. Names, codes and
 * descriptions pass with at most 10, 4 and 100 characters; a missing or
 * empty elevation means none; a line without a northing and an easting is
 * not imported and is named in a message. Before a stored point is
 * replaced the user is asked (ordinal 46): "Do Not Ask Again" holds for the
 * rest of the file, Cancel ends the import with nothing more written. 1
 * when every line was imported; 0 otherwise, after a message. */
VKCRD_EXPORT int QMXtoCRD(const char* textPath, const char* crdPath);
/* 2. Writes every point of the coordinate file at crdPath to a QMX text
 * file at textPath (CR LF line ends; coordinates with 10 decimals, a point
 * without elevation as -99999999). 1 written; 0 after a message when the
 * coordinate file is missing, cannot be opened or holds no point, or the
 * text file cannot be written (an old one is then left as it was). */
VKCRD_EXPORT int QMXfromCRD(const char* crdPath, const char* textPath);
/* 45. Cleans a description in place: mode -3 removes the line-work tokens
 * BL* EL* CL* PC* OC* PT* RP* CF* CC* RC* (in any case) and trims the
 * blanks at both ends; mode -2 turns every '_' into a blank; mode -4 does
 * both, tokens first; any other mode leaves the text alone. */
VKCRD_EXPORT void VkCrdApi_removeDescItems(char* description, int mode);

#ifdef __cplusplus
}
#endif

#endif
