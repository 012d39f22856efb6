#include "imagefiles.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <array>
#include <stdexcept>

namespace mapgen {

namespace {

quint32 crc32(const QByteArray &data)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char byte : data)
        c = table[(c ^ static_cast<quint8>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendLittleEndian16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendLittleEndian32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray &png, const char type[4], const QByteArray &data)
{
    appendBigEndian32(png, static_cast<quint32>(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    png.append(typed);
    appendBigEndian32(png, crc32(typed));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void requireIndexed(const QImage &image)
{
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() == 0)
        throw std::runtime_error("image to write is not paletted");
}

} // namespace

void writePalettePng(const QString &path, const QImage &image)
{
    requireIndexed(image);
    const int colours = int(image.colorCount());
    const int bitDepth = colours <= 16 ? 4 : 8;
    const int width = image.width(), height = image.height();

    QByteArray header;
    appendBigEndian32(header, quint32(width));
    appendBigEndian32(header, quint32(height));
    header.append(char(bitDepth));
    header.append(char(3));  // colour type: palette
    header.append(3, char(0));  // deflate, adaptive filtering, no interlace

    QByteArray palette, alpha;
    int lastTranslucent = -1;
    for (int i = 0; i < colours; ++i) {
        const QRgb c = image.color(i);
        palette.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
        alpha.append(char(qAlpha(c)));
        if (qAlpha(c) != 255)
            lastTranslucent = i;
    }

    // Filter type 0 on every row: the images are small, and a fixed choice
    // keeps the bytes independent of any encoder heuristics.
    QByteArray raw;
    for (int y = 0; y < height; ++y) {
        raw.append(char(0));
        const uchar *line = image.constScanLine(y);
        if (bitDepth == 8) {
            raw.append(reinterpret_cast<const char *>(line), width);
        } else {
            for (int x = 0; x < width; x += 2) {
                const int high = line[x] & 0x0F;
                const int low = x + 1 < width ? line[x + 1] & 0x0F : 0;
                raw.append(char(high << 4 | low));
            }
        }
    }
    // qCompress prefixes the zlib stream with its length; PNG wants the stream alone.
    const QByteArray compressed = qCompress(raw, 9).mid(4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "PLTE", palette);
    if (lastTranslucent >= 0)
        appendChunk(png, "tRNS", alpha.left(lastTranslucent + 1));
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", QByteArray());
    writeFile(path, png);
}

void writeIco(const QString &path, const QList<QImage> &images, const QList<QRgb> &iconPalette)
{
    if (iconPalette.size() != 16)
        throw std::runtime_error("an icon palette has 16 colours");

    QList<QByteArray> payloads;
    for (const QImage &image : images) {
        requireIndexed(image);
        const int width = image.width(), height = image.height();
        if (width > 255 || height > 255)
            throw std::runtime_error("icon image too large");

        // Palette index of the image -> index in the icon's palette; -1 for the mask.
        QList<int> toIcon;
        for (int i = 0; i < image.colorCount(); ++i) {
            const QRgb c = image.color(i);
            if (qAlpha(c) == 0) {
                toIcon.append(-1);
                continue;
            }
            const int index = int(iconPalette.indexOf(qRgb(qRed(c), qGreen(c), qBlue(c))));
            if (index < 0 || qAlpha(c) != 255)
                throw std::runtime_error("icon colour outside the 16-colour palette");
            toIcon.append(index);
        }

        const int colourRowBytes = ((width * 4 + 31) / 32) * 4;
        const int maskRowBytes = ((width + 31) / 32) * 4;
        QByteArray colourBits, maskBits;
        // Bitmaps are stored bottom row first.
        for (int y = height - 1; y >= 0; --y) {
            QByteArray colourRow(colourRowBytes, char(0)), maskRow(maskRowBytes, char(0));
            const uchar *line = image.constScanLine(y);
            for (int x = 0; x < width; ++x) {
                const int index = toIcon.value(line[x], -1);
                if (index < 0)
                    maskRow[x / 8] = char(maskRow[x / 8] | (0x80 >> (x % 8)));
                else
                    colourRow[x / 2] = char(colourRow[x / 2] | (x % 2 ? index : index << 4));
            }
            colourBits.append(colourRow);
            maskBits.append(maskRow);
        }

        QByteArray bitmap;
        appendLittleEndian32(bitmap, 40);  // BITMAPINFOHEADER
        appendLittleEndian32(bitmap, quint32(width));
        appendLittleEndian32(bitmap, quint32(height * 2));  // colour bits and mask
        appendLittleEndian16(bitmap, 1);
        appendLittleEndian16(bitmap, 4);
        appendLittleEndian32(bitmap, 0);  // uncompressed
        appendLittleEndian32(bitmap, quint32(colourBits.size() + maskBits.size()));
        appendLittleEndian32(bitmap, 0);
        appendLittleEndian32(bitmap, 0);
        appendLittleEndian32(bitmap, 16);
        appendLittleEndian32(bitmap, 0);
        for (QRgb c : iconPalette)
            bitmap.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append(char(0));
        bitmap.append(colourBits).append(maskBits);
        payloads.append(bitmap);
    }

    QByteArray ico;
    appendLittleEndian16(ico, 0);
    appendLittleEndian16(ico, 1);  // icon, not cursor
    appendLittleEndian16(ico, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (int i = 0; i < images.size(); ++i) {
        ico.append(char(images[i].width())).append(char(images[i].height()));
        ico.append(char(16)).append(char(0));
        appendLittleEndian16(ico, 1);
        appendLittleEndian16(ico, 4);
        appendLittleEndian32(ico, quint32(payloads[i].size()));
        appendLittleEndian32(ico, offset);
        offset += quint32(payloads[i].size());
    }
    for (const QByteArray &payload : payloads)
        ico.append(payload);
    writeFile(path, ico);
}

} // namespace mapgen
