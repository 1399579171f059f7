#include "register/pointpicker.h"

#include "common/coordinatetext.h"
#include "common/operatordialogs.h"
#include "register/pickplots.h"
#include "register/pointregister.h"

#include <array>

namespace {

// Which coordinates a view shows, and so which columns of the point table a pick there compares.
struct TViewRule
{
    bool x;
    bool y;
    bool z;
    const char *moreThanOne;
};

constexpr std::array<TViewRule, 4> kViews{{
    {true, true, false, "More than one point fits these values\rTry another view"},
    {true, false, true, "More than one point fits these x and z values\rTry another view"},
    {false, true, true, "More than one point fits these y and z values\rTry another view"},
    {true, true, true, "More than one point fits these x, y and z values\rTry another view"},
}};

const QString kNoPoint = QStringLiteral("No point fits these values\rPoint probably deleted");
const QString kHello = QStringLiteral("hello.wav");
const QString kChimes = QStringLiteral("chimes.wav");

QString OutcomeMessage(TPickOutcome outcome, bool distance)
{
    switch (outcome) {
    case TPickOutcome::TableFull:
        return distance ? QStringLiteral("The distances table is full (999 rows)\r"
                                         "Delete some distances to make room; this distance was not added")
                        : QStringLiteral("The angles table is full (999 rows)\r"
                                         "Delete some angles to make room; this angle was not added");
    case TPickOutcome::BadTexts:
        return distance ? QStringLiteral("A coordinate of these points is not a number\r"
                                         "This distance was not added")
                        : QStringLiteral("A coordinate of these points is not a number\r"
                                         "This angle was not added");
    case TPickOutcome::Selected:
    case TPickOutcome::RowAppended:
        break;
    }
    return {};
}

} // namespace

TPointPicker::TPointPicker(TPointRegister &pointRegister, TDerivations &derivations, TPickPlots &plots,
                           TOperatorDialogs &dialogs)
    : m_register(pointRegister), m_derivations(derivations), m_plots(plots), m_dialogs(dialogs)
{
    QObject::connect(&m_register.Data(), &TTextTable::SelectCell, &m_context,
                     [this](int row) { sgDataSelectCell(row); });
    QObject::connect(&m_register.Distances(), &TTextTable::SelectCell, &m_context,
                     [this](int row) { sgDistanceSelectCell(row); });
    QObject::connect(&m_register.Angles(), &TTextTable::SelectCell, &m_context,
                     [this](int row) { sgAnglesSelectCell(row); });
}

TOperationState TPointPicker::State() const
{
    return m_state ? m_state() : TOperationState{};
}

void TPointPicker::Warn(const QString &message)
{
    m_dialogs.PlaySound(kChimes);
    m_dialogs.ShowMessage(message);
}

void TPointPicker::Pick(int series, int index)
{
    if (series < 1 || series > static_cast<int>(kViews.size()))
        return;
    const TViewRule &view = kViews[static_cast<std::size_t>(series - 1)];
    const int chart = series;
    const TPoint3 point = m_plots.ClickedPoint(series, index);
    const QString x = FormatCoordinate(point.x);
    const QString y = FormatCoordinate(point.y);
    const QString z = FormatCoordinate(point.z);

    TTextTable &data = m_register.Data();
    int matches = 0;
    int row = 0;
    for (int r = 1; r < data.RowCount(); ++r) {
        if ((view.x && data.Cell(1, r) != x) || (view.y && data.Cell(2, r) != y) ||
            (view.z && data.Cell(3, r) != z))
            continue;
        ++matches;
        row = r;
    }
    if (matches == 0) {
        Warn(kNoPoint);
        return;
    }
    if (matches > 1) {
        Warn(QString::fromLatin1(view.moreThanOne));
        return;
    }

    const TOperationState state = State();
    // Taken before selecting: in Delete Point mode the selection may delete the row and move the next
    // point up into it, and the go-to targets must still name the point that was clicked.
    const QStringList picked = data.RowTexts(row);
    data.SetRow(row);
    data.SetTopRow(row);

    std::optional<QString> failure;
    if (state.distance)
        failure = Derive(chart, row, point, true);
    else if (state.angle)
        failure = Derive(chart, row, point, false);

    if (series == 1 && m_goTo)
        m_goTo(picked.value(1), picked.value(2), picked.value(3));

    if (m_processEvents)
        m_processEvents();
    if (failure)
        Warn(*failure);
    else
        m_dialogs.PlaySound(kHello);
}

