#pragma once

// A four-component vector (a point has w = 1).
struct Vector4
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// A 4x4 matrix of 16 floats stored row-major. Points are column vectors:
// p' = M p, so the translation sits in column 3 (elements 3, 7 and 11) and
// each operation below applies its step after the steps already in the
// matrix (Translate, then Rotate: the point is translated first).
class Matrix4
{
public:
    Matrix4() { Reset(); }

    void Reset();
    void Translate(float x, float y, float z = 0.0f);
    void Scale(float sx, float sy, float sz = 1.0f);
    // Angle in degrees about the axis (x, y, z); with y pointing down the
    // screen a positive angle about (0, 0, 1) turns clockwise.
    void Rotate(float degrees, float axisX = 0.0f, float axisY = 0.0f, float axisZ = 1.0f);
    // this = this * other: other's steps run first.
    void Multiply(const Matrix4& other);
    // other * this: other's steps run after this matrix's.
    void Append(const Matrix4& other);

    float Get(int row, int column) const { return m[row * 4 + column]; }
    void Set(int row, int column, float value) { m[row * 4 + column] = value; }
    float& operator[](int index) { return m[index]; }
    float operator[](int index) const { return m[index]; }
    const float* Data() const { return m; }

    // The inverse; the identity when the matrix is singular.
    Matrix4 Inverse() const;
    bool IsIdentity() const;
    Vector4 TransformVector4(const Vector4& v) const;
    // (x, y, z, 1) through the matrix, divided by w when w is neither 0 nor 1.
    Vector4 TransformPoint(float x, float y, float z = 0.0f) const;

    bool operator==(const Matrix4& other) const;
    Matrix4 operator*(const Matrix4& other) const;

private:
    float m[16]{};
};
