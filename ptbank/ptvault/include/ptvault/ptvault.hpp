#pragma once
// ptvault: the point-database library behind the Land Desktop (.mdb) and
// Plainview (.zak) coordinate files, as the coordinate file library calls it.
//
// This is our own stand-in. It keeps each database in a file of its own
// simple format (a "TARNWELL PTVAULT" signature, then the points), so it
// reads and writes only databases it made itself: an .mdb or .zak file made
// by another program is refused at open with status -12 and a message
// saying so (cf_dftl_last_message), never read as an empty database.
//
// Every function takes the address of the caller's 32-bit database handle
// (0 while none is open). Statuses: 1 success; 0 not found or not done; -5
// no such database handle; -4 the file could not be written; -12 the file
// cannot be opened or is not a database of this stand-in; -1 no point of
// that name to remove. The record cursor visits points in point-name order
// (digit runs by value, letters without regard to case); names equal
// without regard to case are one point.

#include <cstdint>

// The point record of an .mdb database.
struct lddPoint {
    double northing;
    double easting;
    double elevation;
    char description[256];
    char name[256];
    std::uint32_t number; // value of the name's leading digits; 0 when none
};

// The point record of a .zak database.
class ZakPoint {
public:
    virtual ~ZakPoint() = default;

    double northing = 0.0;
    double easting = 0.0;
    double elevation = 0.0;
    char name[9] = {};         // 8 characters and a terminator
    char description[29] = {}; // 28 characters and a terminator
};

// mode 0 opens an existing database, 1 creates an empty one (replacing the
// file). The two ints of the .mdb open are -1 and -1 when opening, 9 and 31
// when creating; the stand-in does not use them. On success the handle is
// set and the highest and lowest names (256-byte buffers) are filled, empty
// for an empty database.
int cf_dftl_open_ldd_db(std::int32_t* handle, const char* path, int mode, int first, int second,
                        char* highestName, char* lowestName);
int cf_dftl_close_ldd_db(std::int32_t* handle);
// The number of points, or a negative status.
int cf_dftl_get_number_points_ldd(std::int32_t* handle);
// direction 0: that name; 1: it or the next greater; -1: it or the next
// smaller. 1 with *record filled and the record cursor on it, else 0.
int cf_dftl_find_point_ldd(std::int32_t* handle, const char* name, int direction,
                           lddPoint** record);
// Adds or replaces the point of the record's name; the third argument is -1.
int cf_dftl_write_point_ldd(std::int32_t* handle, lddPoint** record, int flag);
int cf_dftl_remove_point_ldd(std::int32_t* handle, const char* name);
int cf_dftl_remove_points_ldd(std::int32_t* handle);
// Moves the record cursor by step records: 1, or 0 past either end.
int cf_dftl_move_record_pointer_ldd(std::int32_t* handle, int step);
int cf_dftl_read_current_pos_ldd(std::int32_t* handle, lddPoint** record);

int cf_dftl_open_zak_db(std::int32_t* handle, const char* path, int mode, char* highestName,
                        char* lowestName);
int cf_dftl_close_zak_db(std::int32_t* handle);
int cf_dftl_get_number_points_zak(std::int32_t* handle);
int cf_dftl_find_point_zak(std::int32_t* handle, const char* name, int direction,
                           ZakPoint** record);
int cf_dftl_write_point_zak(std::int32_t* handle, ZakPoint** record, int flag);
int cf_dftl_remove_point_zak(std::int32_t* handle, const char* name);
int cf_dftl_remove_points_zak(std::int32_t* handle);
int cf_dftl_move_record_pointer_zak(std::int32_t* handle, int step);
int cf_dftl_read_current_pos_zak(std::int32_t* handle, ZakPoint** record);

// The stand-in's own: why the last failing call failed, in words that name
// the file (empty after a success).
const char* cf_dftl_last_message();
