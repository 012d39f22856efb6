#pragma once
// orvine --map FILE.svg|.png|.pdf [--radius KM] LAT LON [LAT2 LON2]
// Draws the direction map (方位地図) centred on LAT LON, with the destination LAT2 LON2 and its
// ray if given, into FILE without a window, and exits. Coordinates take every form that
// orvine-calc reads. The same drawing as the window's; the data file is the installed one.

namespace orvine {

// Whether the arguments ask for the map (--map or --radius, before any "--"); --help and
// --version go to the program's own answers instead.
bool is_map_command(int argc, char* argv[]);

// Picks the offscreen platform before the application object exists, draws and writes the
// file. Returns 0 when written, 1 when the file could not be written (nothing is left under
// its name), 2 for arguments it cannot use; says why on standard error.
int run_map_command(int argc, char* argv[]);

} // namespace orvine
