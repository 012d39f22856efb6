// Not a test: opens the direction map window on a few centres, with the default place list,
// and saves each as PNG for a look, printing the read-out at a point of each.
// direction_map_shots <dir>: tokyo-globe, tokyo-1000km, sydney-globe, south-pacific-globe,
// near-north-pole-globe (.png).
#include "files/place_list_file.h"
#include "map/direction_map_window.h"
#include "support/fake_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

using namespace orvine;

namespace {

Point point(int lat_d, int lat_m, int lat_s, int lon_d, int lon_m, int lon_s)
{
    const auto v = [](int n) { return static_cast<std::int16_t>(n); };
    return Point{v(lat_d), v(lat_m), v(lat_s), v(lon_d), v(lon_m), v(lon_s)};
}

struct Shot {
    const char* file;
    Point centre;
    const char* centre_name;
    Point destination;
    const char* destination_name;
    double radius_km;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    PlaceTable table;
    const PlaceListLoad load = load_place_list(QStringLiteral(ORVINE_DATA_DIR), QStringLiteral("places.txt"), table);
    std::vector<NamedPoint> places;
    for (int i = 0; i < load.records; ++i)
        places.push_back({table.rows[static_cast<std::size_t>(i)].name, table.rows[static_cast<std::size_t>(i)].point});

    const Point tokyo = point(35, 41, 22, 139, 41, 30);
    const Shot shots[] = {
        {"tokyo-globe", tokyo, "東京", point(51, 30, 26, 0, 7, 39), "ロンドン", 20004},
        {"tokyo-1000km", tokyo, "東京", point(34, 41, 38, 135, 30, 4), "大阪", 1000},
        {"sydney-globe", point(-33, 52, 4, 151, 12, 26), "シドニー", tokyo, "東京", 20004},
        {"south-pacific-globe", point(-45, 0, 0, -80, 0, 0), "南太平洋", tokyo, "東京", 20004},
        {"near-north-pole-globe", point(89, 30, 0, 0, 0, 0), "北極点の近く", tokyo, "東京", 20004},
    };
    FakeDialogs dialogs;
    DirectionMapWindow window(dialogs, QStringLiteral(ORVINE_MAP_DATA));
    window.set_places(places);
    window.show();
    for (const Shot& shot : shots) {
        window.set_centre(shot.centre, QString::fromUtf8(shot.centre_name));
        window.set_destination(shot.destination, QString::fromUtf8(shot.destination_name));
        window.set_radius_km(shot.radius_km);
        QApplication::processEvents();
        const QString path = QDir(dir).filePath(QString::fromLatin1(shot.file) + QStringLiteral(".png"));
        window.grab().save(path);
        QWidget* map = window.findChild<QWidget*>(QStringLiteral("direction_map"));
        std::printf("%s: read-out at (100, 100): %s\n", qPrintable(path),
                    qPrintable(window.read_out_text(QPointF(100, 100))));
        std::printf("  %s\n", qPrintable(map->accessibleDescription()));
    }
    for (const DialogCall& call : dialogs.calls)
        std::printf("message: %s\n", qPrintable(call.text));
    return 0;
}
