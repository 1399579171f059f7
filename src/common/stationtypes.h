#pragma once

#include <QtGlobal>

// Types shared by several subsystems of the station.

// Serial parity as the port manager stores it (8-bit).
enum TParity : quint8
{
    pNone = 0,
    pOdd = 1,
    pEven = 2,
    pMark = 3,
    pSpace = 4,
};

// A point in millimetres, single precision as the device readings are held.
struct TPoint3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend bool operator==(const TPoint3 &, const TPoint3 &) = default;
};
