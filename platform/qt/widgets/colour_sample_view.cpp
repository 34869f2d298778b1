#include "colour_sample_view.h"

#include <QPainter>

#include <algorithm>

namespace orvane::platform::qt {
namespace {

QColor ToQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                  static_cast<int>((colour >> 16) & 0xff));
}

const QColor kNotSet(255, 255, 0);

// Yellow, hatched: a colour still to be chosen.
void PaintNotSet(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, kNotSet);
    painter.fillRect(area, QBrush(QColor(0, 0, 0, 70), Qt::BDiagPattern));
}

} // namespace

CColourSampleView::CColourSampleView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

// A sample's texts are read as a page's body text is: at a size a little
// above the dialog's, so a pair that is hard to read shows it.
QFont CColourSampleView::SampleFont() const
{
    QFont sampleFont = font();
    if (!m_sample.lines.empty())
        sampleFont.setPointSizeF(sampleFont.pointSizeF() * 1.25);
    return sampleFont;
}

void CColourSampleView::SetSample(ColourSample sample)
{
    m_sample = std::move(sample);
    setAccessibleDescription(QString::fromStdString(m_sample.description));
    updateGeometry();
    update();
}

QSize CColourSampleView::sizeHint() const
{
    const QFontMetrics metrics(SampleFont());
    const int line = metrics.height();
    if (m_sample.lines.empty())
        return {line * 2, line + 6};
    int width = 0;
    for (const ColourSample::Line& text : m_sample.lines)
        width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(text.text)));
    return {width + 24, static_cast<int>(m_sample.lines.size()) * (line + 4) + 16};
}

QSize CColourSampleView::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {std::min(hint.width(), 120), hint.height()};
}

void CColourSampleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    if (m_sample.ground)
        painter.fillRect(area, ToQColor(*m_sample.ground));
    else
        PaintNotSet(painter, area);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(area);
    if (m_sample.lines.empty()) {
        if (!m_sample.ground) {
            painter.setPen(Qt::black);
            painter.drawText(area, Qt::AlignCenter, QStringLiteral("?"));
        }
        return;
    }
    painter.setFont(SampleFont());
    const QFontMetrics metrics(painter.font());
    const int lineHeight = metrics.height() + 4;
    int top = 8;
    for (const ColourSample::Line& line : m_sample.lines) {
        const QString text = QString::fromStdString(line.text);
        const QRect box(10, top, metrics.horizontalAdvance(text) + 4, lineHeight - 2);
        if (line.colour) {
            painter.setPen(ToQColor(*line.colour));
        } else {
            PaintNotSet(painter, box);
            painter.setPen(Qt::black);
        }
        QFont lineFont = SampleFont();
        lineFont.setUnderline(line.underlined);
        painter.setFont(lineFont);
        painter.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        top += lineHeight;
    }
}

} // namespace orvane::platform::qt
