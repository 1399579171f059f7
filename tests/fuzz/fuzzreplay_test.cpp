#include "fuzztargets.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Every seed and every kept reproducer of a target, run through the target's own function: a finding
// once fixed stays fixed. A property that fails aborts the test with the property's name.
class FuzzReplay : public ::testing::TestWithParam<TFuzzTarget>
{
};

QStringList InputsOf(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

TEST_P(FuzzReplay, SeedsAndReproducersHoldEveryProperty)
{
    const TFuzzTarget &target = GetParam();
    const QString name = QString::fromLatin1(target.name);
    const QStringList seeds = InputsOf(QStringLiteral(QINTAR_FUZZ_DIR "/corpus/") + name);
    EXPECT_FALSE(seeds.isEmpty()) << "no seeds for " << target.name;
    for (const QString &fileName : seeds + InputsOf(QStringLiteral(QINTAR_FUZZ_DIR "/reproducers/") + name)) {
        SCOPED_TRACE(fileName.toStdString());
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(
            target.run(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())),
            0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(FuzzTargets()),
                         [](const ::testing::TestParamInfo<TFuzzTarget> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
