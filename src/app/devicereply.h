#pragma once

#include "common/stationtypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// The device's position reply, carriage return already removed (positions 1-based):
//   1 not examined, 2 reply letter "R", 3-9 X, 10-16 Y, 17-23 Z, 24 status, 25... not examined.
// The fields are thousandths of a millimetre with each axis pointing the other way from the station's.
struct TPositionReply
{
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    // '1' records the point; '3', '4' and '6' sound the chime; '\0' when the reply has no position 24.
    char Status = '\0';

    friend bool operator==(const TPositionReply &, const TPositionReply &) = default;
};

// The reply letter (position 2), or '\0' for a reply shorter than 2 characters.
char ReplyLetter(QByteArrayView reply);

// Decodes a position reply. Each field is read as the go-to fields are written: leading blanks, an
// optional sign, digits, an optional point and fraction, an optional exponent; trailing blanks are
// allowed. A field cut short by the end of the reply is read from what is there, and an empty or blank
// field reads as 0. No value when the reply letter is not "R" or a field is not a well-formed number:
// such a reply is no position at all.
std::optional<TPositionReply> DecodePositionReply(QByteArrayView reply);

// The reading in the station's millimetres: each value times 0.001, then times -1, each step held in
// single precision (a raw 12345 gives -12.345).
TPoint3 StationMillimetres(const TPositionReply &reply);

// "BS" + X + Y + Z + "00": each target truncated towards zero and written as printf's "%07.6d" (at
// least six digits, "-" before them, right-aligned in seven characters with blanks), so 12.345, -3.9,
// 0.5 give "BS 000012-000003 00000000". A value of a million or more just makes its field longer.
// Empty when a value is not finite or beyond the range of a 32-bit integer.
QByteArray BuildGoToCommand(float x, float y, float z);
