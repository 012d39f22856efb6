#include "map/direction_map_window.h"

#include "platform/dialogs.h"
#include "platform/platform.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>

namespace orvine {

namespace {

// The only place where the window reads a Point's fields.
GlobePoint globe_point_of(const Point& p)
{
    const auto angle = [](std::int16_t degrees, std::int16_t minutes, std::int16_t seconds) {
        const std::int32_t n = std::abs(degrees) * 3600 + std::abs(minutes) * 60 + std::abs(seconds);
        return angle_from_seconds(dms_sign(degrees) * n);
    };
    return {angle(p.latitude.degrees, p.latitude.minutes, p.latitude.seconds),
            angle(p.longitude.degrees, p.longitude.minutes, p.longitude.seconds)};
}

int nearest_choice(double radius_km)
{
    int best = 0;
    for (int i = 1; i < static_cast<int>(MAP_RADIUS_CHOICES_KM.size()); ++i) {
        if (std::abs(std::log(MAP_RADIUS_CHOICES_KM[i] / radius_km))
            < std::abs(std::log(MAP_RADIUS_CHOICES_KM[best] / radius_km)))
            best = i;
    }
    return best;
}

} // namespace

// The map itself: paints the drawing at its own size, reports the pointer and turns the
// wheel into zoom steps (one per notch, touchpads adding up to one).
class DirectionMapCanvas : public QWidget {
public:
    explicit DirectionMapCanvas(DirectionMapWindow& window) : QWidget(&window), window_(window)
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(320, 320);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        window_.drawing_.paint(painter, rect());
    }
    void mouseMoveEvent(QMouseEvent* event) override { window_.show_read_out(event->position()); }
    void leaveEvent(QEvent*) override { window_.read_out_->clear(); }
    void wheelEvent(QWheelEvent* event) override
    {
        wheel_ += event->angleDelta().y();
        const int steps = wheel_ / 120;
        wheel_ -= steps * 120;
        if (steps != 0)
            window_.zoom_steps(steps);
        event->accept();
    }

private:
    DirectionMapWindow& window_;
    int wheel_ = 0;
};

DirectionMapWindow::DirectionMapWindow(Dialogs& dialogs, const QString& data_path, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs),
      data_path_(data_path.isEmpty() ? installed_map_data_path() : data_path)
{
    setWindowTitle(QStringLiteral("方位地図"));
    drawing_.set_font_family(platform::window_default_font());

    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("centre_caption"));
    auto* radius_label = new QLabel(QStringLiteral("表示範囲"), this);
    radius_choice_ = new QComboBox(this);
    radius_choice_->setObjectName(QStringLiteral("radius_choice"));
    for (const double km : MAP_RADIUS_CHOICES_KM)
        radius_choice_->addItem(radius_choice_text(km));
    radius_label->setBuddy(radius_choice_);
    radius_choice_->setAccessibleName(QStringLiteral("表示範囲"));
    save_image_button_ = new QPushButton(QStringLiteral("画像として保存"), this);
    save_image_button_->setObjectName(QStringLiteral("save_image"));
    save_pdf_button_ = new QPushButton(QStringLiteral("PDF に保存"), this);
    save_pdf_button_->setObjectName(QStringLiteral("save_pdf"));
    print_button_ = new QPushButton(QStringLiteral("印刷"), this);
    print_button_->setObjectName(QStringLiteral("print"));
    canvas_ = new DirectionMapCanvas(*this);
    canvas_->setObjectName(QStringLiteral("direction_map"));
    canvas_->setAccessibleName(QStringLiteral("方位地図"));
    read_out_ = new QLabel(this);
    read_out_->setObjectName(QStringLiteral("pointer_read_out"));
    read_out_->setMinimumHeight(read_out_->fontMetrics().height() + 4);

    auto* tools = new QHBoxLayout;
    tools->addWidget(radius_label);
    tools->addWidget(radius_choice_);
    tools->addStretch(1);
    tools->addWidget(save_image_button_);
    tools->addWidget(save_pdf_button_);
    tools->addWidget(print_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(caption_);
    layout->addWidget(canvas_, 1);
    layout->addWidget(read_out_);
    resize(720, 820);
    setFocusProxy(canvas_);

    connect(radius_choice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            drawing_.set_radius_km(MAP_RADIUS_CHOICES_KM[static_cast<std::size_t>(index)]);
        content_changed();
    });
    connect(save_image_button_, &QPushButton::clicked, this, &DirectionMapWindow::choose_image_file);
    connect(save_pdf_button_, &QPushButton::clicked, this, &DirectionMapWindow::choose_pdf_file);
    connect(print_button_, &QPushButton::clicked, this, &DirectionMapWindow::print);
    content_changed();
}

DirectionMapWindow::~DirectionMapWindow() = default;

void DirectionMapWindow::set_centre(const Point& centre, const QString& name)
{
    content_.centre = globe_point_of(centre);
    content_.centre_name = name;
    content_changed();
}

void DirectionMapWindow::set_destination(const Point& destination, const QString& name)
{
    content_.destination = globe_point_of(destination);
    content_.destination_name = name;
    content_changed();
}

void DirectionMapWindow::clear_destination()
{
    content_.destination.reset();
    content_.destination_name.clear();
    content_changed();
}

