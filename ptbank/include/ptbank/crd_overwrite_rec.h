#ifndef PTBANK_CRD_OVERWRITE_REC_H
#define PTBANK_CRD_OVERWRITE_REC_H
/*
 * The request of the point-overwrite question: a program about to replace a
 * point already stored in a coordinate file fills it with the stored point
 * and the point it wants to write, plus display settings, and hands it to
 * whoever asks the user (the host program's prompt). The answer is one of the
 * VKCRD_ANSWER_* codes; the question itself never writes.
 *
 * pointNames: the names offered when the user picks another point name; each
 * a zero-terminated text allocated with malloc, the array too; the owner of
 * the record frees every text and then the array.
 */

#include "ptbank/vk_crd_api.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VKCRD_ANSWER_OVERWRITE 181     /* overwrite this point */
#define VKCRD_ANSWER_OVERWRITE_ALL 182 /* overwrite, and do not ask again */
#define VKCRD_ANSWER_KEEP 183          /* keep the stored point */
#define VKCRD_ANSWER_KEEP_ALL 184      /* keep, and do not ask again */
#define VKCRD_ANSWER_RENAMED 185       /* write the proposed point under the free name it now has */
#define VKCRD_ANSWER_CANCEL 2
#define VKCRD_ANSWER_NOT_SHOWN (-1) /* the question could not be shown */

/* Bits of editMask: what the user may change in the proposed point (31: all). */
#define VKCRD_EDIT_NAME 1
#define VKCRD_EDIT_POSITION 2
#define VKCRD_EDIT_ELEVATION 4
#define VKCRD_EDIT_CODE 8
#define VKCRD_EDIT_DESCRIPTION 16

typedef struct crdOverwriteRec {
    char title[260];        /* caption of the question's message boxes */
    char appKey[260];       /* key under which the prompt keeps its window position */
    int useRegistry;        /* 1: position kept in the user profile; 0: in positionFile */
    char positionFile[260]; /* path of the position text file */
    VkCrdHandle handle;     /* the coordinate file, for reading a newly chosen name */
    char** pointNames;      /* names offered for a new point name (see above) */
    int pointNameCount;
    crdPointRec current;  /* the point stored in the file */
    crdPointRec proposed; /* the point to write; on return as the user confirmed it */
    int showDoNotAsk;     /* nonzero shows "Do Not Ask Again" */
    int doNotAskAgain;    /* out: 1 when it was ticked */
    int overwriteChosen;  /* out: 1 after "Overwrite", 0 after "Do Not Overwrite" */
    int editMask;         /* VKCRD_EDIT_* bits */
    int northingFirst;    /* nonzero: the first coordinate row is the northing */
    int coordDecimals;    /* decimals shown for northing and easting */
    int elevDecimals;     /* decimals shown for elevations */
    int elevEditable;
    int codeEditable;
    int descEditable;
} crdOverwriteRec;

VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, appKey) == 260, "crdOverwriteRec.appKey");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, useRegistry) == 520, "crdOverwriteRec.useRegistry");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, positionFile) == 524, "crdOverwriteRec.positionFile");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, handle) == 784, "crdOverwriteRec.handle");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, pointNames) == 792, "crdOverwriteRec.pointNames");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, current) == 808, "crdOverwriteRec.current");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, proposed) == 1352, "crdOverwriteRec.proposed");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, showDoNotAsk) == 1896,
                    "crdOverwriteRec.showDoNotAsk");
VKCRD_STATIC_ASSERT(offsetof(crdOverwriteRec, descEditable) == 1932,
                    "crdOverwriteRec.descEditable");
VKCRD_STATIC_ASSERT(sizeof(crdOverwriteRec) == 1936, "crdOverwriteRec size");

/* 46. Asks the user whether to replace record->current by record->proposed,
 * over parentWindow (the host program's window, or null), and returns the
 * VKCRD_ANSWER_* code; never writes. Two points whose descriptions and codes
 * agree once blanks at both ends are dropped, and whose northing, easting
 * and elevation each differ by less than 1e-11, are the same point: 181 at
 * once, nothing shown. -1 when no question can be shown (no host program
 * with windows). */
VKCRD_EXPORT int VkCrdApi_overwrite_point(crdOverwriteRec* record, void* parentWindow);

/* The record's reset state: the point name texts freed and the list emptied,
 * both points, title, appKey and positionFile cleared, handle 65535; the
 * question shows "Do Not Ask Again" and the northing first, keeps its window
 * position in the user profile, allows no edits, and shows coordinates with
 * 5 decimals and elevations with 3. */
VKCRD_EXPORT void resetOverwriteRec(crdOverwriteRec* record);

#ifdef __cplusplus
}
#endif

#endif
