#pragma once
// Every variable that the three windows share. One instance is owned by main() and
// handed to each window; nothing here is global.
//
// The hand-over: before the main window opens the place-list or a map window it writes its
// bars' point and name into the transfer point and hides itself. The other window saves a
// copy of it, and on its way out writes its choice (or the saved copy) back into the
// transfer point, sets the hand-over flags and shows the main window again, whose
// activation (main_window/activation.h) decides from these values what to show.
#include "shared_state/file_stamp.h"
#include "shared_state/map_kind.h"
#include "shared_state/place_table.h"
#include "shared_state/point.h"

#include <QString>

namespace orvine {

struct SharedState {
    // The point the main window last handed out or was handed, with its name.
    Point transfer_point;
    QString transfer_name;
    // The transfer point as it was when the other window opened; put back on a cancel.
    Point saved_point;
    QString saved_name;
    // Start-up point: read from the settings file, or registered in the place-list window.
    Point start_point;
    QString start_name;
    // The fixed departure point (in signed form after a calculation) and the destination.
    Point departure;
    QString departure_name;
    Point destination;

    bool entering_departure = false;      // the bars take the departure point, not the destination
    bool point_handed_over = false;       // another window handed a point over in this phase
    bool destination_handed_over = false; // a handed-over destination is not yet computed
    bool result_shown = false;            // a computed result is on display
    MapKind map_kind = MapKind::Japan;    // the map the map window shows next

    QString list_file;             // place-list file name, as read from the settings file
    FileStamp settings_stamp;      // the settings file as last read or written
    bool settings_damaged = false; // it exists but could not be read whole: replacing it
                                   // needs the user's consent
    QString shown_bearing;         // the bearing text last shown
    QString shown_distance;        // the distance text last shown

    PlaceTable places;

    // The folder that holds the settings and place-list files: beside a portable copy of
    // the program or the user's own data folder in a real run (files/file_location.h), a
    // temporary directory in tests.
    QString files_folder;
};

} // namespace orvine
