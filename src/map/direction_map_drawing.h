#pragma once
// The one drawing of the direction map (方位地図), shared by the window, its exports and the
// headless `orvine --map`: the globe on the azimuthal equidistant projection centred on the
// departure point, land and borders, distance rings, the twelve sectors of the program's
// sector table with their names, the user's places, and the destination with its ray and the
// main window's result texts. QtGui only (QPainter), no widgets.
//
// Painter units are pixels of the area the map is drawn in (device-independent pixels on a
// screen); the map is always centred in its area, and the radius is the distance in km from the
// centre to the nearer edge of the area, less a margin for the sector names.
#include "map/direction_map_data.h"
#include "map/direction_map_geometry.h"

#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <QRectF>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace orvine {

// The choices of radius offered by the window, widest first: the whole globe (its rim is the
// antipode), then 10,000 km down to 200 km.
extern const std::array<double, 7> MAP_RADIUS_CHOICES_KM;
// "全球" for the whole globe, else e.g. "1,000 km".
QString radius_choice_text(double radius_km);
// "1,000 km" with a thousands separator.
QString kilometre_text(double km);

struct MapPlace {
    QString name;
    GlobePoint point;
};

struct DirectionMapContent {
    GlobePoint centre;   // -90 < lat < 90
    QString centre_name; // may be empty
    std::optional<GlobePoint> destination;
    QString destination_name; // may be empty
    std::vector<MapPlace> places;
};

// Where the outline file is installed: <program>/../share/orvine/installed/direction-map.bin
// (the same path relative to the executable in the build tree), else the first
// orvine/installed/direction-map.bin on $XDG_DATA_DIRS; the first path when none exists.
QString installed_map_data_path();

// The message for an outline file that could not be used, naming the file; the map is then
// drawn without land. Line breaks are "\r\n".
QString map_data_problem_message(MapDataFault fault, const QString& path);

// The credit that every export carries.
extern const char* const NATURAL_EARTH_CREDIT;

class DirectionMapDrawing {
public:
    DirectionMapDrawing();

    // The outlines; null draws no land (sectors, rings and places still).
    void set_data(std::shared_ptr<const MapData> data);
    bool has_land() const { return data_ && !data_->levels.empty(); }

    void set_content(DirectionMapContent content);
    const DirectionMapContent& content() const { return content_; }

    // Clamped to 50 .. WHOLE_GLOBE_KM.
    void set_radius_km(double radius_km);
    double radius_km() const { return radius_km_; }

    // The family of the texts; sizes are the drawing's own.
    void set_font_family(const QFont& font) { font_ = font; }

    // "東京　北緯 35度41分22秒　東経 139度41分30秒" (the name only when there is one).
    QString centre_text() const;
    // The calculation from the centre to the destination, as the main window shows it; null
    // when there is no destination or the program refuses it (same point, antipode).
    const GlobeCalculation* destination_result() const;

    void paint(QPainter& painter, const QRectF& area);
    // A page for print and export: title (centre and date) above the map, the credit below.
    void paint_page(QPainter& painter, const QRectF& page, const QString& date_text);

    // Between plane kilometres and the painter's units of `area`.
    double pixels_per_km(const QRectF& area) const;
    QPointF to_area(const QRectF& area, const PlanePoint& p) const;
    PlanePoint from_area(const QRectF& area, const QPointF& at) const;
    std::optional<PointerReadOut> read_out(const QRectF& area, const QPointF& at) const;

    const AzimuthalProjection& projection() const { return *projection_; }
    // The outlines drawn by the last paint, in plane kilometres.
    const ProjectedOutlines& outlines() const { return outlines_; }

private:
    struct OutlineKey {
        int level = -1;
        double clip_km = 0;
        double step_km = 0;
        bool operator==(const OutlineKey& o) const
        {
            return level == o.level && clip_km == o.clip_km && step_km == o.step_km;
        }
    };

    struct PlaceMark {
        QPointF at;
        const MapPlace* place;
    };
    // What one paint draws besides the outlines, in the area's units.
    struct Marks {
        double ring_step_km = 0;
        int labelled_every = 1;
        double reach_km = 0; // from the centre to the area's corners, at most the whole globe
        std::vector<PlaceMark> places;
        std::optional<QPointF> destination;
    };

    int level_for_radius() const;
    void update_outlines(const QRectF& area);
    void update_mapped_outlines(const QTransform& plane_to_area);
    QPen line_pen(const QPainter& painter, const QColor& colour, double width) const;
    Marks marks_in(const QRectF& area) const;
    void draw_rings(QPainter& painter, const QRectF& area, const Marks& marks) const;
    void draw_sector_rays(QPainter& painter, const QRectF& area) const;
    void draw_marks(QPainter& painter, const QRectF& area, const Marks& marks) const;
    void draw_centre_label(QPainter& painter, const QRectF& area, std::vector<QRectF>& taken) const;
    void draw_destination_label(QPainter& painter, const QRectF& area, const Marks& marks,
                                std::vector<QRectF>& taken) const;
    void draw_sector_names(QPainter& painter, const QRectF& area, std::vector<QRectF>& taken) const;
    void draw_ring_labels(QPainter& painter, const QRectF& area, const Marks& marks, std::vector<QRectF>& taken) const;
    void draw_place_labels(QPainter& painter, const QRectF& area, const Marks& marks, std::vector<QRectF>& taken) const;
    QFont font(double pixels, bool bold = false) const;

    std::shared_ptr<const MapData> data_;
    std::vector<std::unique_ptr<OutlineProjector>> projectors_;
    DirectionMapContent content_;
    std::unique_ptr<AzimuthalProjection> projection_;
    GlobeCalculation destination_result_;
    bool destination_shown_ = false;
    double radius_km_;
    QFont font_;

    OutlineKey outline_key_;
    ProjectedOutlines outlines_;
    QPainterPath land_, coasts_, borders_;
    std::optional<QTransform> mapped_for_;
    QPainterPath land_mapped_, coasts_mapped_, borders_mapped_;
};

} // namespace orvine
