// Feeds arbitrary bytes to the record reader and, through a file, to the settings and
// place-list loaders and the name-check read. Besides crashes and sanitizer reports it
// checks the promise of the format: whatever loads without a problem is written back and
// read again with exactly the same values.
#include "files/place_list_file.h"
#include "files/record_format.h"
#include "files/settings_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace orvine;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void fuzz_reader(const QByteArray& bytes)
{
    static const std::vector<FieldKind> kinds = {FieldKind::Text, FieldKind::Integer, FieldKind::Text,
                                                 FieldKind::Integer};
    RecordReader reader(bytes);
    Record record;
    while (!reader.at_end()) {
        if (auto p = reader.read(kinds, record)) {
            require(p->record == reader.record_number() && p->field >= 1 && p->field <= 4);
            require(!problem_message(*p).isEmpty());
            return;
        }
        QByteArray written;
        if (append_record(written, record))
            std::abort(); // a text that was read must be writable
        RecordReader again(written);
        Record back;
        require(!again.read(kinds, back) && back == record && again.at_end());
    }
}

bool same_places(const PlaceTable& a, const PlaceTable& b, int records)
{
    for (int i = 0; i < records; ++i)
        if (a.rows[i].name != b.rows[i].name || a.rows[i].point != b.rows[i].point)
            return false;
    return true;
}

void write_file(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    require(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    require(f.write(bytes) == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir in_dir;
    static QTemporaryDir out_dir;
    require(in_dir.isValid() && out_dir.isValid());
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    fuzz_reader(bytes);

    write_file(in_dir.filePath("vantorff.ini"), bytes);
    const SettingsLoad settings = load_settings(in_dir.path());
    if (settings.ok()) {
        const Settings& s = settings.settings;
        QFile::remove(out_dir.filePath("vantorff.ini"));
        FileStamp absent;
        require(!save_settings(out_dir.path(), s.list_file, s.place, s.point, absent));
        const SettingsLoad back = load_settings(out_dir.path());
        require(back.ok() && back.settings.list_file == s.list_file && back.settings.place == s.place
                && back.settings.point == s.point);
    } else {
        require(!problem_message(*settings.problem).isEmpty());
    }

    write_file(in_dir.filePath("places.txt"), bytes);
    PlaceTable table;
    const PlaceListLoad load = load_place_list(in_dir.path(), "places.txt", table);
    require(load.records >= 0 && load.records <= PlaceTable::SIZE);
    require(table.loaded_whole() == (load.ok() && !load.notice));
    for (int i = load.records; i < PlaceTable::SIZE; ++i)
        require(table.rows[i].name.isEmpty() && table.rows[i].point == Point{});
    if (table.loaded_whole()) {
        table.place_last = static_cast<std::int16_t>(load.records - 1);
        QFile::remove(out_dir.filePath("places.txt"));
        table.written(FileStamp{}); // the copy goes to a new file
        require(!save_place_list(out_dir.path(), "places.txt", table));
        PlaceTable back;
        const PlaceListLoad again = load_place_list(out_dir.path(), "places.txt", back);
        require(again.ok() && !again.notice && again.records == load.records);
        require(same_places(table, back, load.records));
    } else {
        require(!problem_message(load.problem ? *load.problem : *load.notice).isEmpty());
        require(save_place_list(out_dir.path(), "places.txt", table).has_value());
    }

    const NameCheckRead read = read_places_for_name_check(in_dir.path(), "places.txt");
    require(read.places.size() <= static_cast<std::size_t>(PlaceTable::SIZE) && (read.ok() || read.places.empty()));
    // The check reads past an empty name, so it fails wherever the list read failed
    // before its end, and may fail after it.
    if (read.ok())
        require(load.ok());
    return 0;
}
