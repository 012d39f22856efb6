#pragma once
// The direction map as a file: a page (title, map, credit) drawn as PNG, SVG or PDF, and
// written so that a failed save leaves nothing under the chosen name (or the old file as it was).
#include "map/direction_map_drawing.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvine {

enum class MapFileFormat { Png, Svg, Pdf };

// By the name's suffix, in any case: .png, .svg, .pdf.
std::optional<MapFileFormat> map_file_format(const QString& path);

// The page: an SVG of 800 × 880 units, a PNG of 1600 × 1760 pixels (the same page at twice the
// scale, for print-quality lines), a one-page A4 PDF (portrait, the page at its top).
QByteArray render_map_file(DirectionMapDrawing& drawing, MapFileFormat format, const QString& date_text);

// Writes `bytes` to `path` through a temporary file that replaces it only when complete.
// Returns an empty text on success, else a message naming the file and the cause.
QString save_map_file(const QString& path, const QByteArray& bytes);

// Today's date as the title shows it, e.g. "2025年1月2日".
QString today_text();

} // namespace orvine
