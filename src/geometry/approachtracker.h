#pragma once

#include <Eigen/Core>
#include <cstdint>
#include <deque>
#include <optional>

// Remembers the polled positions of the last two seconds so that a recorded point can be given the
// direction the probe was moving when it touched: from the last polled position at least 0.05 mm away
// from the recorded point, polled within the two seconds before the record, to the recorded point.
class TApproachTracker
{
public:
    static constexpr double MinimumTravelMm = 0.05;
    static constexpr std::int64_t WindowMs = 2000;
    // A guard against a flood of positions with one time stamp; far more than two seconds of polling.
    static constexpr std::size_t MaximumPositions = 4096;

    // A polled position at a monotonic time in milliseconds. Older positions than the window before the
    // newest are dropped.
    void AddPosition(std::int64_t timeMs, const Eigen::Vector3d &position);
    // The unit approach direction of a point recorded at timeMs, or none when the probe did not move.
    std::optional<Eigen::Vector3d> ApproachFor(std::int64_t timeMs, const Eigen::Vector3d &recorded) const;
    void Clear() { m_positions.clear(); }
    std::size_t Size() const { return m_positions.size(); }

private:
    struct TPolled
    {
        std::int64_t timeMs;
        Eigen::Vector3d position;
    };
    std::deque<TPolled> m_positions;
};
