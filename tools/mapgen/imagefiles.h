// Writers for the shipped image files. Qt's own PNG writer stores an all-grey
// palette as a greyscale PNG and adds the screen's resolution; the program wants
// paletted images and the repository wants the same bytes on every run, so the
// files are put together here.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace mapgen {

// Writes an Indexed8 image as a paletted PNG: 4 bits per pixel when the colour
// table has at most 16 entries, else 8; palette entries with alpha below 255
// go into a tRNS chunk. Throws std::runtime_error when the file cannot be written.
void writePalettePng(const QString &path, const QImage &image);

// Writes a Windows icon with one 16-colour bitmap per image. Each image is
// Indexed8 with at most 16 colours; fully transparent palette entries become
// the icon's mask, all others must be colours of `iconPalette` (16 entries).
void writeIco(const QString &path, const QList<QImage> &images, const QList<QRgb> &iconPalette);

} // namespace mapgen
