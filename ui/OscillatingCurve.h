#pragma once

// A wave: maps an unbounded time to a periodic (or noisy) value, used by
// oscillations to offset properties. Oscillation records own their wave.
class OscillatingCurve
{
public:
    virtual ~OscillatingCurve() = default;
    virtual double Value(double t) = 0;
};

// sin(2 pi t): period 1, starting at 0 and rising.
class SineWave : public OscillatingCurve
{
public:
    double Value(double t) override;
};

// Triangle wave of period 1: 0 at t = 0, 1 at 0.25, -1 at 0.75.
class ZigZagWave : public OscillatingCurve
{
public:
    double Value(double t) override;
};

// Smooth gradient noise, about -0.5..0.5, 0 at every integer.
class NoiseWave : public OscillatingCurve
{
public:
    double Value(double t) override;
};
