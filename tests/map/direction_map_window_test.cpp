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
                const double b = c.b * PI10 / 180, px = c.d * window->drawing().pixels_per_km(area);
                const QPointF expected = area.center() + QPointF(std::sin(b), -std::cos(b)) * px;
                const QPointF drawn = pixel_of(*window, degrees(dst));
                QVERIFY2(std::hypot(drawn.x() - expected.x(), drawn.y() - expected.y()) <= 0.5,
                         qPrintable(QString("B %1 D %2 radius %3").arg(c.b).arg(c.d).arg(radius)));
                ++checked;
            }
        }
        QVERIFY(checked > 300);
    }
    void destination_texts_are_the_main_windows()
    {
        window->set_destination(OSAKA, QString("大阪"));
        const Calculation expected = calculate(TOKYO, OSAKA);
        const QString description = canvas_of(*window)->accessibleDescription();
        QVERIFY(description.contains(QString::fromStdString(expected.bearing_caption))
                && description.contains(QString::fromStdString(expected.distance_caption)));

        window->set_destination(point(-35, 41, 22, -40, 18, 30), QString("x")); // the antipode: refused
        QVERIFY(!window->drawing().destination_result()
                && !canvas_of(*window)->accessibleDescription().contains(QString("目的地")));
    }
    void outline_file_faults()
    {
        QByteArray damaged = test::read_bytes(ORVINE_MAP_DATA);
        damaged[5000] = static_cast<char>(damaged[5000] ^ 0x10);
        const QString path = temp.filePath(QString("direction-map.bin"));
        for (const auto& [bytes, fault] :
             {std::pair(QByteArray(), MapDataFault::Missing), std::pair(damaged, MapDataFault::Damaged)}) {
            QVERIFY(bytes.isEmpty() || test::write_file(path, bytes));
            dialogs.clear();
            DirectionMapWindow w(dialogs, path);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTRY_COMPARE(dialogs.texts(), QStringList{map_data_problem_message(fault, path)});
            QVERIFY(!w.drawing().has_land() && !canvas_of(w)->grab().isNull());
            w.hide();
            w.show();
            QTest::qWait(20);
            QCOMPARE(dialogs.calls.size(), std::size_t{1});
        }
    }
    void zoom_by_choice_keys_and_wheel()
    {
        QVERIFY(window->drawing().has_land());
        auto* choice = window->findChild<QComboBox*>(QString("radius_choice"));
        QWidget* canvas = canvas_of(*window);
        const auto turn_wheel = [canvas](int delta) { // a real wheel event: one notch is 120
            QWheelEvent event(QPointF(50, 50), canvas->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(canvas, &event);
        };
        const std::pair<std::function<void()>, double> steps[] = {
            {[&] { QTest::keyClick(canvas, Qt::Key_Plus); }, 10000},
            {[&] { QTest::keyClick(canvas, Qt::Key_Equal); }, 5000},
            {[&] { QTest::keyClick(canvas, Qt::Key_Minus); }, 10000},
            {[&] { choice->setCurrentIndex(6); }, 200},
            {[&] { QTest::keyClick(canvas, Qt::Key_Plus); }, 200},
            {[&] { turn_wheel(-120); }, 500},
            {[&] { turn_wheel(-60); }, 500},
            {[&] { turn_wheel(-60); }, 1000},
            {[&] { turn_wheel(120); }, 500},
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
        const QRegularExpression shape(
            QString("^方位(.*)　距離(.*)　北緯 (\\d+)度(\\d+)分(\\d+)秒　東経 (\\d+)度(\\d+)分(\\d+)秒$"));
        const QRegularExpressionMatch m = shape.match(read_out->text());
        QVERIFY2(m.hasMatch(), qPrintable(read_out->text()));
        const auto at = [&m](int i) { return m.captured(i).toInt(); };
        const Point read = point(at(3), at(4), at(5), at(6), at(7), at(8));
        const Calculation c = calculate(TOKYO, read);
        QCOMPARE(m.captured(1), QString::fromStdString(c.bearing_caption));
        QCOMPARE(m.captured(2), QString::fromStdString(c.distance_caption));
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
        printer.setOutputFileName(printed);
        QVERIFY(window->print_to(printer) && dialogs.calls.empty());
        printer.setOutputFileName(temp.filePath("none/printed.pdf"));
        QVERIFY(!window->print_to(printer));
        QCOMPARE(dialogs.texts(), QStringList(QString("印刷を始められませんでした。")));

        QXmlStreamReader xml(test::read_bytes(svg));
        QString text;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::Characters)
                text += xml.text();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const Sector& sector : SECTORS)
            QVERIFY2(text.contains(QString::fromUtf8(sector.name)), sector.name);

        QCOMPARE(QImage(png).size(), QSize(1600, 1760));
        const QRegularExpression page(QString("/Type\\s*/Page[^s]")); // found in a PDF only
        for (const QString& path : {pdf, printed})
            QCOMPARE(QString::fromLatin1(test::read_bytes(path)).count(page), 1);
    }
    // On a full disk: no new file is left behind, and an old one keeps its bytes.
    void failed_saves_leave_nothing()
    {
        for (const auto& [name, old] :
             {std::pair(QString("map.png"), QByteArray()), std::pair(QString("map.pdf"), QByteArray("old bytes"))}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(name);
            QVERIFY(old.isEmpty() || test::write_file(path, old));
            dialogs.clear();
            std::optional<test::FileSizeLimit> full(std::in_place, 4096);
            const bool saved = old.isEmpty() ? window->save_image(path) : window->save_pdf(path);
            full.reset();
            QVERIFY(!saved && dialogs.texts().size() == 1
                    && dialogs.texts()[0].contains(QDir::toNativeSeparators(path)));
            const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            QCOMPARE(left, old.isEmpty() ? QStringList() : QStringList{name});
            QCOMPARE(old.isEmpty() ? QByteArray() : test::read_bytes(path), old);
        }
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
