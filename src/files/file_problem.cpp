#include "files/file_problem.h"

#include "files/file_io.h"

#include <QDir>

namespace orvine {

namespace {

QString file_label(const FileProblem& p)
{
    const QString kind = p.file == FileKind::Settings ? QStringLiteral("設定ファイル")
                                                      : QStringLiteral("地点一覧ファイル");
    return kind + QStringLiteral("「") + QDir::toNativeSeparators(p.path) + QStringLiteral("」");
}

QString field_name(FileKind file, int field)
{
    static const char* const VALUES[6] = {"緯度（度）", "緯度（分）", "緯度（秒）",
                                          "経度（度）", "経度（分）", "経度（秒）"};
    const int first_value = file == FileKind::Settings ? 3 : 2;
    if (field >= first_value && field < first_value + 6)
        return QString::fromUtf8(VALUES[field - first_value]);
    if (file == FileKind::Settings)
        return field == 1 ? QStringLiteral("地点一覧ファイル名") : QStringLiteral("初期設定の地名");
    return QStringLiteral("地名");
}

// "の第3レコード、第2項目「緯度（度）」" (or less, when no record or field applies).
QString location(const FileProblem& p)
{
    if (p.record <= 0)
        return QString();
    QString text = QStringLiteral("の第%1レコード").arg(p.record);
    if (p.field > 0)
        text += QStringLiteral("、第%1項目「%2」").arg(p.field).arg(field_name(p.file, p.field));
    return text;
}

QString with_detail(const QString& text, const QString& detail)
{
    return detail.isEmpty() ? text : text + QStringLiteral("\r\n（") + detail + QStringLiteral("）");
}

QString read_fault_reason(TextFault fault)
{
    switch (fault) {
    case TextFault::DoubleQuote:
        return QStringLiteral("引用符で囲まれていない文字列の中に「\"」があります");
    case TextFault::LineBreak:
        return QStringLiteral("引用符の中で改行しています。閉じる「\"」が欠けているようです");
    case TextFault::NotShiftJis:
        return QStringLiteral("Shift-JIS の文字として読めないバイトがあります");
    case TextFault::TextAfterQuote:
        return QStringLiteral("閉じる「\"」の後に余分な文字があります");
    case TextFault::TooLong:
        return QStringLiteral("%1文字を超えています").arg(MAX_TEXT_LENGTH);
    case TextFault::None:
        break;
    }
    return QString();
}

} // namespace

QString text_fault_message(TextFault fault)
{
    switch (fault) {
    case TextFault::DoubleQuote:
        return QStringLiteral("地名に「\"」（二重引用符）は使えません。");
    case TextFault::LineBreak:
        return QStringLiteral("地名に改行は使えません。");
    case TextFault::NotShiftJis:
        return QStringLiteral("地名に Shift-JIS で表せない文字が含まれています。");
    case TextFault::TextAfterQuote:
        return QStringLiteral("閉じる「\"」の後に余分な文字があります。");
    case TextFault::TooLong:
        return QStringLiteral("地名が長すぎます（%1文字まで）。").arg(MAX_TEXT_LENGTH);
    case TextFault::None:
        break;
    }
    return QString();
}

QString problem_message(const FileProblem& p)
{
    using Kind = FileProblem::Kind;
    const QString file = file_label(p);
    const QString at = file + location(p);
    switch (p.kind) {
    case Kind::Missing:
        return file + QStringLiteral("が見つかりません。")
            + (p.detail.isEmpty() ? QString() : QStringLiteral("\r\n") + p.detail);
    case Kind::Unreadable:
        return with_detail(file + QStringLiteral("を読み込めません。"), p.detail);
    case Kind::NotRegularFile:
        return file + QStringLiteral("は読み込めません（通常のファイルではなく、") + p.detail + QStringLiteral("です）。");
    case Kind::TooLarge:
        return file + QStringLiteral("は大きすぎるため読み込みません（%1 バイト。%2 バイトまでです）。")
                          .arg(p.value)
                          .arg(MAX_FILE_BYTES);
    case Kind::SavedAsUtf8:
        return file + QStringLiteral("は UTF-8 で保存されています。Shift-JIS で保存し直してください。");
    case Kind::BadFileName:
        return QStringLiteral("設定ファイルの地点一覧ファイル名「") + p.detail
            + QStringLiteral("」は使えません。設定ファイルのあるフォルダーからの相対パスで、ファイルを指す名前にしてください。");
    case Kind::CutShort:
        return file + QStringLiteral("の第%1レコードが途中で切れています（第%2項目「%3」から先がありません）。")
                          .arg(p.record)
                          .arg(p.field)
                          .arg(field_name(p.file, p.field));
    case Kind::NotANumber:
        return at + QStringLiteral("が整数ではありません。");
    case Kind::OutOfRange:
        return at + QStringLiteral("の値 %1 が範囲（%2～%3）を外れています。").arg(p.value).arg(p.min).arg(p.max);
    case Kind::TooManyRecords:
        return file + QStringLiteral("には101件を超えるデータがあります。読み込めるのは101件までです。");
    case Kind::BadText:
        return at + QStringLiteral("を読み取れません（") + read_fault_reason(p.text_fault) + QStringLiteral("）。");
    case Kind::EmptyName:
        if (p.file == FileKind::PlaceList)
            return at + QStringLiteral("が空です。空の地名は一覧の終わりを表すため、記録できません。");
        return at + QStringLiteral("が空です。");
    case Kind::WriteFailed:
        return with_detail(file + QStringLiteral("に書き込めませんでした。ファイルは元のままです。"), p.detail);
    case Kind::CreateFailed:
        return with_detail(file + QStringLiteral("を作成できませんでした。"), p.detail);
    case Kind::FolderMissing:
        return file + QStringLiteral("に書き込めません。フォルダー「") + p.detail
            + QStringLiteral("」がありません。");
    case Kind::ChangedElsewhere:
        return file + QStringLiteral("は、読み込んだ後に別の Orvine かほかのプログラムで変更されています。\r\n"
                                     "変更を失わないため今の操作は行わず、ファイルを読み込み直します。");
    case Kind::TextNotStorable:
        return QStringLiteral("「") + p.detail + QStringLiteral("」は") + file
            + QStringLiteral("に記録できません。\r\n") + text_fault_message(p.text_fault);
    case Kind::NotLoadedWhole:
        return file + QStringLiteral("を最後まで正しく読み込めなかったため、書き換えません（ファイルの内容を失わないためです）。");
    case Kind::NoSuchEntry:
        return file + QStringLiteral("の第%1件目のデータはありません。").arg(p.record);
    case Kind::RecordsAfterEmptyName:
        return file + QStringLiteral("の第%1レコードは地名が空のため、一覧はそこで終わっています。"
                                     "それより後のデータは読み込まれていません（一覧を書き換えると失われます）。")
                          .arg(p.record);
    }
    return file;
}

} // namespace orvine
