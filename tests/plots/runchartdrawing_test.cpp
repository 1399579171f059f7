#include "plots/runchartdrawing.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The marks' centres of one colour, from left to right, found column by column.
QList<QPointF> Marks(const QImage &image, const QColor &colour)
{
    QList<QPointF> marks;
    QList<int> count;
    for (int x = 0; x < image.width(); ++x) {
        double sumY = 0.0;
        int found = 0;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) == colour) {
                sumY += y;
                ++found;
            }
        if (found == 0)
            continue;
        if (!marks.isEmpty() && marks.back().x() + 8 >= x) {
            QPointF &mark = marks.back();
            const int before = count.back();
            mark = {(mark.x() * before + x * found) / (before + found),
                    (mark.y() * before + sumY) / (before + found)};
            count.back() += found;
        } else {
            marks.append({double(x), sumY / found});
            count.append(found);
        }
    }
    return marks;
}

const QColor Inside(0, 140, 0);

QImage Painted(const TRunChartDrawing &chart, const QRectF &area)
{
    QImage image(500, 300, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    chart.Paint(painter, area, 1.0, QStringLiteral("nothing"));
    return image;
}

TEST(RunChartDrawing, MarksEachValueInOrderAndStaysInItsArea)
{
    TRunChartDrawing chart;
    // Parts 2 and 5 are outside 20 +0.02/-0.01, part 3 has no value.
    chart.SetSeries(
        {"C1 Diameter", {20.000, 20.030, std::nullopt, 20.010, 19.980, 20.015}, 20.0, 20.02, 19.99});
    const QRectF area(50, 30, 400, 220);
    const QImage image = Painted(chart, area);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!area.contains(QPointF(x + 0.5, y + 0.5))) {
                ASSERT_EQ(image.pixelColor(x, y).alpha(), 0)
                    << "painted outside its area at " << x << "," << y;
            }

    const QList<QPointF> inside = Marks(image, Inside);
    ASSERT_EQ(inside.size(), 3);
    // Parts 1, 4 and 6 stand in equal slots: the gap of the missing part 3 keeps its place.
    const double slot = inside[2].x() - inside[1].x();
    EXPECT_NEAR(inside[1].x() - inside[0].x(), 1.5 * slot, 2.0);
    // Higher values stand higher: 20.000, 20.010, 20.015.
    EXPECT_GT(inside[0].y(), inside[1].y());
    EXPECT_GT(inside[1].y(), inside[2].y());
}

TEST(RunChartDrawing, OnePartStandsInTheMiddleAndAZoneHasNoLowerLimit)
{
    TRunChartDrawing one;
    one.SetSeries({"PL1 Flatness", {0.004}, 0.0, 0.010, std::nullopt});
    const QList<QPointF> single = Marks(Painted(one, QRectF(0, 0, 500, 300)), Inside);
    ASSERT_EQ(single.size(), 1);
    // In the middle of the plot, which starts after the limits' labels on the left.
    EXPECT_GT(single[0].x(), 250.0);
    EXPECT_LT(single[0].x(), 300.0);

    // No title: only the text that asks for a characteristic.
    TRunChartDrawing none;
    EXPECT_TRUE(Marks(Painted(none, QRectF(0, 0, 500, 300)), Inside).isEmpty());
}

} // namespace
