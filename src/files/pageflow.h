#pragma once

#include "files/fileresult.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
class QPdfWriter;

// The pages of the station's PDF reports: A4 portrait in millimetres, a head with the report's name on
// every page and "Page n of m" at its foot. The flow places the report's blocks from the top of a page
// down and opens a new page where one does not fit. A report runs once without a painter to count the
// pages, then again to paint them.
class TPageFlow
{
public:
    static constexpr double PageWidth = 210.0;
    static constexpr double PageHeight = 297.0;
    static constexpr double Margin = 15.0;
    static constexpr double ContentWidth = PageWidth - 2 * Margin;
    static constexpr double HeadTop = 10.0;
    static constexpr double ContentTop = 22.0;
    static constexpr double ContentBottom = 282.0;
    static constexpr double FootTop = 286.0;
    static constexpr double RowHeight = 5.0;
    static constexpr double HeadingRowHeight = 9.0;

    static inline const QColor Ink{0, 0, 0};
    static inline const QColor Accent{0, 0, 160};
    static inline const QColor Rule{128, 128, 128};
    static inline const QColor HeadingShade{220, 226, 240};
    static inline const QColor RowShade{244, 244, 244};

    static QFont Font(double points, bool bold = false);

    // A4 portrait without printer margins at 600 dpi, titled for the document's properties.
    static void SetUpWriter(QPdfWriter &writer, const QString &title);
    // Runs the report once to count its pages, then paints them with that count; the number of pages, 0
    // when the writer cannot be painted on.
    static int PaintPages(QPdfWriter &writer,
                          const std::function<int(QPainter *painter, int pageCount)> &run);
    // Writes the PDF that paint makes (it returns its number of pages) whole or not at all: a file cut
    // off by a full disk or a failed paint never replaces the one before.
    static TFileResult Save(const QString &fileName, const std::function<int(QPdfWriter &writer)> &paint);

    // Without a painter (counting) nothing is drawn; pageCount is the "m" of "Page n of m".
    TPageFlow(QPdfWriter *writer, QPainter *painter, int pageCount, QString head);

    int Page() const { return m_page; }
    double Top() const { return m_top; }
    QPainter *Painter() const { return m_painter; }

    // True when a new page had to be opened; a block taller than a page starts at the top of one.
    bool EnsureRoom(double height);
    void Advance(double height) { m_top += height; }

    // Millimetres in the writer's units.
    double Units(double mm) const;
    QRectF Rect(double left, double top, double width, double height) const;

    // Text in a box; a text too wide for it is set smaller rather than cut.
    void Text(const QRectF &box, const QString &text, const QFont &font, int flags,
              const QColor &colour = Ink) const;
    void Line(double left, double top, double right, double bottom, const QColor &colour) const;
    void Fill(const QRectF &box, const QColor &colour) const;

    // One row of cells across the page's left margin onward; shaded for the heading row and where
    // asked. The first centred columns hold names or numbers, the others values, set to the right so
    // that their decimal points line up.
    void CellRow(const QList<double> &widths, const QStringList &texts, double height, bool heading,
                 bool shaded, int centred = 0, double fontSize = 9.0);
    void SectionHeading(const QString &text);

private:
    void NewPage();
    void DrawFrame() const;

    QPdfWriter *m_writer;
    QPainter *m_painter;
    int m_pageCount;
    QString m_head;
    int m_page = 1;
    double m_top = ContentTop;
};
