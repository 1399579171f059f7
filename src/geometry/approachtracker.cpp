#include "geometry/approachtracker.h"

void TApproachTracker::AddPosition(std::int64_t timeMs, const Eigen::Vector3d &position)
{
    if (!position.allFinite())
        return;
    // A clock that went back (a new session) makes the remembered positions meaningless.
    if (!m_positions.empty() && timeMs < m_positions.back().timeMs)
        m_positions.clear();
    m_positions.push_back({timeMs, position});
    while (!m_positions.empty() && m_positions.front().timeMs < timeMs - WindowMs)
        m_positions.pop_front();
    while (m_positions.size() > MaximumPositions)
        m_positions.pop_front();
}

std::optional<Eigen::Vector3d> TApproachTracker::ApproachFor(std::int64_t timeMs,
                                                             const Eigen::Vector3d &recorded) const
{
    if (!recorded.allFinite())
        return std::nullopt;
    for (auto it = m_positions.rbegin(); it != m_positions.rend(); ++it) {
        if (it->timeMs > timeMs)
            continue;
        if (it->timeMs < timeMs - WindowMs)
            break;
        const Eigen::Vector3d travel = recorded - it->position;
        const double length = travel.norm();
        if (length >= MinimumTravelMm)
            return Eigen::Vector3d(travel / length);
    }
    return std::nullopt;
}
