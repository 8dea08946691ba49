#include "Fsrs.h"

#include <algorithm>
#include <cmath>

namespace fsrs {

namespace {

const auto& w = kDefaultWeights;
const double kDecay = -w[20];
// Chosen so that the chance to recall is exactly 90 % after s days.
const double kFactor = std::pow(0.9, 1 / kDecay) - 1;

double ClampDifficulty(double d)
{
    return std::clamp(d, 1.0, 10.0);
}

double ClampStability(double s)
{
    return std::clamp(s, kMinStability, kMaxStability);
}

// Unclamped: the mean reversion aims at the value of the formula itself.
double InitialDifficulty(int g)
{
    return w[4] - std::exp(w[5] * (g - 1)) + 1;
}

}  // namespace

double Retrievability(double t, double s)
{
    return std::pow(1 + kFactor * std::max(t, 0.0) / s, kDecay);
}

int Interval(double s, double desiredRetention)
{
    const double days = s / kFactor * (std::pow(desiredRetention, 1 / kDecay) - 1);
    if (!(days < kMaxInterval))  // NaN included
        return kMaxInterval;
    return std::clamp(static_cast<int>(std::lround(days)), 1, kMaxInterval);
}

MemoryState Initial(Rating rating)
{
    const int g = static_cast<int>(rating);
    return {w[g - 1], ClampDifficulty(InitialDifficulty(g))};
}

double NextDifficulty(double d, Rating rating)
{
    const int g = static_cast<int>(rating);
    const double damped = d - w[6] * (g - 3) * (10 - d) / 9;
    return ClampDifficulty(w[7] * InitialDifficulty(4) + (1 - w[7]) * damped);
}

MemoryState Next(const MemoryState& state, double t, Rating rating)
{
    const int g = static_cast<int>(rating);
    const double s = state.stability;
    const double d = state.difficulty;
    double next;
    if (t < 1) {
        double factor = std::exp(w[17] * (g - 3 + w[18])) * std::pow(s, -w[19]);
        if (g >= 3)
            factor = std::max(factor, 1.0);  // a right answer never lowers stability
        next = s * factor;
    } else {
        const double r = Retrievability(t, s);
        if (rating == Rating::Again) {
            const double forgotten = w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) *
                                     std::exp(w[14] * (1 - r));
            next = std::min(forgotten, s / std::exp(w[17] * w[18]));
        } else {
            const double hard = rating == Rating::Hard ? w[15] : 1;
            const double easy = rating == Rating::Easy ? w[16] : 1;
            next = s * (1 + std::exp(w[8]) * (11 - d) * std::pow(s, -w[9]) *
                                (std::exp(w[10] * (1 - r)) - 1) * hard * easy);
        }
    }
    return {ClampStability(next), NextDifficulty(d, rating)};
}

}  // namespace fsrs
