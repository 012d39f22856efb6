#include "map/direction_map_drawing.h"

#include "geodesy/azimuth.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QStandardPaths>
#include <QPaintEngine>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace orvine {

const std::array<double, 7> MAP_RADIUS_CHOICES_KM{WHOLE_GLOBE_KM, 10000, 5000, 2000, 1000, 500, 200};
const char* const NATURAL_EARTH_CREDIT =
    "Made with Natural Earth. Free vector and raster map data @ naturalearthdata.com.";

namespace {

constexpr double DEG = M_PI / 180;
constexpr double TEXT_PX = 12;
constexpr double SECTOR_TEXT_PX = 13;
constexpr double SMALL_TEXT_PX = 10.5;
// Room around the disc for the sector names.
constexpr double MARGIN_PX = 2.4 * SECTOR_TEXT_PX;
constexpr double RING_STEPS_KM[] = {20, 50, 100, 200, 500, 1000};

const QColor OUTSIDE_COLOUR(244, 244, 241);
const QColor SEA_COLOUR(214, 232, 246);
const QColor LAND_COLOUR(238, 230, 204);
const QColor COAST_COLOUR(92, 112, 132);
const QColor BORDER_COLOUR(178, 150, 128);
const QColor RING_COLOUR(60, 110, 170, 120);
const QColor SECTOR_COLOUR(178, 34, 34);
const QColor DESTINATION_COLOUR(214, 96, 0);
const QColor PLACE_COLOUR(40, 40, 40);
const QColor HALO_COLOUR(255, 255, 255, 210);

QPainterPath plane_path(const std::vector<PlaneLine>& lines, bool close)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const PlaneLine& line : lines) {
        if (line.size() < 2)
            continue;
        path.moveTo(line[0].x, line[0].y);
        for (std::size_t i = 1; i < line.size(); ++i)
            path.lineTo(line[i].x, line[i].y);
        if (close)
            path.closeSubpath();
    }
    return path;
}

GeoPoint geo_of(const GlobePoint& p) { return {degrees_of(p.lat), degrees_of(p.lon)}; }

// Draws `lines` of text centred in `box` on a light halo, so that they stay readable over
// lines and land.
void draw_label(QPainter& painter, const QRectF& box, const QStringList& lines, const QFont& font,
                const QColor& colour, const QColor& frame = Qt::transparent)
{
    painter.setPen(frame == Qt::transparent ? Qt::NoPen : QPen(frame, 1));
    painter.setBrush(HALO_COLOUR);
    painter.drawRoundedRect(box, 3, 3);
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetricsF metrics(font);
    double y = box.top() + (box.height() - metrics.height() * lines.size()) / 2;
    for (const QString& line : lines) {
        painter.drawText(QRectF(box.left(), y, box.width(), metrics.height()), Qt::AlignCenter, line);
        y += metrics.height();
    }
}

QSizeF label_size(const QStringList& lines, const QFont& font)
{
    const QFontMetricsF metrics(font);
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {width + 6, metrics.height() * lines.size() + 2};
}

bool collides(const QRectF& box, const std::vector<QRectF>& taken)
{
    return std::any_of(taken.begin(), taken.end(), [&](const QRectF& t) { return t.intersects(box); });
}

} // namespace

QString kilometre_text(double km)
{
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(std::llround(km))) + QStringLiteral(" km");
}

QString radius_choice_text(double radius_km)
{
    return radius_km >= WHOLE_GLOBE_KM - 1 ? QStringLiteral("全球") : kilometre_text(radius_km);
}

QString installed_map_data_path()
{
    const QString name = QStringLiteral("direction-map.bin");
    const QString beside = QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                                               .filePath(QStringLiteral(ORVINE_MAP_DATA_FROM_BIN "/") + name));
    if (QFileInfo::exists(beside))
        return beside;
    const QString found =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("orvine/installed/") + name);
    return found.isEmpty() ? beside : found;
}

