#include "app/devicereply.h"

#include "common/coordinatetext.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr qsizetype kFieldWidth = 7;
constexpr qsizetype kFirstField = 2;
constexpr qsizetype kStatusAt = 23;

std::optional<float> ReadField(QByteArrayView reply, qsizetype begin)
{
    if (begin >= reply.size())
        return 0.0f;
    const QByteArrayView field = reply.sliced(begin, std::min(kFieldWidth, reply.size() - begin));
    qsizetype end = field.size();
    while (end > 0 && field[end - 1] == ' ')
        --end;
    if (end == 0)
        return 0.0f;
    return ReadDecimal(QString::fromLatin1(field.first(end)));
}

std::optional<QByteArray> GoToField(float value)
{
    // 2^31 is exactly representable as a float; every float in [-2^31, 2^31) truncates into an int.
    constexpr float kLimit = 2147483648.0f;
    if (!std::isfinite(value) || value < -kLimit || value >= kLimit)
        return std::nullopt;
    const auto whole = static_cast<int>(std::trunc(value));
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%7.6d", whole);
    return QByteArray(buffer, length);
}

} // namespace

char ReplyLetter(QByteArrayView reply)
{
    return reply.size() >= 2 ? reply[1] : '\0';
}

std::optional<TPositionReply> DecodePositionReply(QByteArrayView reply)
{
    if (ReplyLetter(reply) != 'R')
        return std::nullopt;
    const auto x = ReadField(reply, kFirstField);
    const auto y = ReadField(reply, kFirstField + kFieldWidth);
    const auto z = ReadField(reply, kFirstField + 2 * kFieldWidth);
    if (!x || !y || !z)
        return std::nullopt;
    TPositionReply position{*x, *y, *z};
    if (reply.size() > kStatusAt)
        position.Status = reply[kStatusAt];
    return position;
}

TPoint3 StationMillimetres(const TPositionReply &reply)
{
    auto convert = [](float raw) {
        const auto millimetres = static_cast<float>(static_cast<double>(raw) * 0.001);
        return -millimetres;
    };
    return {convert(reply.X), convert(reply.Y), convert(reply.Z)};
}

QByteArray BuildGoToCommand(float x, float y, float z)
{
    const auto fx = GoToField(x);
    const auto fy = GoToField(y);
    const auto fz = GoToField(z);
    if (!fx || !fy || !fz)
        return {};
    return "BS" + *fx + *fy + *fz + "00";
}
