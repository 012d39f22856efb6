#pragma once
// The settings file "vantorff.ini" in the files' folder (the program's own in portable use,
// the user's otherwise): one record of eight fields, the place-list file's name, the
// start-up place name and the start-up point (latitude degrees, minutes, seconds, longitude
// degrees, minutes, seconds; entry form).
// Anything after the first record is never read.
#include "files/file_problem.h"
#include "shared_state/file_stamp.h"
#include "shared_state/point.h"

#include <QString>

#include <optional>

namespace orvine {

inline constexpr char SETTINGS_FILE_NAME[] = "vantorff.ini";

struct Settings {
    QString list_file; // the place-list file's name, relative to the settings file's folder
    QString place;     // the start-up place's name (may be empty or "不明")
    Point point;       // the start-up point, entry form, within the bars' ranges
};

struct SettingsLoad {
    Settings settings;                  // valid only when there is no problem, except
                                        // list_file, which is valid when list_file_read
    // Field 1 was read and names a file: the user's place list stays in use even when a
    // later field is damaged (also when the file was saved as UTF-8).
    bool list_file_read = false;
    FileStamp stamp;                    // what save_settings must find in the file
    std::optional<FileProblem> problem; // Missing, Unreadable, NotRegularFile, TooLarge,
                                        // SavedAsUtf8, CutShort, NotANumber, OutOfRange,
                                        // BadText, or EmptyName (field 1 empty)
    bool ok() const { return !problem; }
    // The file is there but could not be read whole: replacing it needs the user's consent.
    bool damaged() const { return problem && problem->kind != FileProblem::Kind::Missing; }
};

// The settings as installed with the program (data/vantorff.ini): the place list
// "places.txt" and 東京 at 35°41′22″ N 139°41′30″ E. For starting up when the settings file
// is missing or damaged.
Settings installed_settings();

// Program directory + "/" + "vantorff.ini".
QString settings_path(const QString& files_folder);

// Reads the first record. The six values must be within the bars' ranges (latitude
// degrees -89..89, longitude degrees -179..179, minutes and seconds 0..59); a value outside
// is an OutOfRange problem naming the record and field, like a damaged file.
SettingsLoad load_settings(const QString& files_folder);

// Rewrites the settings file with one record: `list_file` (pass the name read at start-up,
// unchanged), `place` and `point`, only while the file still matches `last_read` (the
// stamp of the load, or of the last save; else ChangedElsewhere). Refused before anything
// is written when a text cannot be stored (TextNotStorable, field 1 or 2) or a value is
// outside the bars' ranges (OutOfRange); a failed write (WriteFailed, CreateFailed) leaves
// the old file byte for byte. On success `last_read` becomes the new file's stamp.
std::optional<FileProblem> save_settings(const QString& files_folder, const QString& list_file,
                                         const QString& place, const Point& point, FileStamp& last_read);

} // namespace orvine
