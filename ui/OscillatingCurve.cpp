#include "ui/OscillatingCurve.h"

#include "ui/Noise.h"

#include <cmath>

double SineWave::Value(double t)
{
    return std::sin(2.0 * 3.1415926 * t);
}

double ZigZagWave::Value(double t)
{
    // The phase is taken as t - floor(t) so negative times continue the same
    // triangle instead of running off below -1.
    double x = 4.0 * (t - std::floor(t));
    if (x < 1.0)
        return x;
    if (x < 3.0)
        return 2.0 - x;
    return x - 4.0;
}

double NoiseWave::Value(double t)
{
    return Noise1D(t);
}
