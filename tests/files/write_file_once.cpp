// write_file_once FOLDER NAME NEW [OLD]: rewrites FOLDER/NAME as the program does, having read
// it (or OLD) before; prints the problem and exits 1 when the write is refused.
#include "files/file_io.h"

#include <cstdio>

using namespace orvine;

int main(int argc, char* argv[])
{
    if (argc < 4)
        return 2;
    ignore_file_size_signal();
    const QString folder = QString::fromLocal8Bit(argv[1]), name = QString::fromLocal8Bit(argv[2]);
    FileStamp last_read = argc > 4 ? stamp_of(argv[4])
                                   : read_whole_file(folder + '/' + name, FileKind::PlaceList).stamp;
    if (const auto problem = write_whole_file(folder, name, FileKind::PlaceList, argv[3], last_read)) {
        std::fputs(problem_message(*problem).toUtf8().constData(), stdout);
        return 1;
    }
    return 0;
}
