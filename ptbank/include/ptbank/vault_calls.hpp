#pragma once
// The ptvault functions the .mdb and .zak back-ends call, reached through
// one table so that a test can put a scripted fake in their place. Programs
// keep the defaults: the ptvault library itself.

#include "ptvault/ptvault.hpp"

namespace ptbank {

struct LddVaultCalls {
    decltype(&cf_dftl_open_ldd_db) openDb = cf_dftl_open_ldd_db;
    decltype(&cf_dftl_close_ldd_db) closeDb = cf_dftl_close_ldd_db;
    decltype(&cf_dftl_get_number_points_ldd) pointCount = cf_dftl_get_number_points_ldd;
    decltype(&cf_dftl_find_point_ldd) findPoint = cf_dftl_find_point_ldd;
    decltype(&cf_dftl_write_point_ldd) writePoint = cf_dftl_write_point_ldd;
    decltype(&cf_dftl_remove_point_ldd) removePoint = cf_dftl_remove_point_ldd;
    decltype(&cf_dftl_remove_points_ldd) removePoints = cf_dftl_remove_points_ldd;
    decltype(&cf_dftl_move_record_pointer_ldd) moveCursor = cf_dftl_move_record_pointer_ldd;
    decltype(&cf_dftl_read_current_pos_ldd) readCurrent = cf_dftl_read_current_pos_ldd;
};

struct ZakVaultCalls {
    decltype(&cf_dftl_open_zak_db) openDb = cf_dftl_open_zak_db;
    decltype(&cf_dftl_close_zak_db) closeDb = cf_dftl_close_zak_db;
    decltype(&cf_dftl_get_number_points_zak) pointCount = cf_dftl_get_number_points_zak;
    decltype(&cf_dftl_find_point_zak) findPoint = cf_dftl_find_point_zak;
    decltype(&cf_dftl_write_point_zak) writePoint = cf_dftl_write_point_zak;
    decltype(&cf_dftl_remove_point_zak) removePoint = cf_dftl_remove_point_zak;
    decltype(&cf_dftl_remove_points_zak) removePoints = cf_dftl_remove_points_zak;
    decltype(&cf_dftl_move_record_pointer_zak) moveCursor = cf_dftl_move_record_pointer_zak;
    decltype(&cf_dftl_read_current_pos_zak) readCurrent = cf_dftl_read_current_pos_zak;
};

struct VaultCalls {
    LddVaultCalls ldd;
    ZakVaultCalls zak;
    // Why the last failing open failed, for the console; may return null.
    decltype(&cf_dftl_last_message) lastMessage = cf_dftl_last_message;
};

// The library-wide table; replace members to redirect them.
VaultCalls& vaultCalls();
// Puts every member back to the ptvault function.
void resetVaultCalls();

} // namespace ptbank