std::optional<QString> TPointPicker::Derive(int chart, int row, TPoint3 point, bool distance)
{
    constexpr int kFirstLine = 1;
    constexpr int kSecondLine = 2;
    const TPickOutcome outcome =
        distance ? m_derivations.DistancePickStep(row) : m_derivations.AnglePickStep(row);
    if (m_progress)
        m_progress(ProgressText(outcome, row, distance));
    if (outcome == TPickOutcome::TableFull || outcome == TPickOutcome::BadTexts)
        return OutcomeMessage(outcome, distance);

    if (distance) {
        m_plots.AddLinePoint(chart, kFirstLine, point);
    } else {
        // The vertex, picked second, ends both legs.
        const int stage = m_derivations.AnglePickStage();
        if (stage <= 1)
            m_plots.AddLinePoint(chart, kFirstLine, point);
        if (stage >= 1)
            m_plots.AddLinePoint(chart, kSecondLine, point);
    }
    return std::nullopt;
}

QString TPointPicker::StartText(const TOperationState &state)
{
    if (state.distance)
        return QStringLiteral("Distance: pick the first point");
    if (state.angle)
        return QStringLiteral("Angle: pick the first point");
    if (state.deletePoint)
        return QStringLiteral("Delete: click a table row, or a point's mark in a view, to delete it");
    return {};
}

QString TPointPicker::ProgressText(TPickOutcome outcome, int row, bool distance) const
{
    const QString what = distance ? QStringLiteral("Distance") : QStringLiteral("Angle");
    switch (outcome) {
    case TPickOutcome::Selected:
        if (distance)
            return QStringLiteral("Distance: point %1 chosen - pick the second point")
                .arg(m_register.Data().Cell(0, row));
        return m_derivations.AnglePickStage() == 0 ? QStringLiteral("Angle: pick the vertex")
                                                   : QStringLiteral("Angle: pick the third point");
    case TPickOutcome::RowAppended: {
        const TTextTable &table = distance ? m_register.Distances() : m_register.Angles();
        const QStringList cells = table.RowTexts(table.Row());
        if (distance)
            return QStringLiteral("Distance added: point %1 to point %2, %3 mm")
                .arg(cells.value(0), cells.value(1), cells.value(5));
        return QStringLiteral("Angle added: points %1, %2, %3, %4 degrees")
            .arg(cells.value(0), cells.value(1), cells.value(2), cells.value(3));
    }
    case TPickOutcome::TableFull:
    case TPickOutcome::BadTexts:
        return what + QStringLiteral(" not added - pick the first point again");
    }
    return {};
}

void TPointPicker::sgDataSelectCell(int row)
{
    ConfirmDeleteRow(QStringLiteral("Delete Coordinate "), m_register.Data(), row);
}

void TPointPicker::sgDistanceSelectCell(int row)
{
    ConfirmDeleteRow(QStringLiteral("Delete Distance "), m_register.Distances(), row);
}

void TPointPicker::sgAnglesSelectCell(int row)
{
    ConfirmDeleteRow(QStringLiteral("Delete Angle "), m_register.Angles(), row);
}

bool TPointPicker::ConfirmDeleteRow(const QString &prefix, TTextTable &table, int row)
{
    if (!State().deletePoint || row < 1 || row >= table.RowCount())
        return false;
    QString rowText;
    for (int column = 0; column < table.ColCount(); ++column)
        rowText += table.Cell(column, row) + QStringLiteral(", ");
    if (!m_dialogs.AskYesNo(prefix + rowText + QStringLiteral(" ?"), TOperatorDialogs::TStyle::Warning))
        return false;
    // The question is modal and points may have been recorded meanwhile; they are appended below the
    // last filled row, so the asked row still holds what the operator saw.
    table.DeleteRow(row);
    return true;
}