QString map_data_problem_message(MapDataFault fault, const QString& path)
{
    QString what;
    switch (fault) {
    case MapDataFault::None:
        return {};
    case MapDataFault::Missing:
        what = QStringLiteral("地図データのファイル「%1」がありません。");
        break;
    case MapDataFault::NotRegular:
        what = QStringLiteral("地図データ「%1」は通常のファイルではありません。");
        break;
    case MapDataFault::TooLarge:
        what = QStringLiteral("地図データ「%1」は大きすぎます。");
        break;
    case MapDataFault::Unreadable:
        what = QStringLiteral("地図データ「%1」を読めません。");
        break;
    case MapDataFault::NotMapData:
        what = QStringLiteral("「%1」は方位地図のデータではありません。");
        break;
    case MapDataFault::CutShort:
        what = QStringLiteral("地図データ「%1」は途中で切れています。");
        break;
    case MapDataFault::Damaged:
        what = QStringLiteral("地図データ「%1」は壊れています。");
        break;
    }
    return what.arg(QDir::toNativeSeparators(path)) + QStringLiteral("\r\n陸地と国境を描かずに表示します。");
}

DirectionMapDrawing::DirectionMapDrawing() : radius_km_(WHOLE_GLOBE_KM)
{
    set_content({});
}

void DirectionMapDrawing::set_data(std::shared_ptr<const MapData> data)
{
    data_ = std::move(data);
    projectors_.clear();
    if (data_) {
        for (const MapLevel& level : data_->levels)
            projectors_.push_back(std::make_unique<OutlineProjector>(level));
    }
    outline_key_ = {};
}

void DirectionMapDrawing::set_content(DirectionMapContent content)
{
    content_ = std::move(content);
    const GeoPoint centre = geo_of(content_.centre);
    if (!projection_ || projection_->centre_lat() != centre.lat || projection_->centre_lon() != centre.lon) {
        projection_ = std::make_unique<AzimuthalProjection>(centre.lat, centre.lon);
        outline_key_ = {};
    }
    destination_shown_ = false;
    if (content_.destination) {
        calculate_globe(content_.centre, *content_.destination, false, destination_result_);
        destination_shown_ = destination_result_.refusal == Refusal::None;
    }
}

void DirectionMapDrawing::set_radius_km(double radius_km)
{
    radius_km_ = std::clamp(radius_km, 50.0, WHOLE_GLOBE_KM);
}

QString DirectionMapDrawing::centre_text() const
{
    const QString coordinates = QString::fromStdString(hemisphere_text(Axis::Latitude, content_.centre.lat))
                                + QStringLiteral("　")
                                + QString::fromStdString(hemisphere_text(Axis::Longitude, content_.centre.lon));
    return content_.centre_name.isEmpty() ? coordinates : content_.centre_name + QStringLiteral("　") + coordinates;
}

const GlobeCalculation* DirectionMapDrawing::destination_result() const
{
    return destination_shown_ ? &destination_result_ : nullptr;
}

double DirectionMapDrawing::pixels_per_km(const QRectF& area) const
{
    const double half = std::min(area.width(), area.height()) / 2 - MARGIN_PX;
    return std::max(half, 10.0) / radius_km_;
}

QPointF DirectionMapDrawing::to_area(const QRectF& area, const PlanePoint& p) const
{
    const double s = pixels_per_km(area);
    return {area.center().x() + p.x * s, area.center().y() - p.y * s};
}

PlanePoint DirectionMapDrawing::from_area(const QRectF& area, const QPointF& at) const
{
    const double s = pixels_per_km(area);
    return {(at.x() - area.center().x()) / s, (area.center().y() - at.y()) / s};
}

std::optional<PointerReadOut> DirectionMapDrawing::read_out(const QRectF& area, const QPointF& at) const
{
    return read_out_at(*projection_, content_.centre, from_area(area, at));
}

QFont DirectionMapDrawing::font(double pixels, bool bold) const
{
    QFont f = font_;
    f.setPixelSize(static_cast<int>(std::lround(pixels)));
    f.setBold(bold);
    return f;
}

// The coarsest level whose scale suits the radius: 1:110m down to 2,750 km (its points a few
// pixels apart there), then 1:50m; the finest below that.
int DirectionMapDrawing::level_for_radius() const
{
    const int count = static_cast<int>(data_->levels.size());
    for (int i = 0; i < count; ++i) {
        if (data_->levels[i].scale_millions <= radius_km_ / 25)
            return i;
    }
    return count - 1;
}

