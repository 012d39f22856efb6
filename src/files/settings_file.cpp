#include "files/settings_file.h"

#include "files/file_io.h"
#include "files/file_location.h"
#include "files/record_format.h"

namespace orvine {

namespace {

const std::vector<FieldKind> SETTINGS_FIELDS = {
    FieldKind::Text,    FieldKind::Text,    FieldKind::Integer, FieldKind::Integer,
    FieldKind::Integer, FieldKind::Integer, FieldKind::Integer, FieldKind::Integer,
};

FileProblem in_settings(FileProblem p, const QString& path)
{
    p.file = FileKind::Settings;
    p.path = path;
    return p;
}

} // namespace

Settings installed_settings()
{
    return Settings{QStringLiteral("places.txt"), QStringLiteral("東京"), Point{35, 41, 22, 139, 41, 30}};
}

QString settings_path(const QString& files_folder)
{
    return files_folder + QLatin1Char('/') + QLatin1String(SETTINGS_FILE_NAME);
}

SettingsLoad load_settings(const QString& files_folder)
{
    SettingsLoad result;
    const QString path = settings_path(files_folder);
    FileBytes file = read_whole_file(path, FileKind::Settings);
    result.stamp = file.stamp;
    // A folder that could not be set up explains why the file is not there.
    const QString setup_problem = files_folder_problem(files_folder);
    if (!file.exists || (file.problem && !setup_problem.isEmpty())) {
        FileProblem p;
        p.kind = FileProblem::Kind::Missing;
        p.detail = setup_problem;
        result.problem = in_settings(p, path);
        return result;
    }
    if (file.problem) {
        result.problem = file.problem;
        return result;
    }
    const TextEncoding encoding = detect_encoding(file.bytes);
    RecordReader reader(std::move(file.bytes), encoding);
    Record record;
    std::optional<FileProblem> problem;
    if (reader.at_end()) {
        FileProblem p;
        p.kind = FileProblem::Kind::CutShort;
        p.record = 1;
        p.field = 1;
        problem = p;
    } else {
        problem = reader.read(SETTINGS_FIELDS, record);
    }
    if (!record.empty()) {
        result.settings.list_file = std::get<QString>(record[0]);
        result.list_file_read = !result.settings.list_file.isEmpty();
    }
    if (encoding == TextEncoding::Utf8) {
        FileProblem p;
        p.kind = FileProblem::Kind::SavedAsUtf8;
        problem = p;
    } else if (!problem && !result.list_file_read) {
        FileProblem p;
        p.kind = FileProblem::Kind::EmptyName;
        p.record = 1;
        p.field = 1;
        problem = p;
    } else if (!problem) {
        result.settings.place = std::get<QString>(record[1]);
        if ((problem = point_from_record(record, SETTINGS_POINT_FIELD, result.settings.point)))
            problem->record = 1;
    }
    if (problem)
        result.problem = in_settings(*problem, path);
    return result;
}

std::optional<FileProblem> save_settings(const QString& files_folder, const QString& list_file,
                                         const QString& place, const Point& point, FileStamp& last_read)
{
    const QString path = settings_path(files_folder);
    if (list_file.isEmpty()) {
        FileProblem p;
        p.kind = FileProblem::Kind::EmptyName;
        p.record = 1;
        p.field = 1;
        return in_settings(p, path);
    }
    if (auto p = check_point_range(point, SETTINGS_POINT_FIELD)) {
        p->record = 1;
        return in_settings(*p, path);
    }
    Record record{list_file, place};
    append_point(record, point);
    QByteArray bytes;
    if (auto p = append_record(bytes, record)) {
        p->record = 1;
        return in_settings(*p, path);
    }
    return write_whole_file(files_folder, QLatin1String(SETTINGS_FILE_NAME), FileKind::Settings, bytes, last_read);
}

} // namespace orvine
