// The map window from the keyboard and with a screen reader.
#include "map/map_canvas.h"
#include "map/map_window.h"
#include "support/fake_dialogs.h"
#include "resources/resource_paths.h"
#include "shared_state/shared_state.h"

#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

using namespace orvine;
using namespace Qt::StringLiterals;

class MapAccessTest : public QObject {
    Q_OBJECT
private slots:
    void keys_are_announced();
};

// Opened twice on each map: an unmarked cross at the middle, given by the map's description
// (the worked examples of the read-out) and the labels, the map focused within its ring;
// each arrow and the mark make a new pointed place that takes the focus, named by position.
void MapAccessTest::keys_are_announced()
{
    for (const auto& [kind, middle, right] :
         {std::tuple(MapKind::Japan, u"北緯36度8分5秒　東経134度15分55秒"_s, u"北緯36度8分5秒　東経134度19分0秒"_s),
          std::tuple(MapKind::World, u"南緯0度0分1秒　東経0度0分35秒"_s, u"南緯0度0分1秒　東経0度27分40秒"_s)}) {
        SharedState m;
        m.map_kind = kind;
        FakeDialogs dialogs;
        QMainWindow main;
        MapWindow map(m, dialogs, main);
        auto* picture = map.findChild<MapCanvas*>(kind == MapKind::Japan ? "Picture1" : "Picture2");
        QImage crossed = QImage(kind == MapKind::Japan ? JAPAN_MAP : WORLD_MAP).convertToFormat(QImage::Format_RGB32);
        const QPoint centre(crossed.width() / 2, crossed.height() / 2);
        for (int y = 0; y < crossed.height(); ++y)
            for (int x = 0; x < crossed.width(); ++x)
                if ((x == centre.x()) != (y == centre.y()))
                    crossed.setPixel(x, y, crossed.pixel(x, y) ^ (MapCanvas::cross_rgb & 0xffffffu));
        const auto ring = [&] {
            const QImage client = map.centralWidget()->grab().toImage();
            return client.pixelColor((picture->geometry().topLeft() + QPoint(-1, 9)) * client.devicePixelRatio())
                == picture->palette().color(QPalette::Highlight);
        };
        for (int round = 0; round < 2; ++round) {
            map.show();
            QTRY_VERIFY(picture->hasFocus());
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture);
            QVERIFY(picture->image() == crossed && picture->accessibleDescription() == middle);
            QCOMPARE(map.findChild<QLabel*>("lblkhun")->text(), middle.section(u"度"_s, 2, 2).section(u"分"_s, 0, 0));
            QVERIFY(iface->state().focused && iface->childCount() == 0 && ring());
            QVERIFY(!map.findChild<QPushButton*>("btndecide")->isEnabled());

            QTest::keyClick(picture, Qt::Key_Right);
            QAccessibleInterface* place = iface->focusChild();
            QVERIFY(picture->accessibleDescription() == right && place && place->state().focused
                    && !iface->state().focused);
            QCOMPARE(place->text(QAccessible::Name), right);
            QTest::keyClick(picture, Qt::Key_Space);
            QVERIFY(iface->focusChild() != place && map.findChild<QPushButton*>("btndecide")->isEnabled());
            QCOMPARE(iface->focusChild()->text(QAccessible::Name), u"印を付けた地点　"_s + right);
            map.findChild<QPushButton*>("btnClose")->setFocus();
            QVERIFY(!ring() && !iface->focusChild());
            map.findChild<QPushButton*>("btnClose")->click();
        }
    }
}

QTEST_MAIN(MapAccessTest)
#include "map_access_test.moc"