void DirectionMapDrawing::update_outlines(const QRectF& area)
{
    if (!has_land()) {
        outlines_ = {};
        land_ = coasts_ = borders_ = QPainterPath();
        return;
    }
    // Everything the corners of the area can show, in steps of an eighth of the radius so that
    // resizing the window seldom cuts the outlines again.
    const double half_diagonal_km = std::hypot(area.width(), area.height()) / 2 / pixels_per_km(area);
    const double unit = radius_km_ / 8;
    const OutlineKey key{level_for_radius(), std::min(WHOLE_GLOBE_KM, std::ceil(half_diagonal_km * 1.02 / unit) * unit),
                         radius_km_ / 150};
    if (key == outline_key_)
        return;
    outline_key_ = key;
    outlines_ = projectors_[key.level]->project(*projection_, key.clip_km, key.step_km);
    land_ = plane_path(outlines_.land, true);
    coasts_ = plane_path(outlines_.coasts, false);
    borders_ = plane_path(outlines_.borders, false);
    mapped_for_.reset();
}

// The outlines in the area's units, mapped again only when the view changes.
void DirectionMapDrawing::update_mapped_outlines(const QTransform& plane_to_area)
{
    if (mapped_for_ == plane_to_area)
        return;
    mapped_for_ = plane_to_area;
    land_mapped_ = plane_to_area.map(land_);
    coasts_mapped_ = plane_to_area.map(coasts_);
    borders_mapped_ = plane_to_area.map(borders_);
}

// On screens and images, thin lines are cosmetic pens (widths in the device's pixels), the
// raster engine's fast path; vector files get the widths as they are.
QPen DirectionMapDrawing::line_pen(const QPainter& painter, const QColor& colour, double width) const
{
    QPen pen(colour, width);
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster) {
        pen.setCosmetic(true);
        pen.setWidthF(width * painter.device()->devicePixelRatioF());
    }
    return pen;
}

void DirectionMapDrawing::paint(QPainter& painter, const QRectF& area)
{
    update_outlines(area);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(area);
    painter.fillRect(area, OUTSIDE_COLOUR);

    const double s = pixels_per_km(area);
    const QPointF c = area.center();
    const double rim_px = WHOLE_GLOBE_KM * s;
    QTransform plane_to_area;
    plane_to_area.translate(c.x(), c.y());
    plane_to_area.scale(s, -s);

    update_mapped_outlines(plane_to_area);

    painter.setPen(Qt::NoPen);
    painter.setBrush(SEA_COLOUR);
    painter.drawEllipse(c, rim_px, rim_px);
    // An antialiased fill of thousands of points costs tens of milliseconds; the land's edge is
    // the antialiased coastline drawn over it.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(land_mapped_, LAND_COLOUR);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(line_pen(painter, BORDER_COLOUR, 0.8));
    painter.drawPath(borders_mapped_);
    painter.setPen(line_pen(painter, COAST_COLOUR, 1.0));
    painter.drawPath(coasts_mapped_);
    painter.setPen(QPen(COAST_COLOUR, 1.4));
    painter.drawEllipse(c, rim_px, rim_px);

    const Marks marks = marks_in(area);
    draw_rings(painter, area, marks);
    draw_sector_rays(painter, area);
    draw_marks(painter, area, marks);
    const QString credit = QStringLiteral("地図データ：Natural Earth");
    const QFont credit_font = font(SMALL_TEXT_PX);
    const QSizeF credit_size = label_size({credit}, credit_font);
    const QRectF credit_box(area.bottomRight() - QPointF(credit_size.width() + 2, credit_size.height() + 2),
                            credit_size);
    std::vector<QRectF> taken{credit_box};
    draw_centre_label(painter, area, taken);
    draw_destination_label(painter, area, marks, taken);
    draw_sector_names(painter, area, taken);
    draw_ring_labels(painter, area, marks, taken);
    draw_place_labels(painter, area, marks, taken);

    draw_label(painter, credit_box, {credit}, credit_font, QColor(90, 90, 90));
    painter.restore();
}

