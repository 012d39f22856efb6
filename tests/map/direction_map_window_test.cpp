#include "map/direction_map_window.h"
#include "geodesy/azimuth.h"
#include "geodesy/calculation.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"

#include <QPrinter>
#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <random>

using namespace orvine;

namespace {

const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point OSAKA{34, 41, 38, 135, 30, 4};

Point point(int lat_d, int lat_m, int lat_s, int lon_d, int lon_m, int lon_s)
{
    using S = std::int16_t;
    return Point{S(lat_d), S(lat_m), S(lat_s), S(lon_d), S(lon_m), S(lon_s)};
}

QWidget* canvas_of(const DirectionMapWindow& w) { return w.findChild<QWidget*>(QStringLiteral("direction_map")); }
QRectF area_of(const DirectionMapWindow& w) { return QRectF(canvas_of(w)->rect()); }

QPointF pixel_of(const DirectionMapWindow& w, const GeoPoint& g)
{
    return w.drawing().to_area(area_of(w), w.drawing().projection().forward(g.lat, g.lon));
}

GeoPoint degrees(const Point& p)
{
    return {dms_to_radians(p.latitude.degrees, p.latitude.minutes, p.latitude.seconds) * 180 / PI10,
            dms_to_radians(p.longitude.degrees, p.longitude.minutes, p.longitude.seconds) * 180 / PI10};
}

// A real wheel event: one notch is 120.
void turn_wheel(QWidget* widget, int delta)
{
    QWheelEvent event(QPointF(50, 50), widget->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
}

QStringList listing(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class DirectionMapWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dialogs.clear();
        window = std::make_unique<DirectionMapWindow>(dialogs, QString(ORVINE_MAP_DATA));
        window->set_centre(TOKYO, QString("東京"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    // The destination's pixel lies within half a pixel of where the bearing and distance put it.
    void projection_gives_back_the_programs_bearing_and_distance()
    {
        std::mt19937 random(21);
        const auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        int checked = 0;
        for (const double radius : {WHOLE_GLOBE_KM, 1000.0}) {
            window->set_radius_km(radius);
            for (int i = 0; i < 300; ++i) {
                const int lat = any(-89, 89), lon = any(-179, 180);
                const Point dep = point(lat, any(0, 59), any(0, 59), lon, any(0, 59), any(0, 59));
                const Point dst = radius < WHOLE_GLOBE_KM
                    ? point(std::clamp(lat + any(-6, 6), -89, 89), any(0, 59), 0,
                            std::clamp(lon + any(-6, 6), -179, 180), any(0, 59), 0)
                    : point(any(-89, 89), any(0, 59), any(0, 59), any(-179, 180), any(0, 59), any(0, 59));
                const Calculation c = calculate(dep, dst);
                if (c.refusal != Refusal::None || c.d > radius)
                    continue;
                window->set_centre(dep, {});
                const QRectF area = area_of(*window);
                const double scale = window->drawing().pixels_per_km(area);
                const double b = c.b * PI10 / 180;
                const QPointF expected = area.center() + QPointF(std::sin(b), -std::cos(b)) * c.d * scale;
                const QPointF drawn = pixel_of(*window, degrees(dst));
                QVERIFY2(std::hypot(drawn.x() - expected.x(), drawn.y() - expected.y()) <= 0.5,
                         qPrintable(QString("B %1 D %2 radius %3").arg(c.b).arg(c.d).arg(radius)));
                ++checked;
            }
        }
        QVERIFY(checked > 300);
    }
    void sector_rays_lie_on_the_programs_bounds()
    {
        const QRectF area = area_of(*window);
        for (const double radius : {WHOLE_GLOBE_KM, 500.0}) {
            window->set_radius_km(radius);
            const GlobePoint centre = {angle_from_seconds(35 * 3600 + 41 * 60 + 22),
                                       angle_from_seconds(139 * 3600 + 41 * 60 + 30)};
            for (int i = 0; i < 12; ++i) {
                const double ray = sector_first_bearing(SECTORS[i]);
                for (const double side : {0.01, -0.01}) {
                    const double b = (ray + side) * M_PI / 180;
                    const QPointF at = area.center() + QPointF(std::sin(b), -std::cos(b)) * 150;
                    const GeoPoint g = window->drawing().projection().reverse(window->drawing().from_area(area, at));
                    GlobeCalculation c;
                    calculate_globe(centre, {angle_from_degrees(g.lat), angle_from_degrees(g.lon)}, false, c);
                    QCOMPARE(c.sector->name, SECTORS[side > 0 ? i : (i + 11) % 12].name);
                }
            }
        }
    }
    void destination_texts_are_the_main_windows()
    {
        window->set_destination(OSAKA, QString("大阪"));
        const Calculation expected = calculate(TOKYO, OSAKA);
        const GlobeCalculation* shown = window->drawing().destination_result();
        QVERIFY(shown && shown->bearing_caption == expected.bearing_caption
                && shown->distance_caption == expected.distance_caption);
        const QString description = canvas_of(*window)->accessibleDescription();
        QVERIFY(description.contains(QString::fromStdString(expected.bearing_caption))
                && description.contains(QString::fromStdString(expected.distance_caption)));

        for (const Point& refused : {TOKYO, point(-35, 41, 22, -40, 18, 30)}) {
            window->set_destination(refused, QString("x"));
            QVERIFY(!window->drawing().destination_result());
        }
        window->clear_destination();
        QVERIFY(!canvas_of(*window)->accessibleDescription().contains(QString("目的地")));
    }
    void outline_file_faults_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file
        QTest::addColumn<int>("fault");
        QByteArray damaged = test::read_bytes(ORVINE_MAP_DATA);
        QVERIFY(damaged.size() > 5000);
        damaged[5000] = static_cast<char>(damaged[5000] ^ 0x10);
        QTest::newRow("missing") << QByteArray() << int(MapDataFault::Missing);
        QTest::newRow("damaged") << damaged << int(MapDataFault::Damaged);
    }
    void outline_file_faults()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, fault);
        const QString path = temp.filePath(QString("direction-map.bin"));
        QFile::remove(path);
        QVERIFY(bytes.isEmpty() || test::write_file(path, bytes));
        DirectionMapWindow w(dialogs, path);
        dialogs.clear();
        w.set_centre(TOKYO, QString("東京"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(dialogs.texts(), QStringList{map_data_problem_message(static_cast<MapDataFault>(fault), path)});
        QVERIFY(!w.drawing().has_land() && !canvas_of(w)->grab().isNull());
        w.hide();
        w.show();
        QTest::qWait(20);
        QCOMPARE(dialogs.calls.size(), std::size_t{1});
    }
    void zoom_by_choice_keys_and_wheel()
    {
        QVERIFY(window->drawing().has_land());
        auto* choice = window->findChild<QComboBox*>(QString("radius_choice"));
        QWidget* canvas = canvas_of(*window);
        QCOMPARE(window->radius_km(), WHOLE_GLOBE_KM);
        const std::pair<std::function<void()>, double> steps[] = {
            {[&] { QTest::keyClick(canvas, Qt::Key_Plus); }, 10000},
            {[&] { QTest::keyClick(canvas, Qt::Key_Equal); }, 5000},
            {[&] { QTest::keyClick(canvas, Qt::Key_Minus); }, 10000},
            {[&] { choice->setCurrentIndex(6); }, 200},
            {[&] { QTest::keyClick(canvas, Qt::Key_Plus); }, 200},
            {[&] { turn_wheel(canvas, -120); }, 500},
            {[&] { turn_wheel(canvas, -60); }, 500},
            {[&] { turn_wheel(canvas, -60); }, 1000},
            {[&] { choice->setCurrentIndex(0); }, WHOLE_GLOBE_KM},
            {[&] { QTest::keyClick(canvas, Qt::Key_Minus); }, WHOLE_GLOBE_KM},
        };
        for (const auto& [act, radius] : steps) {
            act();
            QCOMPARE(window->radius_km(), radius);
            QCOMPARE(choice->currentText(), radius_choice_text(radius));
        }
        QTest::keyClick(canvas, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }
    void read_out_under_the_pointer()
    {
        QWidget* canvas = canvas_of(*window);
        auto* read_out = window->findChild<QLabel*>(QString("pointer_read_out"));
        window->set_radius_km(200);
        const Point target = point(35, 51, 30, 139, 51, 30);
        QTest::mouseMove(canvas, pixel_of(*window, degrees(target)).toPoint());
        const QRegularExpressionMatch m =
            QRegularExpression(
                QString("^方位(.*)　距離(.*)　北緯 (\\d+)度(\\d+)分(\\d+)秒　東経 (\\d+)度(\\d+)分(\\d+)秒$"))
                .match(read_out->text());
        QVERIFY2(m.hasMatch(), qPrintable(read_out->text()));
        const auto at = [&m](int i) { return m.captured(i).toInt(); };
        const Point read = point(at(3), at(4), at(5), at(6), at(7), at(8));
        const Calculation c = calculate(TOKYO, read);
        QCOMPARE(m.captured(1), QString::fromStdString(c.bearing_caption));
        QCOMPARE(m.captured(2), QString::fromStdString(c.distance_caption));
        QVERIFY(m.captured(1).endsWith(QString("北北東（丑）")));
        // On a 1.5 × screen within a pixel and a half: window, map and pointer each round to a screen pixel.
        const double pixel_km = 1 / window->drawing().pixels_per_km(area_of(*window));
        const double pixel_seconds = pixel_km / EARTH_RADIUS_KM * 180 / M_PI * 3600;
        const GeoPoint aimed = degrees(target), got = degrees(read);
        QVERIFY(std::abs(got.lat - aimed.lat) * 3600 <= 1.5 * pixel_seconds + 1);
        QVERIFY(std::abs(got.lon - aimed.lon) * 3600 * std::cos(aimed.lat * M_PI / 180) <= 1.5 * pixel_seconds + 1);

        window->set_radius_km(WHOLE_GLOBE_KM);
        QTest::mouseMove(canvas, QPoint(2, 2));
        QCOMPARE(read_out->text(), QString());
    }
    void saved_files_hold_the_map()
    {
        window->set_destination(OSAKA, QString("大阪"));
        const QString svg = temp.filePath("map.svg"), png = temp.filePath("map.png"), pdf = temp.filePath("map.pdf");
        const QString printed = temp.filePath("printed.pdf");
        QVERIFY(window->save_image(svg) && window->save_image(png) && window->save_pdf(pdf));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        QVERIFY(window->print_to(printer));
        QCOMPARE(dialogs.calls.size(), std::size_t{0});

        QFile svg_file(svg);
        QVERIFY(svg_file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&svg_file);
        QString text;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::Characters)
                text += xml.text();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const Sector& sector : SECTORS)
            QVERIFY2(text.contains(QString::fromUtf8(sector.name)), sector.name);

        QCOMPARE(QImage(png).size(), QSize(1600, 1760));
        for (const QString& path : {pdf, printed}) {
            const QByteArray bytes = test::read_bytes(path);
            QVERIFY(bytes.startsWith("%PDF"));
            QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression(QString("/Type\\s*/Page[^s]"))), 1);
        }
    }
    void failed_saves_leave_nothing_data()
    {
        QTest::addColumn<QString>("name");      // in the temporary folder
        QTest::addColumn<QByteArray>("old");    // what the file held before; empty: none
        QTest::addColumn<qint64>("size_limit"); // 0: none
        QTest::newRow("folder is a file") << QString("plain/map.svg") << QByteArray() << qint64(0);
        QTest::newRow("disk full, new png") << QString("map.png") << QByteArray() << qint64(4096);
        QTest::newRow("disk full, old pdf") << QString("map.pdf") << QByteArray("old bytes") << qint64(4096);
    }
    void failed_saves_leave_nothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(qint64, size_limit);
        QTemporaryDir dir;
        QVERIFY(test::write_file(dir.filePath("plain"), {}));
        const QString path = dir.filePath(name);
        QVERIFY(old.isEmpty() || test::write_file(path, old));
        const QStringList before = listing(dir.path());
        bool saved = true;
        {
            std::optional<test::FileSizeLimit> limit;
            if (size_limit > 0)
                limit.emplace(static_cast<rlim_t>(size_limit));
            saved = name.endsWith(QString(".pdf")) ? window->save_pdf(path) : window->save_image(path);
        }
        QVERIFY(!saved && dialogs.calls.size() == 1 && dialogs.calls[0].text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(old.isEmpty() ? QByteArray() : test::read_bytes(path), old);
    }
    // Painted at the screen's own resolution (QT_SCALE_FACTOR 1.5 and 2 in the scaled runs).
    void drawn_at_the_screens_own_pixels()
    {
        QWidget* canvas = canvas_of(*window);
        const QPixmap shot = canvas->grab();
        QCOMPARE(shot.devicePixelRatio(), canvas->devicePixelRatioF());
        QCOMPARE(shot.width(), qRound(canvas->width() * canvas->devicePixelRatioF()));
    }

private:
    FakeDialogs dialogs;
    std::unique_ptr<DirectionMapWindow> window;
    QTemporaryDir temp;
};

QTEST_MAIN(DirectionMapWindowTest)
#include "direction_map_window_test.moc"
