// What the filter does to the bars: how much a bar's drawn height trembles with the hand at
// rest on a noisy sensor, and how soon it follows a jump from an open hand to a fist. Without
// a filter, with the 1€ filter as tuned, and with a plain moving average just long enough to
// be as steady at rest, so that the lag the 1€ filter saves is a number. Median of several
// noise seeds. With --sweep, the same for a grid of parameters: how the tuned ones were chosen.
//   bench_filter [--sweep]
#include "calibration.h"
#include "onefilter.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

namespace {

constexpr double Rate = 213;       // packets a second on the line
constexpr int Noise = 3;           // ± counts on every reading
constexpr int BarInside = 153 - 2; // the middle finger's bar, its inside in pixels
const FingerRange Finger{40, 125}; // a third of the sensor's range, as is typical
constexpr int Seeds = 7;

// The height the bar draws for a share of its range, as FingerBar does.
int drawnHeight(double share)
{
    const long value = std::lround(256 * share);
    return int(std::lround(double(BarInside) * double(value) / 256));
}

using Smoother = std::function<double(double share, double seconds)>;

struct Figures
{
    int jitterPixels; // largest minus smallest height at rest
    double to90Ms;    // from the jump until the bar first stands at 90 % of full
};

Figures measure(const std::function<Smoother()> &make, quint32 seed)
{
    QRandomGenerator random(seed);
    auto noisy = [&](double level) { return level + int(random.bounded(2 * Noise + 1)) - Noise; };
    Smoother smooth = make();
    int low = BarInside, high = 0;
    std::uint64_t n = 0;
    auto at = [&n] { return 100.0 + double(n) / Rate; };
    const double rest = 80;
    for (; n < std::uint64_t(12 * Rate); ++n) {
        const int height = drawnHeight(smooth(calibratedBend(Finger, noisy(rest)), at()));
        if (n >= std::uint64_t(2 * Rate)) { // settled
            low = std::min(low, height);
            high = std::max(high, height);
        }
    }
    for (const std::uint64_t end = n + std::uint64_t(2 * Rate); n < end; ++n)
        smooth(calibratedBend(Finger, noisy(Finger.open)), at());
    const std::uint64_t jump = n;
    double to90 = -1;
    for (const std::uint64_t end = n + std::uint64_t(2 * Rate); n < end && to90 < 0; ++n) {
        const int height = drawnHeight(smooth(calibratedBend(Finger, noisy(Finger.bent)), at()));
        if (height >= 0.9 * BarInside)
            to90 = 1000.0 * double(n - jump) / Rate;
    }
    return {high - low, to90};
}

Figures medianOf(const std::function<Smoother()> &make)
{
    std::vector<int> jitter;
    std::vector<double> lag;
    for (quint32 seed = 1; seed <= Seeds; ++seed) {
        const Figures f = measure(make, seed);
        jitter.push_back(f.jitterPixels);
        lag.push_back(f.to90Ms);
    }
    std::sort(jitter.begin(), jitter.end());
    std::sort(lag.begin(), lag.end());
    return {jitter[Seeds / 2], lag[Seeds / 2]};
}

std::function<Smoother()> oneEuro(OneEuroFilter::Parameters parameters)
{
    return [parameters] {
        return [filter = OneEuroFilter(parameters)](double share, double seconds) mutable {
            return filter.filter(share, seconds);
        };
    };
}

std::function<Smoother()> movingAverage(std::size_t length)
{
    return [length] {
        return [window = std::deque<double>(), sum = 0.0, length](double share, double) mutable {
            window.push_back(share);
            sum += share;
            if (window.size() > length) {
                sum -= window.front();
                window.pop_front();
            }
            return sum / double(window.size());
        };
    };
}

void print(const char *name, const Figures &f)
{
    std::printf("%-40s %6d px %9.1f ms\n", name, f.jitterPixels, f.to90Ms);
}

} // namespace

int main(int argc, char *argv[])
{
    std::printf("bar of %d px, finger range %.0f to %.0f, ±%d counts of noise, %.0f packets/s,"
                " median of %d seeds\n\n",
                BarInside, Finger.open, Finger.bent, Noise, Rate, Seeds);
    std::printf("%-40s %9s %12s\n", "", "at rest", "to 90 %");
    if (argc > 1 && std::strcmp(argv[1], "--sweep") == 0) {
        for (double derivativeCutoff : {1.0, 3.0, 5.0})
            for (double minCutoff : {0.02, 0.05, 0.1})
                for (double beta : {0.1, 0.12, 0.14, 0.16, 0.2}) {
                    char name[64];
                    std::snprintf(name, sizeof name, "1€ %.2f Hz, beta %.2f, %.1f Hz", minCutoff,
                                  beta, derivativeCutoff);
                    print(name, medianOf(oneEuro({minCutoff, beta, derivativeCutoff})));
                }
        return 0;
    }
    print("no filter", medianOf([] { return Smoother([](double s, double) { return s; }); }));
    const Figures tuned = medianOf(oneEuro(PoseFilter::Tuned));
    char name[64];
    std::snprintf(name, sizeof name, "1€ filter (%.2f Hz, beta %.2f, %.1f Hz)",
                  PoseFilter::Tuned.minCutoff, PoseFilter::Tuned.beta,
                  PoseFilter::Tuned.derivativeCutoff);
    print(name, tuned);
    // The shortest moving average as steady at rest.
    for (std::size_t length = 2; length <= 1000; ++length) {
        const Figures average = medianOf(movingAverage(length));
        if (average.jitterPixels <= tuned.jitterPixels) {
            std::snprintf(name, sizeof name, "moving average of %zu samples", length);
            print(name, average);
            break;
        }
    }
    return 0;
}
