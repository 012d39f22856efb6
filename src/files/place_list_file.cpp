#include "files/place_list_file.h"

#include "files/file_io.h"
#include "files/record_format.h"

#include <vector>

namespace orvine {

namespace {

const std::vector<FieldKind> PLACE_FIELDS = {
    FieldKind::Text,    FieldKind::Integer, FieldKind::Integer, FieldKind::Integer,
    FieldKind::Integer, FieldKind::Integer, FieldKind::Integer,
};

FileProblem in_place_list(FileProblem p, const QString& path)
{
    p.file = FileKind::PlaceList;
    p.path = path;
    return p;
}

FileProblem record_problem(FileProblem::Kind kind, const QString& path, int record, int field = 0)
{
    FileProblem p;
    p.kind = kind;
    p.record = record;
    p.field = field;
    return in_place_list(p, path);
}

// Reads the next record as a place; `number` is its 1-based record number.
std::optional<FileProblem> read_place(RecordReader& reader, const QString& path, int number, Place& out)
{
    if (number > PlaceTable::SIZE)
        return record_problem(FileProblem::Kind::TooManyRecords, path, number);
    Record record;
    if (auto p = reader.read(PLACE_FIELDS, record))
        return in_place_list(*p, path);
    out.name = std::get<QString>(record[0]);
    // An empty-name record only marks the end of the list: its values are not loaded, so
    // they need not be within range.
    if (auto p = point_from_record(record, PLACE_LIST_POINT_FIELD, out.point)) {
        if (out.name.isEmpty()) {
            out.point = Point{};
            return std::nullopt;
        }
        p->record = number;
        return in_place_list(*p, path);
    }
    return std::nullopt;
}

// The settings name the place list relative to the settings file's folder; a name that is
// absolute, or that cannot name a file there, would otherwise show as an empty list.
std::optional<FileProblem> file_name_problem(const QString& list_file, const QString& path)
{
    const QString last = list_file.section(QLatin1Char('/'), -1);
    const bool absolute = list_file.startsWith(QLatin1Char('/')) || list_file.startsWith(QLatin1Char('\\'))
        || (list_file.size() >= 2 && list_file[1] == QLatin1Char(':'));
    if (!absolute && !list_file.contains(QChar(0)) && !last.isEmpty() && last != QLatin1String(".")
        && last != QLatin1String(".."))
        return std::nullopt;
    FileProblem p = record_problem(FileProblem::Kind::BadFileName, path, 0);
    p.detail = list_file;
    return p;
}

// The file's bytes for reading as records; a problem when they cannot be read as such.
std::optional<FileProblem> list_bytes(const QString& list_file, const QString& path, FileBytes& file)
{
    if (auto p = file_name_problem(list_file, path))
        return p;
    file = read_whole_file(path, FileKind::PlaceList);
    if (file.problem)
        return file.problem;
    if (detect_encoding(file.bytes) == TextEncoding::Utf8)
        return record_problem(FileProblem::Kind::SavedAsUtf8, path, 0);
    return std::nullopt;
}

void empty_rows_from(PlaceTable& table, int first)
{
    for (int i = first; i < PlaceTable::SIZE; ++i)
        table.rows[i] = Place{};
}

std::optional<FileProblem> save(const QString& files_folder, const QString& list_file,
                                PlaceTable& table, int skip, int replace,
                                const Place* replacement)
{
    const QString path = place_list_path(files_folder, list_file);
    if (!table.loaded_whole())
        return record_problem(FileProblem::Kind::NotLoadedWhole, path, 0);
    if (auto p = file_name_problem(list_file, path))
        return p;
    const int last = table.place_last;
    if (last < -1 || last >= PlaceTable::SIZE)
        return record_problem(FileProblem::Kind::NoSuchEntry, path, last + 1);
    for (int index : {skip, replace})
        if (index != -1 && (index < 0 || index > last))
            return record_problem(FileProblem::Kind::NoSuchEntry, path, index + 1);

    QByteArray bytes;
    for (int i = 0; i <= last; ++i) {
        if (i == skip)
            continue;
        const Place& place = i == replace ? *replacement : table.rows[i];
        if (place.name.isEmpty())
            return record_problem(FileProblem::Kind::EmptyName, path, i + 1, 1);
        if (auto p = check_point_range(place.point, PLACE_LIST_POINT_FIELD)) {
            p->record = i + 1;
            return in_place_list(*p, path);
        }
        Record record{place.name};
        append_point(record, place.point);
        if (auto p = append_record(bytes, record)) {
            p->record = i + 1;
            return in_place_list(*p, path);
        }
    }
    FileStamp source = table.source();
    auto problem = write_whole_file(files_folder, list_file, FileKind::PlaceList, bytes, source);
    table.written(source);
    return problem;
}

} // namespace

QString place_list_path(const QString& files_folder, const QString& list_file)
{
    return files_folder + QLatin1Char('/') + list_file;
}

PlaceListLoad load_place_list(const QString& files_folder, const QString& list_file, PlaceTable& table)
{
    PlaceListLoad result;
    const QString path = place_list_path(files_folder, list_file);
    table.begin_read();
    FileBytes file;
    if ((result.problem = list_bytes(list_file, path, file))) {
        empty_rows_from(table, 0);
        return result;
    }
    RecordReader reader(std::move(file.bytes));
    int count = 0;
    while (!reader.at_end()) {
        Place place;
        if (auto p = read_place(reader, path, count + 1, place)) {
            result.problem = p;
            break;
        }
        if (place.name.isEmpty()) {
            if (!reader.at_end())
                result.notice = record_problem(FileProblem::Kind::RecordsAfterEmptyName, path, count + 1);
            break;
        }
        table.rows[count++] = place;
    }
    empty_rows_from(table, count);
    result.records = count;
    table.end_read(!result.problem && !result.notice, file.stamp);
    return result;
}

std::optional<FileProblem> save_place_list(const QString& files_folder, const QString& list_file,
                                           PlaceTable& table)
{
    return save(files_folder, list_file, table, -1, -1, nullptr);
}

std::optional<FileProblem> save_place_list_skipping(const QString& files_folder,
                                                    const QString& list_file,
                                                    PlaceTable& table, int skip)
{
    if (skip == -1)
        return record_problem(FileProblem::Kind::NoSuchEntry, place_list_path(files_folder, list_file), 0);
    return save(files_folder, list_file, table, skip, -1, nullptr);
}

std::optional<FileProblem> save_place_list_replacing(const QString& files_folder,
                                                     const QString& list_file,
                                                     PlaceTable& table, int index,
                                                     const Place& replacement)
{
    if (index == -1)
        return record_problem(FileProblem::Kind::NoSuchEntry, place_list_path(files_folder, list_file), 0);
    return save(files_folder, list_file, table, -1, index, &replacement);
}

NameCheckRead read_places_for_name_check(const QString& files_folder, const QString& list_file)
{
    NameCheckRead result;
    const QString path = place_list_path(files_folder, list_file);
    FileBytes file;
    if ((result.problem = list_bytes(list_file, path, file)))
        return result;
    RecordReader reader(std::move(file.bytes));
    while (!reader.at_end()) {
        Place place;
        if (auto p = read_place(reader, path, static_cast<int>(result.places.size()) + 1, place)) {
            result.problem = p;
            result.places.clear();
            return result;
        }
        result.places.push_back(place);
    }
    return result;
}

bool name_conflicts(const std::vector<Place>& places, const QString& name, const Point& point)
{
    for (const Place& place : places)
        if (place.name == name && place.point != point)
            return true;
    return false;
}

} // namespace orvine