// Rings every 20 .. 1,000 km, about ten to twenty to the radius, labelled as often as the
// labels' height allows; the places inside the globe and the area; the destination.
DirectionMapDrawing::Marks DirectionMapDrawing::marks_in(const QRectF& area) const
{
    Marks marks;
    marks.ring_step_km = RING_STEPS_KM[0];
    for (const double candidate : RING_STEPS_KM) {
        if (candidate <= radius_km_ / 10)
            marks.ring_step_km = candidate;
    }
    const double s = pixels_per_km(area);
    const double label_gap = QFontMetricsF(font(SMALL_TEXT_PX)).height() * 2.2;
    for (const int every : {1, 2, 5, 10, 20}) {
        marks.labelled_every = every;
        if (marks.ring_step_km * every * s >= label_gap)
            break;
    }
    marks.reach_km = std::min(WHOLE_GLOBE_KM, std::hypot(area.width(), area.height()) / 2 / s);

    const double limit_km = WHOLE_GLOBE_KM - ANTIPODE_GAP_DEGREES * DEG * EARTH_RADIUS_KM;
    for (const MapPlace& place : content_.places) {
        const GeoPoint g = geo_of(place.point);
        const PlanePoint p = projection_->forward(g.lat, g.lon);
        const QPointF at = to_area(area, p);
        if (std::hypot(p.x, p.y) <= limit_km && area.contains(at))
            marks.places.push_back({at, &place});
    }
    if (destination_shown_) {
        const GeoPoint g = geo_of(*content_.destination);
        marks.destination = to_area(area, projection_->forward(g.lat, g.lon));
    }
    return marks;
}

void DirectionMapDrawing::draw_rings(QPainter& painter, const QRectF& area, const Marks& marks) const
{
    const double s = pixels_per_km(area);
    const QPointF c = area.center();
    painter.setBrush(Qt::NoBrush);
    for (int k = 1; k * marks.ring_step_km < marks.reach_km; ++k) {
        painter.setPen(line_pen(painter, RING_COLOUR, k % marks.labelled_every == 0 ? 1.0 : 0.6));
        painter.drawEllipse(c, k * marks.ring_step_km * s, k * marks.ring_step_km * s);
    }
}

// The bounds of the program's twelve sectors, as rays from the centre to the rim.
void DirectionMapDrawing::draw_sector_rays(QPainter& painter, const QRectF& area) const
{
    const QPointF c = area.center();
    const double rim_px = WHOLE_GLOBE_KM * pixels_per_km(area);
    painter.setPen(line_pen(painter, SECTOR_COLOUR, 1.0));
    for (const Sector& sector : SECTORS) {
        const double b = sector_first_bearing(sector) * DEG;
        painter.drawLine(c, c + QPointF(std::sin(b), -std::cos(b)) * rim_px);
    }
}

