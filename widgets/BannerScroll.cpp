#include "widgets/BannerScroll.h"

#include <cstdint>

int CBannerScroll::PeriodForSpeed(int speed) {
    if (speed == 0 || speed > kMaxSpeed || speed < -kMaxSpeed) return kInitialPeriod;
    return kPeriodDividend / (speed < 0 ? -speed : speed);
}

bool CBannerScroll::SetSpeed(int speed) {
    if (speed > kMaxSpeed || speed < -kMaxSpeed) return false;
    if (speed != 0) {
        m_nSpeed = speed;
        m_nPeriod = PeriodForSpeed(speed);
    }
    return true;
}

void CBannerScroll::AddTextWidth(int width) {
    if (width <= 0) return;
    int64_t total = static_cast<int64_t>(m_nTextWidth) + width;
    m_nTextWidth = total > kMaxTextWidth ? kMaxTextWidth : static_cast<int>(total);
}

namespace {

int ClampToInt(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int>(value);
}

} // namespace

CBannerScroll::Step CBannerScroll::Tick(int clientLeft, int clientRight) {
    Step step;
    // 64-bit sums: a position far off to one side plus a long text must not overflow.
    int64_t position = m_nPosition;
    if (m_nSpeed > 0) {
        position -= 1;
        if (position + m_nTextWidth < clientLeft) position = clientRight;
        step.nScrollBy = -1;
    } else if (m_nSpeed < 0) {
        position += 1;
        if (position > clientRight) {
            position = static_cast<int64_t>(clientLeft) - m_nTextWidth;
            step.bInvalidateAll = true;
        }
        step.nScrollBy = 1;
    }
    m_nPosition = ClampToInt(position);
    return step;
}
