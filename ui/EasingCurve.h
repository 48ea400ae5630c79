#pragma once

#include <memory>

// Shapes the progress of a motion: maps t in 0..1 to a value that is normally
// 0 at t = 0 and 1 at t = 1. Curves are small and owned by whatever holds them.
class EasingCurve
{
public:
    virtual ~EasingCurve() = default;
    virtual float Value(float t) = 0;
};

class Linear : public EasingCurve
{
public:
    float Value(float t) override;
};

class ParabolicCurve : public EasingCurve
{
public:
    ParabolicCurve(float a, float b, float c);
    float Value(float t) override;

private:
    float m_a{0};
    float m_b{0};
    float m_c{0};
};

// The mirror image of its inner curve: 1 - inner(1 - t).
class OutCurve : public EasingCurve
{
public:
    explicit OutCurve(std::unique_ptr<EasingCurve> inner);
    float Value(float t) override;

private:
    std::unique_ptr<EasingCurve> m_inner;
};

// The inner curve on the first half, its mirror image on the second.
class InOutCurve : public EasingCurve
{
public:
    explicit InOutCurve(std::unique_ptr<EasingCurve> inner);
    float Value(float t) override;

private:
    std::unique_ptr<EasingCurve> m_inner;
};

// The mirror image on the first half, the inner curve on the second.
class OutInCurve : public InOutCurve
{
public:
    explicit OutInCurve(std::unique_ptr<EasingCurve> inner);
};

class InQuad : public EasingCurve
{
public:
    float Value(float t) override;
};

class InCubic : public EasingCurve
{
public:
    float Value(float t) override;
};

class InQuart : public EasingCurve
{
public:
    float Value(float t) override;
};

class InQuint : public EasingCurve
{
public:
    float Value(float t) override;
};

class InSine : public EasingCurve
{
public:
    float Value(float t) override;
};

class InExpo : public EasingCurve
{
public:
    explicit InExpo(float base);
    float Value(float t) override;

private:
    float m_base{10};
};

class InCirc : public EasingCurve
{
public:
    float Value(float t) override;
};

class InBack : public EasingCurve
{
public:
    explicit InBack(float overshoot);
    float Value(float t) override;

private:
    float m_overshoot{2};
};

class InElastic : public EasingCurve
{
public:
    InElastic(float base, float frequency, float fraction);
    float Value(float t) override;

private:
    float m_base{10000};
    float m_frequency{0};
    float m_fraction{1};
};

class InBounce : public EasingCurve
{
public:
    float Value(float t) override;
};