void DirectionMapDrawing::draw_marks(QPainter& painter, const QRectF& area, const Marks& marks) const
{
    const QPointF c = area.center();
    if (marks.destination) {
        painter.setPen(QPen(DESTINATION_COLOUR, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c, *marks.destination);
    }
    painter.setPen(QPen(Qt::white, 0.8));
    painter.setBrush(PLACE_COLOUR);
    for (const PlaceMark& place : marks.places)
        painter.drawEllipse(place.at, 3, 3);
    if (marks.destination) {
        painter.setBrush(DESTINATION_COLOUR);
        painter.setPen(QPen(Qt::white, 1.2));
        painter.drawEllipse(*marks.destination, 4.5, 4.5);
    }
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(c, 5, 5);
    painter.setBrush(Qt::black);
    painter.drawEllipse(c, 1.5, 1.5);
}

void DirectionMapDrawing::draw_centre_label(QPainter& painter, const QRectF& area, std::vector<QRectF>& taken) const
{
    const QPointF c = area.center();
    taken.push_back(QRectF(c - QPointF(6, 6), QSizeF(12, 12)));
    if (content_.centre_name.isEmpty())
        return;
    const QFont label_font = font(TEXT_PX, true);
    const QSizeF size = label_size({content_.centre_name}, label_font);
    const QRectF box(c + QPointF(-size.width() / 2, 8), size);
    draw_label(painter, box, {content_.centre_name}, label_font, Qt::black);
    taken.push_back(box);
}

// The main window's two result texts (and the destination's name) beside the destination, or
// where the ray leaves the area when the destination lies beyond it; on the first side that
// overlaps nothing, else on the right.
void DirectionMapDrawing::draw_destination_label(QPainter& painter, const QRectF& area, const Marks& marks,
                                                 std::vector<QRectF>& taken) const
{
    if (!marks.destination)
        return;
    QStringList lines;
    if (!content_.destination_name.isEmpty())
        lines << content_.destination_name;
    lines << QString::fromStdString(destination_result_.bearing_caption)
          << QString::fromStdString(destination_result_.distance_caption);
    const QFont label_font = font(TEXT_PX, true);
    const QSizeF size = label_size(lines, label_font);
    const QRectF inner = area.adjusted(6, 6, -6, -6);
    const QPointF c = area.center();
    QPointF anchor = *marks.destination;
    if (!inner.contains(anchor)) {
        const QPointF v = anchor - c;
        double t = 1;
        if (std::abs(v.x()) > 1e-9)
            t = std::min(t, (inner.width() / 2) / std::abs(v.x()));
        if (std::abs(v.y()) > 1e-9)
            t = std::min(t, (inner.height() / 2) / std::abs(v.y()));
        anchor = c + v * t;
    }
    const auto kept_inside = [&](QRectF box) {
        box.moveLeft(std::clamp(box.left(), inner.left(), std::max(inner.left(), inner.right() - size.width())));
        box.moveTop(std::clamp(box.top(), inner.top(), std::max(inner.top(), inner.bottom() - size.height())));
        return box;
    };
    const QRectF candidates[] = {
        kept_inside(QRectF(anchor + QPointF(10, -size.height() / 2), size)),
        kept_inside(QRectF(anchor + QPointF(-10 - size.width(), -size.height() / 2), size)),
        kept_inside(QRectF(anchor + QPointF(-size.width() / 2, 10), size)),
        kept_inside(QRectF(anchor + QPointF(-size.width() / 2, -10 - size.height()), size)),
    };
    QRectF box = candidates[0];
    for (const QRectF& candidate : candidates) {
        if (!collides(candidate, taken)) {
            box = candidate;
            break;
        }
    }
    draw_label(painter, box, lines, label_font, DESTINATION_COLOUR.darker(130), DESTINATION_COLOUR);
    taken.push_back(box);
}

// Each sector's name at its middle bearing: outside the rim when the whole globe shows, else
// at the edge of the area; a destination label there keeps its place and the name moves
// inwards.
void DirectionMapDrawing::draw_sector_names(QPainter& painter, const QRectF& area, std::vector<QRectF>& taken) const
{
    const QPointF c = area.center();
    const double rim_px = WHOLE_GLOBE_KM * pixels_per_km(area);
    const QFont name_font = font(SECTOR_TEXT_PX, true);
    const QRectF inner = area.adjusted(3, 3, -3, -3);
    std::vector<QRectF> names;
    for (const Sector& sector : SECTORS) {
        const double b = sector_middle_bearing(sector) * DEG;
        const QPointF dir(std::sin(b), -std::cos(b));
        const QString name = QString::fromUtf8(sector.name);
        const QSizeF size = label_size({name}, name_font);
        const double half_extent = std::abs(dir.x()) * size.width() / 2 + std::abs(dir.y()) * size.height() / 2;
        double distance = rim_px + half_extent + 3;
        if (std::abs(dir.x()) > 1e-9)
            distance = std::min(distance, (inner.width() - size.width()) / 2 / std::abs(dir.x()));
        if (std::abs(dir.y()) > 1e-9)
            distance = std::min(distance, (inner.height() - size.height()) / 2 / std::abs(dir.y()));
        QRectF box(c + dir * distance - QPointF(size.width() / 2, size.height() / 2), size);
        for (int step = 0; step < 8 && collides(box, taken); ++step)
            box.translate(-dir * (2 * half_extent + 2));
        draw_label(painter, box, {name}, name_font, SECTOR_COLOUR);
        names.push_back(box);
    }
    taken.insert(taken.end(), names.begin(), names.end());
}

void DirectionMapDrawing::draw_ring_labels(QPainter& painter, const QRectF& area, const Marks& marks,
                                           std::vector<QRectF>& taken) const
{
    const double s = pixels_per_km(area);
    const QPointF c = area.center();
    const QFont label_font = font(SMALL_TEXT_PX);
    for (int k = marks.labelled_every; k * marks.ring_step_km < marks.reach_km; k += marks.labelled_every) {
        const QString text = kilometre_text(k * marks.ring_step_km);
        const QSizeF size = label_size({text}, label_font);
        const double ring_px = k * marks.ring_step_km * s;
        const QRectF box(QPointF(c.x() - size.width() / 2, c.y() - ring_px - size.height() / 2), size);
        if (area.contains(box) && !collides(box, taken)) {
            draw_label(painter, box, {text}, label_font, QColor(40, 80, 140));
            taken.push_back(box);
        }
    }
}

// Each place's name to the right, left, above or below its dot, where it overlaps nothing
// drawn before (other names, the dots included), else left out.
void DirectionMapDrawing::draw_place_labels(QPainter& painter, const QRectF& area, const Marks& marks,
                                            std::vector<QRectF>& taken) const
{
    const QFont label_font = font(SMALL_TEXT_PX);
    for (const PlaceMark& place : marks.places)
        taken.push_back(QRectF(place.at - QPointF(3, 3), QSizeF(6, 6)));
    for (const PlaceMark& place : marks.places) {
        const QSizeF size = label_size({place.place->name}, label_font);
        const QPointF at = place.at;
        const QRectF candidates[] = {
            QRectF(at + QPointF(5, -size.height() / 2), size),
            QRectF(at + QPointF(-5 - size.width(), -size.height() / 2), size),
            QRectF(at + QPointF(-size.width() / 2, -5 - size.height()), size),
            QRectF(at + QPointF(-size.width() / 2, 5), size),
        };
        for (const QRectF& box : candidates) {
            if (area.contains(box) && !collides(box, taken)) {
                draw_label(painter, box, {place.place->name}, label_font, PLACE_COLOUR);
                taken.push_back(box);
                break;
            }
        }
    }
}

void DirectionMapDrawing::paint_page(QPainter& painter, const QRectF& page, const QString& date_text)
{
    painter.save();
    painter.fillRect(page, Qt::white);
    const double margin = page.width() * 0.04;
    const QRectF inner = page.adjusted(margin, margin, -margin, -margin);
    const QFont title_font = font(TEXT_PX * 1.5, true);
    const QFont small = font(SMALL_TEXT_PX);
    const double title_height = QFontMetricsF(title_font).height();
    const double line_height = QFontMetricsF(small).height();

    painter.setPen(Qt::black);
    painter.setFont(title_font);
    painter.drawText(QRectF(inner.left(), inner.top(), inner.width(), title_height), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("方位地図　") + centre_text());
    painter.setFont(small);
    const QString subtitle = QStringLiteral("正距方位図法：中心から見た方位と距離が正しく表れます　表示半径 ")
                             + radius_choice_text(radius_km_);
    painter.drawText(QRectF(inner.left(), inner.top() + title_height, inner.width(), line_height),
                     Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    painter.drawText(QRectF(inner.left(), inner.top() + title_height, inner.width(), line_height),
                     Qt::AlignRight | Qt::AlignVCenter, date_text);

    const double top = inner.top() + title_height + line_height * 1.6;
    const double side = std::min(inner.width(), inner.bottom() - top - line_height * 1.6);
    const QRectF map_area(inner.left() + (inner.width() - side) / 2, top, side, side);
    paint(painter, map_area);

    painter.setFont(small);
    painter.setPen(QColor(70, 70, 70));
    painter.drawText(QRectF(inner.left(), map_area.bottom() + line_height * 0.4, inner.width(), line_height),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(NATURAL_EARTH_CREDIT));
    painter.restore();
}

} // namespace orvine
