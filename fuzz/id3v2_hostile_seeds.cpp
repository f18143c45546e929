// Writes the hostile ID3v2 files the tests read (those small enough for the
// fuzzer's inputs) into a folder, as seeds for the ID3v2 fuzz target:
// chapter frames nested 20,000 deep, a zlib bomb of four frames, an
// extended header, an unknown text encoding, an empty TENC first, and tags
// that use every flag of 2.3 and 2.4.
// Run: id3v2_hostile_seeds FOLDER

#include "common/FileBytes.h"
#include "common/Id3v2Bytes.h"

#include <QDir>

#include <cstdio>

namespace {

// 2.4 with an extended header, an unsynchronised tag, a footer, and frames
// grouped, compressed with a data length, and encrypted.
QByteArray allFlags24()
{
    const QByteArray title = textData("Dawn");
    const QByteArray frames = frame24("TIT2", "\x01" + syncsafe(title.size()) + zlibStream(title), 0x0049)
                              + frame24("TPE1", "\x80" + textData("x"), 0x0004)
                              + frame24("TALB", textData("a\xFF\0b"), 0x0002) + frame24("TCON", textData("(17)"));
    const QByteArray body = syncsafe(6) + QByteArray("\x01\0", 2) + frames;
    return id3v2Tag(4, body, 0xD0) + QByteArray("3DI\x04\0\xD0", 6) + syncsafe(body.size());
}

// 2.3 unsynchronised as a whole, with frames compressed and grouped.
QByteArray allFlags23()
{
    const QByteArray comment = commentData("", "Good");
    const QByteArray frames = frame23("TIT2", bigEndian32(5) + "\x02" + zlibStream(textData("Dawn")), 0x00A0)
                              + frame23("COMM", bigEndian32(comment.size()) + zlibStream(comment), 0x0080)
                              + frame23("TRCK", textData("7/12"));
    return id3v2Tag(3, QByteArray(frames).replace("\xFF", QByteArray("\xFF\0", 2)), 0x80);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::pair<const char *, QByteArray> seeds[] = {
        {"hostile_nested_chapters", HostileId3v2::nestedChapters(20000)},
        {"hostile_zlib_bomb", HostileId3v2::zlibBomb(256LL * 1024 * 1024)},
        {"hostile_extended_header", HostileId3v2::extendedHeader()},
        {"hostile_unknown_encoding", HostileId3v2::unknownEncoding()},
        {"hostile_leading_empty_frame", HostileId3v2::leadingEmptyFrame()},
        {"all_flags_v24", allFlags24()},
        {"all_flags_v23", allFlags23()},
    };
    for (const auto &[name, bytes] : seeds) {
        if (!writeFile(folder.filePath(QString::fromLatin1(name)), bytes)) {
            std::fprintf(stderr, "cannot write %s into %s\n", name, argv[1]);
            return 1;
        }
    }
    return 0;
}
