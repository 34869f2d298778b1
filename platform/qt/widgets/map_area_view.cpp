#include "map_area_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>

namespace orvane::platform::qt {
namespace {

QString Tr(const char* text) { return QCoreApplication::translate("window", text); }

// Far enough for any image a page shows; keeps the arithmetic of a hostile
// coordinate list within int.
constexpr int kLargestCoordinate = 100000;
// A small image is shown larger, so that its areas can be told apart.
constexpr double kLargestZoom = 2.0;

int Clamped(int value) { return std::clamp(value, -kLargestCoordinate, kLargestCoordinate); }

QPainterPath PathOf(const MapOutline& area, const QSize& canvas)
{
    QPainterPath path;
    const std::vector<int>& p = area.points;
    switch (area.shape) {
    case MapOutline::Shape::Rect:
        if (p.size() >= 4)
            path.addRect(QRectF(QPointF(Clamped(p[0]), Clamped(p[1])), QPointF(Clamped(p[2]), Clamped(p[3]))).normalized());
        break;
    case MapOutline::Shape::Circle:
        if (p.size() >= 3) {
            const double radius = std::max(0, Clamped(p[2]));
            path.addEllipse(QPointF(Clamped(p[0]), Clamped(p[1])), radius, radius);
        }
        break;
    case MapOutline::Shape::Poly: {
        QPolygonF polygon;
        polygon.reserve(static_cast<qsizetype>(p.size() / 2));
        for (std::size_t i = 0; i + 1 < p.size(); i += 2)
            polygon << QPointF(Clamped(p[i]), Clamped(p[i + 1]));
        if (polygon.size() >= 2) {
            path.addPolygon(polygon);
            path.closeSubpath();
        }
        break;
    }
    case MapOutline::Shape::Whole:
        path.addRect(QRectF(QPointF(0, 0), QSizeF(canvas)));
        break;
    case MapOutline::Shape::None:
        break;
    }
    return path;
}

} // namespace

CMapAreaView::CMapAreaView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    UpdateAccessibleTexts();
}

void CMapAreaView::SetAreas(const QString& imagePath, std::vector<MapOutline> areas)
{
    m_imageNamed = !imagePath.isEmpty();
    m_image = m_imageNamed ? QImage(imagePath) : QImage();
    m_areas = std::move(areas);
    m_current = -1;
    int right = 0, bottom = 0;
    for (const MapOutline& area : m_areas) {
        if (area.shape == MapOutline::Shape::Whole)
            continue;
        const QRectF bounds = PathOf(area, {}).boundingRect();
        right = std::max(right, static_cast<int>(bounds.right()) + 1);
        bottom = std::max(bottom, static_cast<int>(bounds.bottom()) + 1);
    }
    m_extent = QSize(right, bottom);
    UpdateAccessibleTexts();
    updateGeometry();
    update();
}

void CMapAreaView::SetCurrent(int index)
{
    const int current = index >= 0 && index < AreaCount() ? index : -1;
    if (current == m_current)
        return;
    m_current = current;
    UpdateAccessibleTexts();
    update();
}

QSize CMapAreaView::CanvasSize() const
{
    if (!m_image.isNull())
        return m_image.size();
    return m_extent.expandedTo(QSize(1, 1));
}

QSize CMapAreaView::sizeHint() const
{
    const QSize canvas = CanvasSize();
    return canvas.isValid() && canvas.width() > 1 ? canvas.boundedTo(QSize(640, 360)).expandedTo(QSize(240, 120))
                                                  : QSize(320, 180);
}

QSize CMapAreaView::minimumSizeHint() const { return {160, 90}; }

void CMapAreaView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        UpdateAccessibleTexts();
    QWidget::changeEvent(event);
}

void CMapAreaView::UpdateAccessibleTexts()
{
    const int count = AreaCount();
    setAccessibleName(count == 1 ? Tr("Image map areas: 1 area")
                                 : Tr("Image map areas: %1 areas").arg(count));
    QString description;
    if (m_imageNamed && m_image.isNull())
        description = Tr("The image could not be loaded; the areas are outlined without it.") + " ";
    if (m_current >= 0)
        description += Tr("Area %1 of %2, the one of the selected row, is drawn with a thicker outline.")
                           .arg(m_current + 1)
                           .arg(count);
    else
        description += Tr("Select a row of the list to have its area drawn with a thicker outline.");
    setAccessibleDescription(description);
}

void CMapAreaView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect bounds = contentsRect().adjusted(4, 4, -4, -4);
    painter.fillRect(rect(), palette().window());
    const QSize canvas = CanvasSize();
    if (bounds.width() <= 0 || bounds.height() <= 0 || canvas.width() <= 0 || canvas.height() <= 0)
        return;
    const double zoom = std::min({kLargestZoom, static_cast<double>(bounds.width()) / canvas.width(),
                                  static_cast<double>(bounds.height()) / canvas.height()});
    const QSizeF shown = QSizeF(canvas) * zoom;
    const QRectF target(bounds.left() + (bounds.width() - shown.width()) / 2,
                        bounds.top() + (bounds.height() - shown.height()) / 2, shown.width(), shown.height());
    if (!m_image.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
    } else {
        painter.fillRect(target, palette().base());
        painter.setPen(QPen(palette().mid().color(), 1, Qt::DashLine));
        painter.drawRect(target);
        if (m_imageNamed) {
            painter.setPen(palette().text().color());
            painter.drawText(bounds, Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap,
                             Tr("The image could not be loaded."));
        }
    }

    painter.save();
    painter.translate(target.topLeft());
    painter.scale(zoom, zoom);
    // Pens keep their width in screen pixels whatever the zoom.
    auto pen = [](const QColor& colour, double width) {
        QPen drawn(colour, width);
        drawn.setCosmetic(true);
        drawn.setJoinStyle(Qt::RoundJoin);
        return drawn;
    };
    const QColor halo(255, 255, 255, 230);
    const QColor line(20, 20, 20);
    const QColor strongLine(0, 40, 140);
    for (int i = 0; i < AreaCount(); ++i) {
        if (i == m_current)
            continue;
        const QPainterPath path = PathOf(m_areas[static_cast<std::size_t>(i)], canvas);
        // The whole image's area is outlined only when it is the chosen one.
        if (m_areas[static_cast<std::size_t>(i)].shape == MapOutline::Shape::Whole)
            continue;
        painter.strokePath(path, pen(halo, 4));
        painter.strokePath(path, pen(line, 1.5));
    }
    if (m_current >= 0) {
        const QPainterPath path = PathOf(m_areas[static_cast<std::size_t>(m_current)], canvas);
        if (m_areas[static_cast<std::size_t>(m_current)].shape != MapOutline::Shape::Whole)
            painter.fillPath(path, QColor(255, 255, 255, 70));
        painter.strokePath(path, pen(halo, 8));
        painter.strokePath(path, pen(strongLine, 4));
    }
    painter.restore();
}

} // namespace orvane::platform::qt
