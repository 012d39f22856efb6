#pragma once
// What went wrong with the settings file or the place-list file, as a value: which file,
// which record, which field and what kind of fault. The windows turn it into a message
// with problem_message(); nothing in the file code shows anything itself.
#include <QString>

namespace orvine {

enum class FileKind {
    Settings,  // "vantorff.ini": list-file name, start-up name, six values
    PlaceList, // the place-list file: a name and six values per record
};

// Why a text cannot be stored in, or was not read faithfully from, a record.
enum class TextFault {
    None,
    DoubleQuote,       // a double quote: the reader would end the text there
    LineBreak,         // a carriage return or line feed: the reader would end the record there
    NotShiftJis,       // writing: a character that code page 932 cannot hold exactly;
                       // reading: bytes that are not Shift-JIS (code page 932) text
    TextAfterQuote,    // reading: something other than blanks between a closing quote and
                       // the comma or line end that must follow it
    TooLong,           // more than MAX_TEXT_LENGTH characters: more than the window's text
                       // box can hold
};

// The longest text a field may hold: what the place-list window's text box holds.
inline constexpr int MAX_TEXT_LENGTH = 32767;

struct FileProblem {
    enum class Kind {
        // Reading
        Missing,               // the file does not exist (settings file only: a missing
                               // place list is an empty list); detail: why the files'
                               // folder could not be set up, when that is the reason
        Unreadable,            // it exists but cannot be opened or read (detail: the cause)
        NotRegularFile,        // a folder, named pipe, device or socket (detail: which);
                               // never opened for reading, so nothing blocks
        TooLarge,              // larger than MAX_FILE_BYTES (value: its size); never read
        SavedAsUtf8,           // a UTF-8 byte-order mark, or UTF-8 text with Japanese in it
        BadFileName,           // the settings name a place-list file that cannot be one of
                               // the program's files: absolute, a folder, NUL (detail: the name)
        CutShort,              // the file ends inside a record (or inside a quoted text)
        NotANumber,            // an integer field holds letters, a fraction, blanks or nothing
        OutOfRange,            // a coordinate value outside the bars' range (value, min, max)
        TooManyRecords,        // a place list with more than 101 records (record = 102)
        BadText,               // a text field that cannot be read faithfully (text_fault)
        EmptyName,             // reading: the settings file names no place-list file;
                               // writing: a place with an empty name (it would end the list)
        // Writing
        WriteFailed,           // the file could not be written; its old content is intact
                               // (detail: the stage and its cause, in Japanese)
        CreateFailed,          // a file that did not exist could not be created (detail)
        FolderMissing,         // the folder that holds (or would hold) the file is gone
                               // (detail: that folder); nothing written
        ChangedElsewhere,      // the file no longer holds what the program last read:
                               // another instance or an editor changed it; nothing written
        TextNotStorable,       // a name the file cannot hold (text_fault); nothing written
        NotLoadedWhole,        // the place list was not read whole, so it is not rewritten
        NoSuchEntry,           // the index to skip or replace is not a listed place
        // Information, not a failure
        RecordsAfterEmptyName, // records follow an empty name (record = that record) and
                               // were not loaded
    };

    Kind kind = Kind::Unreadable;
    FileKind file = FileKind::PlaceList;
    QString path;             // the file's full path
    int record = 0;           // 1-based record number in the file; 0 when no record applies.
                              // For writes: the place's table index + 1.
    int field = 0;            // 1-based field number within the record; 0 when none applies
    TextFault text_fault = TextFault::None;
    long long value = 0;      // OutOfRange: the value read or given; TooLarge: the size
    int min = 0;              // OutOfRange: the allowed range
    int max = 0;
    QString detail;           // Unreadable / NotRegularFile / WriteFailed / CreateFailed /
                              // Missing: the cause in Japanese; TextNotStorable: the refused
                              // text; BadFileName: the name; FolderMissing: the folder
};

// A Japanese message for the user that names the file, the record and the field (with
// the field's meaning, e.g. 緯度（度）) and says what is wrong. Line breaks are "\r\n".
QString problem_message(const FileProblem& problem);

// A Japanese sentence saying why a name cannot be stored, for refusing a typed name
// before anything is written (e.g. "地名に「"」（二重引用符）は使えません。").
// Empty for TextFault::None.
QString text_fault_message(TextFault fault);

} // namespace orvine
