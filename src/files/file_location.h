#pragma once
// Which folder holds the settings file and the place list.
//
// Portable use: a copy of the program kept in a folder of its own, with vantorff.ini beside
// the executable in a folder the user may write, reads and writes both files there.
// Installed use (every other case, including a read-only or system folder such as /usr/bin):
// the files live in the user's own data folder, $XDG_DATA_HOME/orvine (normally
// ~/.local/share/orvine), seeded once from the defaults installed in
// <datadir>/orvine/installed. That subfolder holds only what the installation owns, so an
// install into ~/.local (whose data folder is the user's own) never writes or removes a user
// file. Nothing is ever written into the folder of the executable in installed use. The
// bytes of the files are the same in both uses, so a user may copy them from one to the other.
#include <QString>

namespace orvine {

// The executable's folder when it holds vantorff.ini and may be written; else user_folder.
QString choose_files_folder(const QString& program_dir, const QString& user_folder);

// $XDG_DATA_HOME/orvine: the place list is the user's own work, kept where XDG keeps data
// rather than settings (see the README). A relative XDG_DATA_HOME is ignored, as the XDG
// rule says, for ~/.local/share.
QString user_files_folder();

// The files installed with the program: <program_dir>/../share/orvine/installed (or the data
// folder the build was configured with, relative to the executable), else the first
// "orvine/installed" folder of the absolute $XDG_DATA_HOME and $XDG_DATA_DIRS. Empty when
// none holds vantorff.ini.
QString installed_defaults_folder(const QString& program_dir);

// Creates user_folder when needed (each folder it creates private to the user, 0700, as the
// XDG rule asks) and copies into it the installed places.txt and vantorff.ini where it lacks
// them, the settings file last and only once the list is there; a file already there is never
// replaced. The copies are the user's to rewrite and follow the user's umask, whatever the
// installed files' modes. Empty when the folder holds its files, else why not, as sentences for
// the user: the start-up then meets a missing settings file, whose message says so.
QString seed_user_folder(const QString& user_folder, const QString& defaults_folder);

// The folder for this run: portable or per-user (the latter created and seeded).
// Without a HOME nothing is created (the folder would lie at the root of the file system).
QString files_folder_for_run(const QString& program_dir);

// Why `folder`, as the last files_folder_for_run() chose it, lacks its files (it could not be
// created, or a copy failed); empty when it was set up, and for any other folder.
QString files_folder_problem(const QString& folder);

} // namespace orvine
