// Timing of comparing two images: a few differences, as after an edit, and
// every map cell different, as against a tune of another bike. Prints the
// mean time of one compare and of one count.
//   zelvor-compare-timing
#include <chrono>
#include <cstdio>

#include "compare/image_compare.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/sanitizer.h"

using namespace zelvor;

namespace {

constexpr int kRounds = 2000;

template <typename Work>
double microsecondsEach(Work&& work) {
    std::size_t sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) sink += work();
    const double total =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (sink == 0) std::puts("(no differences)");
    return total / kRounds;
}

void report(const char* what, const model::ParameterImage& a, const model::ParameterImage& b) {
    const std::size_t found = compare::compareImages(a, b).size();
    const double compared = microsecondsEach([&] { return compare::compareImages(a, b).size(); });
    const double counted = microsecondsEach([&] { return compare::countDifferences(a, b); });
    std::printf("%-28s %4zu differences  compare %8.1f us  count %8.1f us\n", what, found, compared,
                counted);
}

}  // namespace

int main() {
    model::ParameterImage edited;
    model::loadDefaultSet(edited);
    model::sanitize(edited);

    model::ParameterImage fewChanged = edited;
    fewChanged.set(model::Field::FAN_Fan1, edited.get(model::Field::FAN_Fan1) + 2);
    fewChanged.set(model::Field::JET_1A_Cell, 40, edited.get(model::Field::JET_1A_Cell, 40) + 100);
    fewChanged.set(model::Field::IDLE_IdleMaxAdv, edited.get(model::Field::IDLE_IdleMaxAdv) + 1);

    model::ParameterImage allCells = fewChanged;
    for (std::size_t k = 0; k < 150; ++k) {
        allCells.set(model::Field::ADVANCE_Cell, k,
                     (edited.get(model::Field::ADVANCE_Cell, k) + 1) % 60);
        allCells.set(model::Field::JET_1A_Cell, k, edited.get(model::Field::JET_1A_Cell, k) + 7);
        allCells.set(model::Field::JET_2A_Cell, k, edited.get(model::Field::JET_2A_Cell, k) + 9);
    }

    std::printf("mean of %d rounds (target: a compare within 1000 us)\n", kRounds);
    report("three elements", edited, fewChanged);
    report("every map cell", edited, allCells);
    return 0;
}
