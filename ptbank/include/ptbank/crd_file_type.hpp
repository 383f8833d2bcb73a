#pragma once
// Coordinate-file types, the library-wide settings that choose them, the
// recognition of a file's type from its content or extension, and the
// conversion of point records between the layouts of the types.

#include "ptbank/crd_io.hpp"

#include <string>
#include <string_view>

namespace ptbank {

// crdFileType codes.
namespace crd_type {
inline constexpr int numeric = 0;        // "Velmora Numeric" .crd
inline constexpr int alphanumeric = 1;   // "Velmora Alphanumeric" .crd
inline constexpr int memory = 2;         // reported by memory-mode handles
inline constexpr int vkAlphanumeric = 3; // .vkc with its .vki index
inline constexpr int vkNumeric = 4;      // .crd with its .idx index
inline constexpr int plainview = 5;      // .zak
inline constexpr int landDesktop = 6;    // .mdb
inline constexpr int civil3d = 7;        // .dwg: recognised, never opened
inline constexpr int unknown = -1;       // detection: absent or empty file
inline constexpr int unrecognised = -2;  // detection: a file of no known type
} // namespace crd_type

// Display name ("Unrecognized" for codes without one) and extension without
// its dot (empty for codes without one).
std::string crdTypeName(int type);
std::string crdTypeExtension(int type);

// ---- library-wide settings (one copy, no locking) --------------------------

// Type for a new file whose type is not given. Setting any value but 1 marks
// it as explicitly set; reading gives it only while so marked, else 1. Every
// open that reaches its back-end puts it back to 1.
int defaultCrdType();
void setDefaultCrdType(int type);
// The type whose record layout the library's callers read and write.
int currentUserType();
void setCurrentUserType(int type);
// Description length handed to a new file; a value outside 1..99 stores 100.
int newFileDescLen();
void setNewFileDescLen(int length);
// Initial state of a file's history switch: always 0 (off).
int historyDefault();
// Puts every setting back to its initial value (1, 1, -1).
void resetCrdSettings();

// ---- recognising a file's type ---------------------------------------------

// The type of an existing file by its content: -1 when it cannot be read or
// is empty, -2 when it is of no known type (or an indexed file lacks its index).
int detectCrdType(const std::string& path);
// The type a new file at this path gets from its extension and defaultCrdType;
// -1 for an extension of no coordinate-file type.
int crdTypeByExtension(std::string_view path);

// The path without its extension, then "_." and the type's extension ("crd"
// when it has none): the name of the temporary file of a rebuild. Only a dot
// inside the file name starts an extension.
std::string makeTempCrdPath(std::string_view path, int type);

// ---- record layouts ----------------------------------------------------------

// Brings a record of the given type's layout to the neutral layout, and back.
void toNeutralRecord(int type, const crdIoPointRec& in, crdIoPointRec& out);
void fromNeutralRecord(int type, const crdIoPointRec& in, crdIoPointRec& out);
// Converts from one type's layout to another's through the neutral layout;
// equal types copy (nothing when in and out are the same record).
void convertCrdRecord(int fromType, int toType, const crdIoPointRec& in, crdIoPointRec& out);

// Elevation encodings of the layouts.
inline constexpr double draftlineTrueZeroElevation = 1e-50;
inline constexpr double numericOriginElevation = 1e-6;
inline constexpr double landDesktopNoElevation = -1.0e20;
inline constexpr double plainviewNoElevation = -100000000.0;

} // namespace ptbank
