#include "files/pageflow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

QFont TPageFlow::Font(double points, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

TPageFlow::TPageFlow(QPdfWriter *writer, QPainter *painter, int pageCount, QString head)
    : m_writer(writer), m_painter(painter), m_pageCount(pageCount), m_head(std::move(head))
{
    DrawFrame();
}

bool TPageFlow::EnsureRoom(double height)
{
    if (m_top + height <= ContentBottom || m_top == ContentTop)
        return false;
    NewPage();
    return true;
}

double TPageFlow::Units(double mm) const
{
    return m_writer ? mm * m_writer->resolution() / 25.4 : mm;
}

QRectF TPageFlow::Rect(double left, double top, double width, double height) const
{
    return {Units(left), Units(top), Units(width), Units(height)};
}

void TPageFlow::Text(const QRectF &box, const QString &text, const QFont &font, int flags,
                     const QColor &colour) const
{
    if (!m_painter)
        return;
    QFont fitted = font;
    const double room = box.width() - Units(1.0);
    for (double size = font.pointSizeF(); size > 4.0; size -= 0.5) {
        fitted.setPointSizeF(size);
        if (flags & Qt::TextWordWrap || QFontMetricsF(fitted, m_writer).horizontalAdvance(text) <= room)
            break;
    }
    m_painter->setFont(fitted);
    m_painter->setPen(colour);
    m_painter->drawText(box, flags, text);
}

void TPageFlow::Line(double left, double top, double right, double bottom, const QColor &colour) const
{
    if (!m_painter)
        return;
    m_painter->setPen(QPen(colour, Units(0.2)));
    m_painter->drawLine(QPointF(Units(left), Units(top)), QPointF(Units(right), Units(bottom)));
}

void TPageFlow::Fill(const QRectF &box, const QColor &colour) const
{
    if (m_painter)
        m_painter->fillRect(box, colour);
}

void TPageFlow::CellRow(const QList<double> &widths, const QStringList &texts, double height, bool heading,
                        bool shaded, int centred, double fontSize)
{
    double left = Margin;
    double total = 0.0;
    for (double width : widths)
        total += width;
    // Clear of the rules above and below, so that every rule shows whole.
    if (heading || shaded)
        Fill(Rect(Margin, Top() + 0.15, total, height - 0.3), heading ? HeadingShade : RowShade);
    const QFont font = Font(fontSize, heading);
    for (qsizetype column = 0; column < widths.size(); ++column) {
        const double width = widths[column];
        const QRectF box = Rect(left + 1.0, Top(), width - 2.0, height);
        if (heading)
            Text(box, texts.value(column), font, Qt::AlignCenter | Qt::TextWordWrap);
        else
            Text(box, texts.value(column), font,
                 (column < centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
        left += width;
    }
    Line(Margin, Top() + height, Margin + total, Top() + height, Rule);
    Advance(height);
}

void TPageFlow::SectionHeading(const QString &text)
{
    Text(Rect(Margin, Top(), ContentWidth, 8.0), text, Font(12.0, true), Qt::AlignLeft | Qt::AlignVCenter,
         Accent);
    Advance(9.0);
}

void TPageFlow::NewPage()
{
    if (m_writer && m_painter)
        m_writer->newPage();
    ++m_page;
    m_top = ContentTop;
    DrawFrame();
}

void TPageFlow::DrawFrame() const
{
    Text(Rect(Margin, HeadTop, ContentWidth * 0.7, 6.0), m_head, Font(8.0), Qt::AlignLeft | Qt::AlignVCenter,
         Accent);
    Line(Margin, HeadTop + 7.0, PageWidth - Margin, HeadTop + 7.0, Rule);
    Line(Margin, FootTop - 1.0, PageWidth - Margin, FootTop - 1.0, Rule);
    Text(Rect(Margin, FootTop, ContentWidth, 6.0),
         QStringLiteral("Page %1 of %2").arg(m_page).arg(m_pageCount), Font(8.0),
         Qt::AlignHCenter | Qt::AlignVCenter, Accent);
}

void TPageFlow::SetUpWriter(QPdfWriter &writer, const QString &title)
{
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setResolution(600);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("QintarSoft"));
}

int TPageFlow::PaintPages(QPdfWriter &writer, const std::function<int(QPainter *painter, int pageCount)> &run)
{
    const int pageCount = run(nullptr, 0);
    QPainter painter;
    if (!painter.begin(&writer))
        return 0;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    run(&painter, pageCount);
    painter.end();
    return pageCount;
}

TFileResult TPageFlow::Save(const QString &fileName, const std::function<int(QPdfWriter &writer)> &paint)
{
    TFileResult result;
    result.fileName = fileName;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot create %1: %2").arg(fileName, file.errorString());
        return result;
    }
    int pages = 0;
    {
        QPdfWriter writer(&file);
        pages = paint(writer);
    }
    if (pages == 0 || file.error() != QFileDevice::NoError || !file.commit()) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString());
        file.cancelWriting();
    }
    return result;
}
