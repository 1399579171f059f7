#include "app/soundplayer.h"

#include <QAudioDevice>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>
#include <algorithm>
#include <climits>

namespace {

const QString kBundledFolder = QStringLiteral(":/sounds");
constexpr int kLongestWaitMs = 5000;
constexpr int kGraceMs = 250;

QUrl UrlOf(const QString &path)
{
    if (path.startsWith(QLatin1Char(':')))
        return QUrl(QLatin1String("qrc") + path);
    return QUrl::fromLocalFile(path);
}

// Chunks are padded to an even length.
bool Skip(QFile &file, qint64 count)
{
    return count == 0 || file.skip(count) == count;
}

} // namespace

QString TSoundPlayer::Locate(const QString &fileName)
{
    if (fileName.isEmpty())
        return {};
    const QFileInfo local(QDir::current(), fileName);
    if (local.isFile())
        return local.absoluteFilePath();

    const QDir bundled(kBundledFolder);
    const QStringList names = bundled.entryList(QDir::Files);
    const auto match = std::find_if(names.begin(), names.end(), [&](const QString &name) {
        return name.compare(fileName, Qt::CaseInsensitive) == 0;
    });
    return match == names.end() ? QString() : bundled.filePath(*match);
}

std::optional<int> TSoundPlayer::WaveDuration(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(12);
    if (header.size() != 12 || !header.startsWith("RIFF") || header.sliced(8, 4) != "WAVE")
        return std::nullopt;

    quint32 byteRate = 0;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() != 8)
            return std::nullopt;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        if (chunk.startsWith("fmt ")) {
            const QByteArray format = file.read(16);
            if (format.size() != 16 || qFromLittleEndian<quint16>(format.constData()) != 1)
                return std::nullopt;
            byteRate = qFromLittleEndian<quint32>(format.constData() + 8);
            if (size < 16 || !Skip(file, qint64(size) - 16 + (size & 1)))
                return std::nullopt;
        } else if (chunk.startsWith("data")) {
            if (byteRate == 0)
                return std::nullopt;
            const qint64 available = std::min<qint64>(size, file.size() - file.pos());
            return static_cast<int>(std::min<qint64>(available * 1000 / byteRate, INT_MAX));
        } else if (!Skip(file, qint64(size) + (size & 1))) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void TSoundPlayer::Play(const QString &fileName)
{
    const QString path = Locate(fileName);
    if (path.isEmpty())
        return;
    const std::optional<int> duration = WaveDuration(path);
    if (!duration || QMediaDevices::defaultAudioOutput().isNull())
        return;

    QSoundEffect effect;
    QEventLoop loop;
    bool finished = false;
    auto finish = [&] {
        finished = true;
        loop.quit();
    };
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, finish);
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Ready && !effect.isPlaying())
            effect.play();
        else if (effect.status() == QSoundEffect::Error)
            finish();
    });
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying())
            finish();
    });
    effect.setSource(UrlOf(path));
    if (effect.status() == QSoundEffect::Ready && !effect.isPlaying())
        effect.play();

    limit.start(std::min(*duration, kLongestWaitMs) + kGraceMs);
    if (!finished && effect.status() != QSoundEffect::Error)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    effect.stop();
}
