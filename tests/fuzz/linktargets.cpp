// The fuzz targets of the device link: the position reply, the number reader with NextField, and the
// port manager's receive path.

#include "app/devicereply.h"
#include "common/coordinatetext.h"
#include "common/globalprocedures.h"
#include "devicelink/portmanagerrs232.h"
#include "fakeclock.h"
#include "fakeserialport.h"
#include "fuzzcheck.h"
#include "fuzztargets.h"

#include <cmath>

namespace {

// A finite value's text form reads back as a number whose text form is the same text.
void CheckTextForm(float value)
{
    const QString text = FormatCoordinate(value);
    FUZZ_CHECK(!HoldsNanOrInf(text), "a coordinate text holds no nan or inf");
    const std::optional<float> again = ReadDecimal(text);
    FUZZ_CHECK(again.has_value(), "the text form of a finite value reads back");
    FUZZ_CHECK(FormatCoordinate(*again) == text, "the text form read back gives the same text");
}

} // namespace

int FuzzPositionReply(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView reply(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<TPositionReply> decoded = DecodePositionReply(reply);
    if (!decoded)
        return 0;
    FUZZ_CHECK(ReplyLetter(reply) == 'R', "only an R reply is a position");
    FUZZ_CHECK(std::isfinite(decoded->X) && std::isfinite(decoded->Y) && std::isfinite(decoded->Z),
               "a decoded position is finite");
    FUZZ_CHECK(decoded->Status == (size > 23 ? char(data[23]) : '\0'), "the status is position 24");
    const TPoint3 millimetres = StationMillimetres(*decoded);
    for (const float value : {millimetres.x, millimetres.y, millimetres.z}) {
        FUZZ_CHECK(std::isfinite(value), "a position in millimetres is finite");
        CheckTextForm(value);
    }
    return 0;
}

int FuzzNumberText(const std::uint8_t *data, std::size_t size)
{
    TFuzzBytes bytes(data, size);
    // The first byte chooses how the rest becomes text (Latin-1 or UTF-8, for characters beyond
    // Latin-1) and the delimiter NextField splits at.
    const std::uint8_t mode = bytes.Byte();
    const QByteArray rest = bytes.Bytes(size);
    const QString text = mode & 1 ? QString::fromUtf8(rest) : QString::fromLatin1(rest);
    const QChar delimiter = mode & 2 ? QChar(QLatin1Char(char(mode >> 2))) : QChar(QLatin1Char(','));

    if (const std::optional<float> value = ReadDecimal(text)) {
        FUZZ_CHECK(std::isfinite(*value), "a number read is finite");
        CheckTextForm(*value);
    }

    QString line = text;
    QString field;
    qsizetype calls = 0;
    while (true) {
        const QString before = line;
        const bool taken = NextField(line, field, delimiter);
        FUZZ_CHECK(++calls <= text.size() + 1, "NextField uses a line up");
        if (!taken) {
            FUZZ_CHECK(field.isEmpty() && line == before && TrimControls(line).isEmpty(),
                       "NextField gives nothing only for a blank line, and leaves it as it was");
            break;
        }
        FUZZ_CHECK(line.size() < before.size() && before.endsWith(line), "NextField takes off the front");
        FUZZ_CHECK(TrimControls(field) == field, "a field is trimmed");
        FUZZ_CHECK(!field.contains(delimiter), "a field holds no delimiter");
        if (const std::optional<float> value = ReadDecimal(field))
            FUZZ_CHECK(std::isfinite(*value), "a field read as a number is finite");
    }
    return 0;
}

int FuzzReceivePath(const std::uint8_t *data, std::size_t size)
{
    TFuzzBytes bytes(data, size);
    TFakeClock clock;
    auto ownedPort = std::make_unique<TFakeSerialPort>();
    TFakeSerialPort &port = *ownedPort;
    TPortManagerRS232 engine(std::move(ownedPort), std::make_unique<TFakeTimer>(clock),
                             std::make_unique<TFakeTimer>(clock));
    int commands = 0;
    int fails = 0;
    engine.SetOnSuccess([](TPortManagerRS232 &sender) {
        const QByteArray sequence = sender.ReceiveEndSequence();
        FUZZ_CHECK(sequence.isEmpty() || !sender.Reply().contains(sequence), "a reply holds no end sequence");
        FUZZ_CHECK(!sender.Busy(), "a completed reply leaves the manager Ready");
    });
    engine.SetOnFail([&](TPortManagerRS232 &) { ++fails; });
    engine.SetMaxReceiveAttempts(1 + bytes.Byte() % 3);
    engine.SetReceiveEndSequence(bytes.Bytes(bytes.Byte() % 4));
    engine.SetNumberOfReceiveEndSequences(1 + bytes.Byte() % 3);
    engine.SetPortOpen(true);

    while (!bytes.AtEnd()) {
        switch (bytes.Byte() % 7) {
        case 0:
        case 1:
            // The common case: a piece of bytes in one notification.
            port.Deliver(bytes.Bytes(1 + bytes.Byte() % 32));
            break;
        case 2: {
            // A flood of one byte: 1 to 128 KiB, the larger ones rarer, so that the receive buffer's cap
            // is reached without making every run slow.
            const char byte = char(bytes.Byte());
            port.Deliver(QByteArray(qsizetype(1) << (bytes.Byte() % 18), byte));
            break;
        }
        case 3:
            clock.Advance(bytes.Byte() * 10);
            break;
        case 4:
            engine.SetCommand("BR00");
            ++commands;
            break;
        case 5:
            engine.SetReceiveEndSequence(bytes.Bytes(bytes.Byte() % 4));
            break;
        case 6:
            engine.SetNumberOfReceiveEndSequences(bytes.Byte() % 4);
            break;
        }
        FUZZ_CHECK(engine.ReceiveBufferSize() <= TPortManagerRS232::MaxReceiveBuffer,
                   "the receive buffer never passes its cap");
        FUZZ_CHECK(fails <= commands, "a transaction fails at most once");
    }
    return 0;
}
