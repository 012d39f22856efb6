#pragma once
// Every variable that the three windows share. One instance is owned by main() and
// handed to each window; nothing here is global.
#include "shared_state/file_stamp.h"
#include "shared_state/place_table.h"
#include "shared_state/point.h"

#include <QString>

#include <cstdint>

namespace orvine {

struct Module1 {
    // Transfer point: the point the main window last handed out or was handed.
    Point pt;
    QString pt_place;
    // Saved copy of the transfer point, taken when another window becomes active.
    Point bk;
    QString bk_place;
    // Start-up point: read from the settings file, or registered in the place-list window.
    Point init;
    QString init_place;
    // Stored departure point (may be in signed form after a calculation) and destination.
    Point dep;
    QString dep_place;
    Point dst;

    std::int16_t start_mode = 0;   // 1 while the departure point is entered, 0 for the destination
    std::int16_t pt_taken = 0;     // 1 once another window handed a point over in this phase
    std::int16_t dest_taken = 0;   // 1 when a destination was handed over and not yet computed
    std::int16_t result_shown = 0; // 1 while a computed result is on display
    std::int16_t map_kind = 0;     // 0 Japan map, 1 world map

    QString list_file;             // place-list file name, as read from the settings file
    FileStamp settings_stamp;      // the settings file as last read or written
    bool settings_damaged = false; // it exists but could not be read whole: replacing it
                                   // needs the user's consent
    QString res_direction;         // last bearing text shown
    QString res_distance;          // last distance text shown

    PlaceTable places;

    // The folder that holds the settings and place-list files: beside a portable copy of
    // the program or the user's own data folder in a real run (files/file_location.h), a
    // temporary directory in tests.
    QString program_dir;
};

} // namespace orvine
