// Timings of the model operations that run on every edit or file action.
// Each should stay well below 100 microseconds.
#include <benchmark/benchmark.h>

#include <string>

#include "model/default_set.h"
#include "model/field_table.h"
#include "model/injection.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::model {
namespace {

ParameterImage defaultImage() {
    ParameterImage image;
    loadDefaultSet(image);
    sanitize(image);
    return image;
}

// An image that gives the sanitizer work in every rule.
ParameterImage messyImage() {
    ParameterImage image = defaultImage();
    for (std::size_t k = 0; k < 150; ++k) {
        image.set(Field::ADVANCE_Cell, k, 255 - k % 100);
        image.set(Field::JET_1A_Cell, k, 65535 - k);
    }
    for (std::size_t j = 0; j < 15; ++j) image.set(Field::RPM_ADV_Rpm, j, 255 - j);
    image.set(Field::N2O_Gas1, 200);
    return image;
}

void BM_SanitizeMessyImage(benchmark::State& state) {
    const ParameterImage messy = messyImage();
    for (auto _ : state) {
        ParameterImage image = messy;
        sanitize(image);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_SanitizeMessyImage);

void BM_SanitizeValidImage(benchmark::State& state) {
    ParameterImage image = defaultImage();
    for (auto _ : state) {
        sanitize(image);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_SanitizeValidImage);

void BM_BaseTimesBothMaps(benchmark::State& state) {
    const ParameterImage image = defaultImage();
    const auto axis = [&](Field field) {
        return SpeedAxis(image.bytes().data() + descriptor(field).offset, kMapColumns);
    };
    for (auto _ : state) {
        const BaseTable base1 = computeBaseTable(InjectionMap::Jet1A, 3);
        const BaseTable base2 = computeBaseTable(InjectionMap::Jet2A, 3);
        CellWords times1 = computeBaseTimes(base1, axis(Field::RPM_JET_1A_Rpm));
        CellWords times2 = computeBaseTimes(base2, axis(Field::RPM_JET_2A_Rpm));
        benchmark::DoNotOptimize(times1);
        benchmark::DoNotOptimize(times2);
    }
}
BENCHMARK(BM_BaseTimesBothMaps);

void BM_WriteParameterFile(benchmark::State& state) {
    const ParameterImage image = defaultImage();
    for (auto _ : state) {
        std::string file = formatParameterFile(image);
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(BM_WriteParameterFile);

void BM_ReadParameterFile(benchmark::State& state) {
    const std::string file = formatParameterFile(defaultImage());
    ParameterImage image;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseParameterFile(file, image));
        benchmark::DoNotOptimize(image);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadParameterFile);

}  // namespace
}  // namespace zelvor::model
