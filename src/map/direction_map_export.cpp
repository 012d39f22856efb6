#include "map/direction_map_export.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace orvine {

namespace {

constexpr int PAGE_WIDTH = 800;
// Just tall enough for the title, a square map as wide as the page and the credit.
constexpr int PAGE_HEIGHT = 880;
const QString TITLE = QStringLiteral("方位地図");

} // namespace

std::optional<MapFileFormat> map_file_format(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return MapFileFormat::Png;
    if (suffix == QLatin1String("svg"))
        return MapFileFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return MapFileFormat::Pdf;
    return std::nullopt;
}

QByteArray render_map_file(DirectionMapDrawing& drawing, MapFileFormat format, const QString& date_text)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRectF page(0, 0, PAGE_WIDTH, PAGE_HEIGHT);
    switch (format) {
    case MapFileFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(page.size().toSize());
        svg.setViewBox(page);
        svg.setTitle(TITLE);
        svg.setDescription(drawing.centre_text());
        QPainter painter(&svg);
        drawing.paint_page(painter, page, date_text);
        break;
    }
    case MapFileFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(300);
        pdf.setTitle(TITLE + QStringLiteral("　") + drawing.centre_text());
        pdf.setCreator(QStringLiteral("Orvine"));
        QPainter painter(&pdf);
        const double scale = pdf.width() / static_cast<double>(PAGE_WIDTH);
        painter.scale(scale, scale);
        drawing.paint_page(painter, QRectF(0, 0, PAGE_WIDTH, pdf.height() / scale), date_text);
        break;
    }
    case MapFileFormat::Png: {
        QImage image(PAGE_WIDTH * 2, PAGE_HEIGHT * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        {
            QPainter painter(&image);
            drawing.paint_page(painter, page, date_text);
        }
        image.save(&buffer, "PNG");
        break;
    }
    }
    return bytes;
}

QString save_map_file(const QString& path, const QByteArray& bytes)
{
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    const QString cause = file.errorString();
    file.cancelWriting();
    return QStringLiteral("「%1」に保存できませんでした（%2）。\r\n%3")
        .arg(QDir::toNativeSeparators(path), cause,
             existed ? QStringLiteral("元のファイルはそのままです。") : QStringLiteral("ファイルは作られていません。"));
}

QString today_text()
{
    const QDate today = QDate::currentDate();
    return QStringLiteral("%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day());
}

} // namespace orvine
