#include "files/measurementreport.h"
#include "knownproject.h"
#include "pdftext.h"
#include "register/featureregister.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage ViewPicture(const QColor &colour)
{
    QImage picture(600, 540, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(colour, 6));
    painter.drawEllipse(QRect(150, 120, 300, 300));
    return picture;
}

class Report : public ::testing::Test
{
protected:
    Report()
    {
        LoadKnownProject(tables);
        content.projectName = QStringLiteral("Bracket 7");
        content.createdAt = QDateTime(QDate(2026, 12, 9), QTime(12, 34, 56));
        content.calibrated = true;
        content.calibration = TCalibration{1.0002f, 0.9998f, 1.0f, 0.05f, -0.125f, 89.81f};
        content.views = {ViewPicture(Qt::red), ViewPicture(Qt::darkGreen), ViewPicture(Qt::blue),
                         ViewPicture(Qt::black)};
    }

    QString Write(const QString &name = QStringLiteral("report.pdf"), const TTextTable *features = nullptr)
    {
        const QString fileName = dir.filePath(name);
        const TFileResult result =
            TMeasurementReport(content, tables.data, tables.distances, tables.angles, features)
                .Save(fileName);
        EXPECT_TRUE(result.Ok()) << result.message.toStdString();
        return fileName;
    }

    TTablesUnderTest tables;
    TReportContent content;
    QTemporaryDir dir;
};

TEST_F(Report, TextHoldsTheProjectTheCalibrationAndEveryRow)
{
    const QString fileName = Write();
    const QString text = PageTexts(fileName).join(QLatin1Char('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("Bracket 7"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("2026-12-09 12:34:56")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Readings:\\s+calibrated")).match(text).hasMatch());
    EXPECT_TRUE(HoldsRow(text, {"1.0002", "0.9998", "1", "0.05", "-0.125", "89.81"})) << text.toStdString();

    for (const auto *table : {&tables.data, &tables.distances, &tables.angles}) {
        for (int row = 1; row < table->RowCount(); ++row) {
            if (table->IsRowFree(row))
                continue;
            EXPECT_TRUE(HoldsRow(text, table->RowTexts(row)))
                << table->RowTexts(row).join(',').toStdString() << "\n"
                << text.toStdString();
        }
    }

    // The four views are pictures.
    const QStringList images =
        QString::fromUtf8(RunTool(QStringLiteral(QINTAR_PDFIMAGES), {"-list", fileName}))
            .split(QLatin1Char('\n'))
            .filter(QRegularExpression(QStringLiteral("^\\s*\\d+\\s+\\d+\\s+image\\s")));
    EXPECT_EQ(images.size(), 4);
}

TEST_F(Report, FeaturesTableFollowsWhenItHoldsRows)
{
    TFeatureRegister features;
    features.SetHeaders();
    const QString withoutRows = PageTexts(Write(QStringLiteral("empty.pdf"), &features.Table())).join('\n');
    EXPECT_FALSE(withoutRows.contains(QStringLiteral("Features"))) << withoutRows.toStdString();

    TGeometryFeature circle;
    circle.type = TFeatureType::Circle;
    circle.location = {-1234.567, 20.0, 5.25};
    circle.direction = Eigen::Vector3d(0.6, 0.0, -0.8);
    circle.diameter = 20.0;
    circle.form = 0.004;
    features.AddFeature(circle, {1, 2, 3, 4, 5, 6, 7, 8});
    TGeometryFeature cone = circle;
    cone.type = TFeatureType::Cone;
    cone.apexAngle = 60.0;
    features.AddFeature(cone, {11, 12, 13, 14, 15, 16});
    features.AddRelation(TFeatureRegister::TKind::Distance, QStringLiteral("C1"), QStringLiteral("CO1"),
                         {0.0, std::array<double, 3>{0.0, 0.0, 0.0}});
    const QString text = PageTexts(Write(QStringLiteral("features.pdf"), &features.Table())).join('\n');
    EXPECT_TRUE(text.contains(QStringLiteral("Features (3 rows)"))) << text.toStdString();
    for (int row = 1; row <= features.FeatureCount(); ++row) {
        QStringList cells = features.Table().RowTexts(row);
        cells.removeAll(QString());
        EXPECT_TRUE(HoldsRow(text, cells)) << cells.join(',').toStdString() << "\n" << text.toStdString();
    }
}

TEST_F(Report, LongTablesRunOnOverNumberedPages)
{
    tables.data.ClearDataRows();
    tables.distances.ClearDataRows();
    content.views = {};
    content.calibrated = false;
    for (int row = 1; row <= 180; ++row)
        tables.data.SetRowTexts(row,
                                {QString::number(row), QString::number(row) + ".125", "-0.500", "7.000"});
    const QStringList pages = PageTexts(Write());
    ASSERT_GE(pages.size(), 4);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Readings:\\s+raw, not calibrated"))
                    .match(pages.constFirst())
                    .hasMatch());
    int rowsFound = 0;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        EXPECT_TRUE(pages[page].contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())))
            << pages[page].toStdString();
        bool pageHasPoints = false;
        for (int row = 1; row <= 180; ++row) {
            if (HoldsRow(pages[page], tables.data.RowTexts(row))) {
                ++rowsFound;
                pageHasPoints = true;
            }
        }
        // The column headings head every page the table runs over.
        if (pageHasPoints) {
            EXPECT_TRUE(HoldsRow(pages[page], {"Point", "X (mm)", "Y (mm)", "Z (mm)"}))
                << pages[page].toStdString();
        }
    }
    EXPECT_EQ(rowsFound, 180);
}

TEST_F(Report, FailedWriteIsReportedAndLeavesNothingBehind)
{
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString fileName = dir.filePath(QStringLiteral("blocker/report.pdf"));
    const TFileResult result =
        TMeasurementReport(content, tables.data, tables.distances, tables.angles).Save(fileName);
    EXPECT_EQ(result.status, TFileResult::TStatus::Failed);
    EXPECT_TRUE(result.message.contains(fileName));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"blocker"});
}

} // namespace
