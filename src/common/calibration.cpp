#include "common/calibration.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {

float Radians(float degrees)
{
    return static_cast<float>(degrees * std::numbers::pi_v<long double> / 180.0L);
}

float ZRadicand(float thetaX, float thetaY)
{
    const float sx = std::sin(Radians(thetaX));
    const float sy = std::sin(Radians(thetaY));
    return 1.0f - sx * sx - sy * sy;
}

} // namespace

bool TCalibration::IsUsable() const
{
    for (float v : {AlphaX, AlphaY, AlphaZ, ThetaX, ThetaY, ThetaZ}) {
        if (!std::isfinite(v))
            return false;
    }
    return ZRadicand(ThetaX, ThetaY) >= 0.0f;
}

void CalibrateXYZ(float &x, float &y, float &z, const TCalibration &c)
{
    const float tx = Radians(c.ThetaX);
    const float ty = Radians(c.ThetaY);
    const float tz = Radians(c.ThetaZ);

    const float ax = x * c.AlphaX;
    const float ay = y * c.AlphaY;
    const float az = z * c.AlphaZ;

    const float sinTx = std::sin(tx);
    const float sinTy = std::sin(ty);
    const float radicand = 1.0f - sinTx * sinTx - sinTy * sinTy;

    x = ax - ay * std::sin(tz) - az * sinTy;
    y = ay * std::cos(tz) - az * sinTx;
    z = radicand >= 0.0f ? az * std::sqrt(radicand) : 0.0f;
}
