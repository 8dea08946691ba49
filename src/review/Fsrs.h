#pragma once

#include <array>

// The Free Spaced Repetition Scheduler, version 6, with its published default parameters:
// how stable a word is in memory (stability S: the days until the chance to recall it has
// fallen to 90 %), how hard it is (difficulty D, 1 to 10), and when to ask it again. No
// learning steps and no random spread: intervals are whole days from 1 to 36,500.
//
// t counts whole learning days since the last review; t = 0 is a review on the same day.

enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct MemoryState {
    double stability = 0;
    double difficulty = 0;
    bool operator==(const MemoryState&) const = default;
};

namespace fsrs {

inline constexpr std::array<double, 21> kDefaultWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

inline constexpr double kDefaultRetention = 0.9;
inline constexpr double kMinStability = 0.001;
inline constexpr double kMaxStability = 36500;
inline constexpr int kMaxInterval = 36500;

// The chance to recall a word of stability s after t days (1 at t = 0; 0.9 at t = s).
double Retrievability(double t, double s);

// Days until the chance to recall has fallen to desiredRetention, rounded and clamped to
// [1, 36500].
int Interval(double s, double desiredRetention = kDefaultRetention);

// The state after the first rating of a new card.
MemoryState Initial(Rating rating);

// Difficulty after a rating, pulled slightly back towards that of a new card rated Easy.
double NextDifficulty(double d, Rating rating);

// The state after a rating t days after the last review (t < 1: a same-day review).
MemoryState Next(const MemoryState& state, double t, Rating rating);

}  // namespace fsrs
