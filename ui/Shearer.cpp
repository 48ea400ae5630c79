#include "ui/Shearer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kKeep = 268435456.0f;

} // namespace

Shearer::Shearer(DynamicWidget* owner, const std::wstring& name, float* xTarget, float* yTarget,
                 float* xOffsetTarget, float* yOffsetTarget, float goalX, float goalY, float offsetX,
                 float offsetY, float speed, float acceleration, float damping, int refreshKind)
    : Controller(owner, name, true, nullptr, 0.0f, 1.0f, refreshKind), m_damping(std::max(0.0f, damping))
{
    m_x.position = xTarget;
    m_y.position = yTarget;
    if (xOffsetTarget != nullptr)
        *xOffsetTarget = offsetX;
    if (yOffsetTarget != nullptr)
        *yOffsetTarget = offsetY;
    float currentX = xTarget != nullptr ? *xTarget : 0.0f;
    float currentY = yTarget != nullptr ? *yTarget : 0.0f;
    m_x.goal = goalX == kKeep ? currentX : goalX;
    m_y.goal = goalY == kKeep ? currentY : goalY;

    if (speed == 0.0f) {
        if (xTarget != nullptr)
            *xTarget = m_x.goal;
        if (yTarget != nullptr)
            *yTarget = m_y.goal;
        return;
    }
    float dx = m_x.goal - currentX;
    float dy = m_y.goal - currentY;
    float distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0.0f)
        return;
    if (speed < 0.0f)
        speed = 0.01f;
    m_x.terminal = dx * speed / distance;
    m_y.terminal = dy * speed / distance;
    if (acceleration == 0.0f) {
        m_x.velocity = m_x.terminal;
        m_y.velocity = m_y.terminal;
    } else {
        float magnitude = std::fabs(acceleration);
        m_x.acceleration = dx < 0.0f ? -magnitude : magnitude;
        m_y.acceleration = dy < 0.0f ? -magnitude : magnitude;
    }
}

bool Shearer::Update(float dt)
{
    StepAxis(m_x, dt);
    StepAxis(m_y, dt);
    RefreshOwner();
    return m_x.velocity == 0.0f && m_y.velocity == 0.0f && m_x.acceleration == 0.0f &&
           m_y.acceleration == 0.0f;
}

void Shearer::StepAxis(Axis& axis, float dt)
{
    if (axis.acceleration == 0.0f) {
        axis.velocity *= m_damping;
        if (std::fabs(axis.velocity) < 1e-4f)
            axis.velocity = 0.0f;
    } else {
        axis.velocity += axis.acceleration * dt;
        bool reached =
            axis.acceleration > 0.0f ? axis.velocity >= axis.terminal : axis.velocity <= axis.terminal;
        if (reached) {
            axis.velocity = axis.terminal;
            axis.acceleration = 0.0f;
        }
    }
    if (axis.position == nullptr) {
        axis.velocity = 0.0f;
        axis.acceleration = 0.0f;
        return;
    }
    float before = *axis.position;
    *axis.position += axis.velocity * dt;
    bool passed = (before <= axis.goal && *axis.position >= axis.goal && axis.velocity > 0.0f) ||
                  (before >= axis.goal && *axis.position <= axis.goal && axis.velocity < 0.0f);
    if (passed || (axis.velocity == 0.0f && axis.acceleration == 0.0f && *axis.position == axis.goal)) {
        *axis.position = axis.goal;
        axis.velocity = 0.0f;
        axis.acceleration = 0.0f;
    }
}
