#pragma once

#include "graphics/Matrix4.h"

// A transform built step by step (shear by element writes, translation,
// scale, rotation about an axis) whose inverse is rebuilt only when read.
class Transform2D
{
public:
    void Reset();
    void Translate(float x, float y, float z = 0.0f);
    void Scale(float sx, float sy);
    void Rotate(float degrees, float axisX = 0.0f, float axisY = 0.0f, float axisZ = 1.0f);
    // Element writes for shears: row and column as in Matrix4.
    void Set(int row, int column, float value);
    float Get(int row, int column) const { return m_matrix.Get(row, column); }

    const Matrix4& GetMatrix() const { return m_matrix; }
    void SetMatrix(const Matrix4& matrix);
    const Matrix4& GetInverse() const;
    bool IsIdentity() const { return m_matrix.IsIdentity(); }

    Vector4 TransformVector4(const Vector4& v) const { return m_matrix.TransformVector4(v); }
    Vector4 TransformPoint(float x, float y, float z = 0.0f) const
    {
        return m_matrix.TransformPoint(x, y, z);
    }

private:
    Matrix4 m_matrix;
    mutable Matrix4 m_inverse;
    mutable bool m_inverseDirty = false;
};
