#include "storage/Progress.h"

#include <algorithm>
#include <utility>

namespace velmaro {

int ProgressPercent(int position, int maximum) {
    if (maximum <= 0) {
        return 100;
    }
    const long long clamped = std::clamp(position, 0, maximum);
    return static_cast<int>(clamped * 100 / maximum);
}

ProgressPacer::ProgressPacer(Clock clock) : m_clock(std::move(clock)) {}

void ProgressPacer::SetClock(Clock clock) {
    m_clock = std::move(clock);
}

ProgressPacer::TimePoint ProgressPacer::Now() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

void ProgressPacer::Begin(int maximum) {
    m_maximum = maximum;
    m_drawnPosition = 0;
    m_drawnPercent = ProgressPercent(0, maximum);
    m_drawnAt = Now();
}

bool ProgressPacer::Due(int position) {
    const int percent = ProgressPercent(position, m_maximum);
    if (percent == m_drawnPercent) {
        return false;
    }
    const TimePoint now = Now();
    if (now - m_drawnAt < kInterval) {
        return false;
    }
    m_drawnPosition = position;
    m_drawnPercent = percent;
    m_drawnAt = now;
    return true;
}

}  // namespace velmaro
