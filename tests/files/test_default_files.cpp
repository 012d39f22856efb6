#include "files/place_list_file.h"
#include "files/settings_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace orvine;
using namespace orvine::test;

namespace {

const QString DATA_DIR = QStringLiteral(ORVINE_DATA_DIR);

} // namespace

TEST(DefaultFiles, SettingsNameThePlaceListAndStartInTokyo)
{
    const SettingsLoad load = load_settings(DATA_DIR);
    ASSERT_TRUE(load.ok()) << problem_message(*load.problem).toStdString();
    EXPECT_EQ(load.settings.list_file, "places.txt");
    EXPECT_EQ(load.settings.place, TOKYO);
    EXPECT_EQ(load.settings.point, (Point{35, 41, 22, 139, 41, 30}));
    EXPECT_TRUE(QFileInfo::exists(place_list_path(DATA_DIR, load.settings.list_file)));
    // The copy kept inside the program for a missing or damaged settings file.
    EXPECT_EQ(installed_settings().list_file, load.settings.list_file);
    EXPECT_EQ(installed_settings().place, load.settings.place);
    EXPECT_EQ(installed_settings().point, load.settings.point);
}

TEST(DefaultFiles, PlaceListLoadsWholeWithDistinctNamedPlaces)
{
    PlaceTable table;
    const PlaceListLoad load = load_place_list(DATA_DIR, "places.txt", table);
    ASSERT_TRUE(load.ok()) << problem_message(*load.problem).toStdString();
    EXPECT_FALSE(load.notice);
    EXPECT_GE(load.records, 40);
    EXPECT_LE(load.records, 60);
    QStringList names;
    for (int i = 0; i < load.records; ++i) {
        EXPECT_FALSE(names.contains(table.rows[i].name)) << i;
        names << table.rows[i].name;
    }
    // A few places checked against their well-known positions (within a few minutes).
    struct Known {
        const char* name;
        int lat_do, lat_hun, lon_do, lon_hun;
    };
    const Known known[] = {{"東京", 35, 41, 139, 41}, {"大阪", 34, 41, 135, 30}, {"札幌", 43, 4, 141, 21},
                           {"ニューヨーク", 40, 42, -74, 0}, {"シドニー", -33, 52, 151, 12}};
    for (const Known& k : known) {
        const int i = names.indexOf(QString::fromUtf8(k.name));
        ASSERT_GE(i, 0) << k.name;
        const Point& p = table.rows[i].point;
        EXPECT_NEAR(p.ido_do * 60 + (p.ido_do < 0 ? -p.ido_hun : p.ido_hun),
                    k.lat_do * 60 + (k.lat_do < 0 ? -k.lat_hun : k.lat_hun), 3) << k.name;
        EXPECT_NEAR(p.kei_do * 60 + (p.kei_do < 0 ? -p.kei_hun : p.kei_hun),
                    k.lon_do * 60 + (k.lon_do < 0 ? -k.lon_hun : k.lon_hun), 3) << k.name;
    }
}

TEST(DefaultFiles, AreByteForByteWhatTheProgramWrites)
{
    ProgramDir dir;
    PlaceTable table;
    const PlaceListLoad load = load_place_list(DATA_DIR, "places.txt", table);
    ASSERT_TRUE(load.ok());
    table.place_last = static_cast<std::int16_t>(load.records - 1);
    // Written into another folder, where no file is yet.
    PlaceTableAccess::set_source(table, FileStamp{});
    ASSERT_FALSE(save_place_list(dir.path(), "places.txt", table));
    EXPECT_EQ(read_bytes(dir.file("places.txt")), read_bytes(DATA_DIR + "/places.txt"));

    const SettingsLoad settings = load_settings(DATA_DIR);
    ASSERT_TRUE(settings.ok());
    FileStamp absent;
    ASSERT_FALSE(save_settings(dir.path(), settings.settings.list_file, settings.settings.place,
                               settings.settings.point, absent));
    EXPECT_EQ(read_bytes(dir.file("vantorff.ini")), read_bytes(DATA_DIR + "/vantorff.ini"));
}
