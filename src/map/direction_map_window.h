#pragma once
// The direction map window (方位地図): the whole Earth seen from the departure point, with the
// twelve directions, the user's places and the destination. Not modal; the main window keeps it
// up to date through the plain setters below and may keep it open beside itself.
//
// Zoom: the radius choice, the mouse wheel and the + and - keys step through the radii of
// MAP_RADIUS_CHOICES_KM (全球 .. 200 km), always centred. The line under the map reads out the
// point under the pointer: bearing and direction name, distance, latitude and longitude, as the
// main window would show them for that point. Escape closes the window (it is hidden, and kept
// for the next opening).
//
// The outline file is read when the window is first shown, never at the program's start. When
// it is missing or damaged a message says so once and the map is drawn without land.
#include "map/direction_map_drawing.h"
#include "map/direction_map_export.h"
#include "shared_state/point.h"

#include <QString>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace orvine {

class Dialogs;

// A point of the user's place list as the window shows it.
struct NamedPoint {
    QString name;
    Point point; // entry (or signed) form
};

class DirectionMapWindow : public QWidget {
    Q_OBJECT
public:
    // `data_path`: the outline file; empty for the installed one (installed_map_data_path()).
    // With a parent the window is still a window of its own.
    explicit DirectionMapWindow(Dialogs& dialogs, const QString& data_path = {}, QWidget* parent = nullptr);
    ~DirectionMapWindow() override;

    // The centre (the departure point, in entry or signed form) and its name (may be empty).
    void set_centre(const Point& centre, const QString& name);
    // The destination, drawn with its ray and the main window's result texts; a destination
    // that the calculation refuses (the centre itself, its antipode) is not drawn.
    void set_destination(const Point& destination, const QString& name);
    void clear_destination();
    void set_places(const std::vector<NamedPoint>& places);

    double radius_km() const;
    void set_radius_km(double radius_km); // the nearest choice
    void zoom_in();
    void zoom_out();

    // What the save and print buttons do after their dialogs. A failed save shows a message
    // naming the file and leaves nothing under its name (or the old file as it was).
    // save_image writes PNG or SVG by the name's suffix (PNG when it is neither).
    bool save_image(const QString& path);
    bool save_pdf(const QString& path);
    bool print_to(QPrinter& printer);

    const DirectionMapDrawing& drawing() const { return drawing_; }
    // The read-out for a position of the map (in its own pixels); empty beyond the globe.
    QString read_out_text(const QPointF& at) const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class DirectionMapCanvas;

    void load_data();
    void choose_image_file();
    void choose_pdf_file();
    void print();
    bool save(const QString& path, MapFileFormat format);
    void content_changed();
    void show_read_out(const QPointF& at);
    void zoom_steps(int steps);

    Dialogs& dialogs_;
    QString data_path_;
    bool data_loaded_ = false;
    DirectionMapDrawing drawing_;
    DirectionMapContent content_;

    QLabel* caption_;
    QComboBox* radius_choice_;
    QPushButton* save_image_button_;
    QPushButton* save_pdf_button_;
    QPushButton* print_button_;
    QWidget* canvas_;
    QLabel* read_out_;
};

} // namespace orvine
