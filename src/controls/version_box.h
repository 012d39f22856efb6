#pragma once
// The version box, shown from the main window and from the place-list window.
#include <QString>

namespace orvine {

class Dialogs;
class NotificationSound;

enum class VersionBoxFrom { MainWindow, PlaceList };

// The box's text; the two windows differ only in the indentation of the last two lines.
QString version_text(VersionBoxFrom from);

// Shows the box and, once it is closed, plays the notification sound.
void show_version_box(Dialogs& dialogs, NotificationSound& sound, VersionBoxFrom from);

} // namespace orvine
