#pragma once
// What the program last saw of a file that it may rewrite. A rewrite goes ahead only while
// the file still matches its stamp, so that a change made meanwhile by another instance or
// an editor is never overwritten unseen.
#include <QByteArray>

namespace orvine {

struct FileStamp {
    bool exists = false; // a fresh stamp stands for a file that was not there
    QByteArray digest;   // BLAKE2b-256 of the bytes; empty for a file whose bytes were not read
                         // (not a regular file, too large, unreadable)

    friend bool operator==(const FileStamp& a, const FileStamp& b)
    {
        return a.exists == b.exists && a.digest == b.digest;
    }
    friend bool operator!=(const FileStamp& a, const FileStamp& b) { return !(a == b); }
};

} // namespace orvine
