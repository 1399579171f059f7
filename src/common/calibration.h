#pragma once

// The six numbers that turn raw readings into corrected coordinates: a scale factor per axis and three
// small angles (degrees) by which the axes deviate from square.
struct TCalibration
{
    float AlphaX = 1.0f;
    float AlphaY = 1.0f;
    float AlphaZ = 1.0f;
    float ThetaX = 0.0f;
    float ThetaY = 0.0f;
    float ThetaZ = 0.0f;

    // False when the angles would make the corrected Z the root of a negative number
    // (1 - sin²(theta x) - sin²(theta y) < 0) or a value is not finite.
    bool IsUsable() const;

    friend bool operator==(const TCalibration &, const TCalibration &) = default;
};

// Corrects one point in place, every quantity in single precision. All three results are formed from
// the scaled values (the new X is not used for Y, nor the new Y for Z). A calibration that is not
// usable leaves Z at 0 rather than producing a NaN.
void CalibrateXYZ(float &x, float &y, float &z, const TCalibration &calibration);
