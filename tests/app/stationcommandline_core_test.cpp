#include "app/stationcommandline.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TCommandLineCase
{
    const char *name;
    QStringList arguments;
    bool start;
    int exitCode;
    std::optional<quint16> port;
    // Found in the output (when exiting with 0) or in the error text.
    QString says;
};

class StationCommandLine : public testing::TestWithParam<TCommandLineCase>
{
};

TEST_P(StationCommandLine, Parses)
{
    const TCommandLineCase &c = GetParam();
    const TStationCommandLine::TResult result =
        TStationCommandLine::Parse(QStringList{QStringLiteral("qintarsoft")} + c.arguments);
    EXPECT_EQ(result.Start, c.start);
    EXPECT_EQ(result.ExitCode, c.exitCode);
    EXPECT_EQ(result.Options.PortNumber, c.port);
    const QString &text = c.exitCode == 0 ? result.Output : result.Error;
    EXPECT_TRUE(text.contains(c.says)) << text.toStdString();
    if (c.exitCode != 0) {
        EXPECT_TRUE(result.Error.contains(QStringLiteral("--help"))) << "the error names the way to the help";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, StationCommandLine,
    testing::Values(
        TCommandLineCase{"none", {}, true, 0, std::nullopt, {}},
        TCommandLineCase{"version", {"--version"}, false, 0, std::nullopt, "QintarSoft 1.00\n"},
        TCommandLineCase{"help", {"-h"}, false, 0, std::nullopt, "Usage: qintarsoft [options]\n"},
        TCommandLineCase{
            "windowSystemOptions", {"-platform", "offscreen", "-reverse"}, true, 0, std::nullopt, {}},
        TCommandLineCase{"port", {"--port", "7"}, true, 0, 7, {}},
        TCommandLineCase{"hexport", {"--port=0x10"}, true, 0, 16, {}},
        TCommandLineCase{"unknown", {"--bogus"}, false, 2, std::nullopt, "Unknown option 'bogus'"},
        TCommandLineCase{"portTooBig", {"--port", "65536"}, false, 2, std::nullopt, "'65536'"},
        TCommandLineCase{"portMissing", {"--port"}, false, 2, std::nullopt, "Missing value"},
        TCommandLineCase{"stray", {"Data"}, false, 2, std::nullopt, "unexpected argument 'Data'"},
        TCommandLineCase{"twoFolders",
                         {"--working-directory", "/tmp", "--documents-folder"},
                         false,
                         2,
                         std::nullopt,
                         "not both"}),
    [](const testing::TestParamInfo<TCommandLineCase> &info) { return std::string(info.param.name); });

// Each test starts and ends in the directory the suite was started in, with the home folder in a
// temporary folder.
class WorkingDirectory : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", m_home.path().toLocal8Bit());
        qunsetenv("XDG_DOCUMENTS_DIR");
    }
    void TearDown() override
    {
        QDir::setCurrent(m_start);
        qputenv("HOME", m_oldHome);
    }

    static TStationCommandLine::TOptions Options(const QStringList &arguments)
    {
        return TStationCommandLine::Parse(QStringList{QStringLiteral("qintarsoft")} + arguments).Options;
    }

    QTemporaryDir m_home;
    QByteArray m_oldHome;
    const QString m_start = QDir::currentPath();
};

TEST_F(WorkingDirectory, WithoutOptionsStaysWhereStarted)
{
    EXPECT_EQ(TStationCommandLine::EnterWorkingDirectory(Options({})), std::nullopt);
    EXPECT_EQ(QDir::currentPath(), m_start);
}

TEST_F(WorkingDirectory, MenuEntryWorksInAFolderOfItsOwnBelowTheDocuments)
{
    const TStationCommandLine::TOptions options = Options({QStringLiteral("--documents-folder")});
    EXPECT_EQ(options.WorkingDirectory, QDir(m_home.path()).filePath(QStringLiteral("Documents/QintarSoft")));
    EXPECT_EQ(TStationCommandLine::EnterWorkingDirectory(options), std::nullopt);
    EXPECT_EQ(QDir::currentPath(), QFileInfo(options.WorkingDirectory).canonicalFilePath());
}

TEST_F(WorkingDirectory, AChosenDirectoryMustExist)
{
    const QString missing = m_home.filePath(QStringLiteral("nowhere"));
    const auto trouble =
        TStationCommandLine::EnterWorkingDirectory(Options({QStringLiteral("--working-directory"), missing}));
    ASSERT_TRUE(trouble);
    EXPECT_TRUE(trouble->contains(QDir::toNativeSeparators(missing))) << trouble->toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(QDir::currentPath(), m_start);

    EXPECT_EQ(TStationCommandLine::EnterWorkingDirectory(Options({QStringLiteral("-w"), m_home.path()})),
              std::nullopt);
    EXPECT_EQ(QDir::currentPath(), QFileInfo(m_home.path()).canonicalFilePath());
}

} // namespace
