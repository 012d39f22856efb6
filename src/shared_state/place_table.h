#pragma once
// The registry of named places as held in memory: 101 rows (indices 0..100).
#include "shared_state/file_stamp.h"
#include "shared_state/point.h"

#include <QString>

#include <array>
#include <cstdint>

namespace orvine {

// The name that stands for a point without a known name, or whose coordinates no longer
// fit the name it carried.
inline const QString UNKNOWN_PLACE = QStringLiteral("不明");

struct Place {
    QString name;
    Point point;
};

class PlaceTable {
public:
    static constexpr int SIZE = 101;

    std::array<Place, SIZE> rows;
    // Index of the last place; -1 when the table is empty, 100 when it is full.
    std::int16_t place_last = -1;

    // True only while the rows hold a complete, faithful copy of the place-list file,
    // as established by the last full read of it. Only the place-list loader sets it; any
    // read that fails clears it. Rewriting the file requires it, so that a list that could
    // not be read whole is never written back from a partial table.
    bool loaded_whole() const { return loaded_whole_; }
    // The file as it was when the rows were read from it or last written from them.
    const FileStamp& source() const { return source_; }

    // A read of the file begins: until it ends whole the rows do not mirror the file.
    void begin_read() { loaded_whole_ = false; }
    // The read ended, whole or not, on the file as `source` describes it.
    void end_read(bool whole, const FileStamp& source)
    {
        loaded_whole_ = whole;
        source_ = source;
    }
    // The rows were written to the file, which `source` now describes.
    void written(const FileStamp& source) { source_ = source; }

private:
    bool loaded_whole_ = false;
    FileStamp source_;
};

} // namespace orvine
