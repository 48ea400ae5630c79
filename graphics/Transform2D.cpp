#include "graphics/Transform2D.h"

void Transform2D::Reset()
{
    m_matrix.Reset();
    m_inverseDirty = true;
}

void Transform2D::Translate(float x, float y, float z)
{
    m_matrix.Translate(x, y, z);
    m_inverseDirty = true;
}

void Transform2D::Scale(float sx, float sy)
{
    m_matrix.Scale(sx, sy);
    m_inverseDirty = true;
}

void Transform2D::Rotate(float degrees, float axisX, float axisY, float axisZ)
{
    m_matrix.Rotate(degrees, axisX, axisY, axisZ);
    m_inverseDirty = true;
}

void Transform2D::Set(int row, int column, float value)
{
    m_matrix.Set(row, column, value);
    m_inverseDirty = true;
}

void Transform2D::SetMatrix(const Matrix4& matrix)
{
    m_matrix = matrix;
    m_inverseDirty = true;
}

const Matrix4& Transform2D::GetInverse() const
{
    if (m_inverseDirty) {
        m_inverse = m_matrix.Inverse();
        m_inverseDirty = false;
    }
    return m_inverse;
}