void DirectionMapWindow::set_places(const std::vector<NamedPoint>& places)
{
    content_.places.clear();
    for (const NamedPoint& place : places)
        content_.places.push_back({place.name, globe_point_of(place.point)});
    content_changed();
}

double DirectionMapWindow::radius_km() const { return drawing_.radius_km(); }

void DirectionMapWindow::set_radius_km(double radius_km) { radius_choice_->setCurrentIndex(nearest_choice(radius_km)); }

void DirectionMapWindow::zoom_in() { zoom_steps(1); }
void DirectionMapWindow::zoom_out() { zoom_steps(-1); }

void DirectionMapWindow::zoom_steps(int steps)
{
    const int last = static_cast<int>(MAP_RADIUS_CHOICES_KM.size()) - 1;
    radius_choice_->setCurrentIndex(std::clamp(radius_choice_->currentIndex() + steps, 0, last));
}

// The caption, the title and the accessible description follow the content; the map repaints.
void DirectionMapWindow::content_changed()
{
    drawing_.set_content(content_);
    const QString centre = drawing_.centre_text();
    caption_->setText(QStringLiteral("中心：") + centre);
    setWindowTitle(QStringLiteral("方位地図　") + centre);
    QString description = QStringLiteral("中心：") + centre + QStringLiteral("。表示範囲：")
                          + radius_choice_text(drawing_.radius_km()) + QStringLiteral("。");
    if (const GlobeCalculation* result = drawing_.destination_result()) {
        description += QStringLiteral("目的地：");
        if (!content_.destination_name.isEmpty())
            description += content_.destination_name + QStringLiteral("、");
        description += QStringLiteral("方位") + QString::fromStdString(result->bearing_caption) + QStringLiteral("、距離")
                       + QString::fromStdString(result->distance_caption) + QStringLiteral("。");
    }
    canvas_->setAccessibleDescription(description);
    canvas_->update();
}

QString DirectionMapWindow::read_out_text(const QPointF& at) const
{
    const std::optional<PointerReadOut> r = drawing_.read_out(QRectF(canvas_->rect()), at);
    if (!r)
        return {};
    QString text;
    if (!r->bearing_caption.empty()) {
        text = QStringLiteral("方位") + QString::fromStdString(r->bearing_caption) + QStringLiteral("　距離")
               + QString::fromStdString(r->distance_caption) + QStringLiteral("　");
    }
    return text + QString::fromStdString(r->latitude_text) + QStringLiteral("　")
           + QString::fromStdString(r->longitude_text);
}

void DirectionMapWindow::show_read_out(const QPointF& at) { read_out_->setText(read_out_text(at)); }

void DirectionMapWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!data_loaded_)
        load_data();
}

void DirectionMapWindow::load_data()
{
    data_loaded_ = true;
    MapDataResult result = load_map_data(data_path_.toStdString());
    if (result.fault == MapDataFault::None) {
        drawing_.set_data(std::make_shared<const MapData>(std::move(result.data)));
        canvas_->update();
        return;
    }
    // After the window has appeared, so that the message stands over the map it speaks of.
    const QString message = map_data_problem_message(result.fault, data_path_);
    QTimer::singleShot(0, this, [this, message] { dialogs_.message(message); });
}

void DirectionMapWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom_in();
        break;
    case Qt::Key_Minus:
        zoom_out();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool DirectionMapWindow::save(const QString& path, MapFileFormat format)
{
    const QString problem = save_map_file(path, render_map_file(drawing_, format, today_text()));
    if (problem.isEmpty())
        return true;
    dialogs_.message(problem);
    return false;
}

bool DirectionMapWindow::save_image(const QString& path)
{
    return save(path, map_file_format(path) == MapFileFormat::Svg ? MapFileFormat::Svg : MapFileFormat::Png);
}

bool DirectionMapWindow::save_pdf(const QString& path) { return save(path, MapFileFormat::Pdf); }

bool DirectionMapWindow::print_to(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.message(QStringLiteral("印刷を始められませんでした。"));
        return false;
    }
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = paper.width() / 800.0;
    painter.scale(scale, scale);
    drawing_.paint_page(painter, QRectF(0, 0, 800, paper.height() / scale), today_text());
    return painter.end();
}

namespace {

QString suggested_path(const QString& suffix)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(QStringLiteral("方位地図.") + suffix);
}

} // namespace

void DirectionMapWindow::choose_image_file()
{
    const QString png_filter = QStringLiteral("PNG 画像 (*.png)");
    const QString svg_filter = QStringLiteral("SVG 画像 (*.svg)");
    QString filter = png_filter;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("画像として保存"),
                                                suggested_path(QStringLiteral("png")),
                                                png_filter + QStringLiteral(";;") + svg_filter, &filter);
    if (path.isEmpty())
        return;
    if (!map_file_format(path))
        path += filter == svg_filter ? QStringLiteral(".svg") : QStringLiteral(".png");
    save_image(path);
}

void DirectionMapWindow::choose_pdf_file()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDF に保存"),
                                                suggested_path(QStringLiteral("pdf")), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (map_file_format(path) != MapFileFormat::Pdf)
        path += QStringLiteral(".pdf");
    save_pdf(path);
}

void DirectionMapWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        print_to(printer);
}

} // namespace orvine
