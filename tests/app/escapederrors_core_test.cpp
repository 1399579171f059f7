#include "app/escapederrors.h"
#include "devicelink/qtenginetimer.h"
#include "scripteddialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

QString Box(const QStringList &texts)
{
    return QStringLiteral("The station met an error and goes on:\r") + texts.join(QLatin1Char('\r'));
}

// An error box that, while open, lets the event loop run handlers that fail again.
class TBusyBoxDialogs : public TScriptedDialogs
{
public:
    std::function<void()> WhileOpen;
    int Open = 0;
    int MostOpen = 0;

    void ShowError(const QString &text) override
    {
        ++Open;
        MostOpen = std::max(MostOpen, Open);
        TScriptedDialogs::ShowError(text);
        if (const auto run = std::exchange(WhileOpen, {}))
            run();
        --Open;
    }
};

TEST(EscapedErrors, EachDistinctErrorIsShownOnce)
{
    TScriptedDialogs dialogs;
    TEscapedErrors errors(dialogs);
    for (int i = 0; i < 3; ++i)
        errors.Report(QStringLiteral("bad_alloc"));
    errors.Report(QStringLiteral("bad index"));
    EXPECT_EQ(dialogs.Errors, QStringList({Box({"bad_alloc"}), Box({"bad index"})}));
}

TEST(EscapedErrors, ErrorsWhileABoxIsOpenComeTogetherAfterIt)
{
    TBusyBoxDialogs dialogs;
    TEscapedErrors errors(dialogs);
    dialogs.WhileOpen = [&] {
        errors.Report(QStringLiteral("second"));
        errors.Report(QStringLiteral("first"));
        errors.Report(QStringLiteral("third"));
    };
    errors.Report(QStringLiteral("first"));
    EXPECT_EQ(dialogs.Errors, QStringList({Box({"first"}), Box({"second", "third"})}));
    EXPECT_EQ(dialogs.MostOpen, 1);
}

TEST(EscapedErrors, ARunOfDifferentErrorsIsCut)
{
    TScriptedDialogs dialogs;
    TEscapedErrors errors(dialogs);
    for (int i = 0; i < 50; ++i)
        errors.Report(QStringLiteral("error %1").arg(i));
    EXPECT_EQ(dialogs.Errors.size(), TEscapedErrors::kMostShown);
}

// An error that escapes a timer tick reaches the report instead of the event loop, and the timer
// goes on.
TEST(EscapedErrors, TimerTickErrorReachesTheReport)
{
    TQtEngineTimer timer;
    QStringList reported;
    timer.SetErrorReport([&](const QString &message) { reported.append(message); });
    timer.SetTimeoutHandler([] { throw std::runtime_error("tick failed"); });
    timer.SetInterval(1);
    timer.Start();
    QElapsedTimer waited;
    waited.start();
    while (reported.size() < 2 && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    timer.Stop();
    ASSERT_GE(reported.size(), 2);
    EXPECT_EQ(reported.at(0), QStringLiteral("tick failed"));
}

} // namespace
