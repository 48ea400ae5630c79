#include "graphics/Matrix4.h"

#include <cmath>
#include <numbers>

void Matrix4::Reset()
{
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const
{
    Matrix4 result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[row * 4 + k] * other.m[k * 4 + column];
            result.m[row * 4 + column] = sum;
        }
    }
    return result;
}

void Matrix4::Multiply(const Matrix4& other)
{
    *this = *this * other;
}

void Matrix4::Append(const Matrix4& other)
{
    *this = other * *this;
}

void Matrix4::Translate(float x, float y, float z)
{
    Matrix4 step;
    step.m[3] = x;
    step.m[7] = y;
    step.m[11] = z;
    Append(step);
}

void Matrix4::Scale(float sx, float sy, float sz)
{
    Matrix4 step;
    step.m[0] = sx;
    step.m[5] = sy;
    step.m[10] = sz;
    Append(step);
}

void Matrix4::Rotate(float degrees, float axisX, float axisY, float axisZ)
{
    float length = std::sqrt(axisX * axisX + axisY * axisY + axisZ * axisZ);
    if (length == 0.0f)
        return;
    float x = axisX / length;
    float y = axisY / length;
    float z = axisZ / length;
    float radians = degrees * std::numbers::pi_v<float> / 180.0f;
    float c = std::cos(radians);
    float s = std::sin(radians);
    float t = 1.0f - c;
    Matrix4 step;
    step.m[0] = t * x * x + c;
    step.m[1] = t * x * y - s * z;
    step.m[2] = t * x * z + s * y;
    step.m[4] = t * x * y + s * z;
    step.m[5] = t * y * y + c;
    step.m[6] = t * y * z - s * x;
    step.m[8] = t * x * z - s * y;
    step.m[9] = t * y * z + s * x;
    step.m[10] = t * z * z + c;
    Append(step);
}

Matrix4 Matrix4::Inverse() const
{
    // Cofactor expansion in double precision.
    double a[16];
    for (int i = 0; i < 16; ++i)
        a[i] = m[i];
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    double determinant = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    Matrix4 result;
    if (std::fabs(determinant) < 1e-12)
        return result;
    for (int i = 0; i < 16; ++i)
        result.m[i] = static_cast<float>(inv[i] / determinant);
    return result;
}

bool Matrix4::IsIdentity() const
{
    return *this == Matrix4();
}

Vector4 Matrix4::TransformVector4(const Vector4& v) const
{
    return Vector4{
        m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3] * v.w,
        m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7] * v.w,
        m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11] * v.w,
        m[12] * v.x + m[13] * v.y + m[14] * v.z + m[15] * v.w,
    };
}

Vector4 Matrix4::TransformPoint(float x, float y, float z) const
{
    Vector4 result = TransformVector4(Vector4{x, y, z, 1.0f});
    if (result.w != 0.0f && result.w != 1.0f) {
        result.x /= result.w;
        result.y /= result.w;
        result.z /= result.w;
        result.w = 1.0f;
    }
    return result;
}

bool Matrix4::operator==(const Matrix4& other) const
{
    for (int i = 0; i < 16; ++i) {
        if (m[i] != other.m[i])
            return false;
    }
    return true;
}
