#pragma once
// Timing helpers shared by the benchmarks: a figure measured over several rounds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using BenchClock = std::chrono::steady_clock;

inline double SecondsSince(BenchClock::time_point start) {
    return std::chrono::duration<double>(BenchClock::now() - start).count();
}

// The best and the median of a figure's rounds: machines shared with other work are noisy.
struct Figure {
    std::vector<double> values;
    double Best() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
    double Worst() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
    double Median() const {
        if (values.empty()) return 0;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
};

inline void PrintRule() { std::printf("%s\n", std::string(96, '-').c_str()); }

// One part's figure, and its share of the floor when one is given.
inline void PrintFigure(const char* what, const Figure& figure, double floor) {
    std::printf("  %-68s best %6.3f s  median %6.3f s", what, figure.Best(), figure.Median());
    if (floor > 0) std::printf("  (%.2f x floor)", figure.Best() / floor);
    std::printf("\n");
}
