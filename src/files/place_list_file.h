#pragma once
// The place-list file, named by the settings file and kept in the files' folder:
// zero to 101 records of a name and six values (latitude degrees, minutes, seconds,
// longitude degrees, minutes, seconds; entry form, within the bars' ranges), in table
// order. A record with an empty name ends the list.
//
// A table is rewritten to the file only while it holds a faithful copy of the whole file
// (PlaceTable::loaded_whole(), set by load_place_list alone): a list that could not be
// read whole is never written back from what was read of it. Every rewrite either
// completes or leaves the file byte for byte as it was, and happens only while the file
// still holds what the table was read from (PlaceTable::source()); see write_whole_file.
#include "files/file_problem.h"
#include "shared_state/place_table.h"
#include "shared_state/point.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvine {

// Program directory + "/" + list_file.
QString place_list_path(const QString& files_folder, const QString& list_file);

struct PlaceListLoad {
    int records = 0;                    // named places loaded into rows 0..records-1
    std::optional<FileProblem> problem; // why the file could not be read whole
    // RecordsAfterEmptyName when the list ended at an empty name with more records behind
    // it: they are not in the table, so the table is not loaded whole; tell the user.
    std::optional<FileProblem> notice;
    bool ok() const { return !problem; }
};

// Reads the file into table rows 0, 1, 2, ... up to the first record with an empty name
// (that record and those after it are not loaded) and empties every row after the last
// one loaded. A missing file is an empty list. The table is marked loaded whole only when
// every record of the file is in it: on a problem, and when records follow an empty name
// (notice), it holds the records read before (for showing) and is marked not loaded
// whole, so that no save function will rewrite the file from it. A list_file that cannot
// name a file of the files' folder is BadFileName; a file saved as UTF-8 is
// SavedAsUtf8 and nothing of it is loaded. place_last is left to the caller (typically
// records - 1).
PlaceListLoad load_place_list(const QString& files_folder, const QString& list_file, PlaceTable& table);

// Rewrites the file with rows 0..place_last. Refused, with nothing written:
// NotLoadedWhole when the table was not read whole; TextNotStorable / EmptyName /
// OutOfRange for a row the file cannot hold faithfully (record = index + 1);
// ChangedElsewhere when the file no longer holds what the table was read from (read it
// again). WriteFailed / CreateFailed leave the old file intact. An empty table writes a
// zero-byte file. On success the table's source becomes the new file.
std::optional<FileProblem> save_place_list(const QString& files_folder, const QString& list_file,
                                           PlaceTable& table);

// As save_place_list, leaving row `skip` out (a deletion: the rows behind it move up in
// the file). `skip` must be in 0..place_last (else NoSuchEntry). The table is not changed;
// read it back with load_place_list afterwards.
std::optional<FileProblem> save_place_list_skipping(const QString& files_folder,
                                                    const QString& list_file,
                                                    PlaceTable& table, int skip);

// As save_place_list, writing `replacement` instead of row `index` (a correction).
// `index` must be in 0..place_last (else NoSuchEntry). The table is not changed; replace
// the row after the write succeeded.
std::optional<FileProblem> save_place_list_replacing(const QString& files_folder,
                                                     const QString& list_file,
                                                     PlaceTable& table, int index,
                                                     const Place& replacement);

struct NameCheckRead {
    std::vector<Place> places;          // every record of the file, in order
    std::optional<FileProblem> problem; // the check cannot be made; places is empty
    bool ok() const { return !problem; }
};

// The read behind the name checks of "次　へ" and "方位表示": every record of the file, to
// its end and also past an empty name. A missing file is an empty list. Only reads: the
// place table the place-list window keeps is not involved.
NameCheckRead read_places_for_name_check(const QString& files_folder, const QString& list_file);

// True when one of `places` is named `name` but lies at a point other than `point`: the
// name no longer fits the shown point and becomes "不明".
bool name_conflicts(const std::vector<Place>& places, const QString& name, const Point& point);

} // namespace orvine
