// The start that installs the supplied tables into a fresh data home: TACO (597
// foods) with its household measures (329 measures files) and IBGE (1,971 foods with their
// sugars and trans fat), and the TACO measures alone into a
// home that holds the table. Reads the delivered data of the source tree
// ($VELMARO_SOURCE_DIR, else the working folder).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "DataGenerator.h"
#include "ingredients/SuppliedMeasures.h"
#include "ingredients/SuppliedTables.h"
#include "storage/Paths.h"

namespace velmaro::bench {
namespace {

namespace fs = std::filesystem;

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

const fs::path& Folder() {
    return BenchFolder("velmaro-supplied-bench");
}

void BM_InstallTacoWithMeasures(benchmark::State& state) {
    const fs::path home = Folder() / "completa";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(home);
        fs::create_directories(home);
        state.ResumeTiming();
        const std::string notice = InstallSuppliedTables(DeliveredData(), home);
        if (!notice.empty() || !fs::exists(DataFolder(home) / kTacoMeasuresMarker)) {
            state.SkipWithError("the delivered data was not installed");
            break;
        }
    }
}
BENCHMARK(BM_InstallTacoWithMeasures)->Unit(benchmark::kMillisecond);

void BM_InstallTacoMeasuresOnly(benchmark::State& state) {
    const fs::path home = Folder() / "medidas";
    fs::remove_all(home);
    fs::create_directories(home);
    if (!InstallSuppliedTables(DeliveredData(), home).empty()) {
        state.SkipWithError("the delivered data was not installed");
        return;
    }
    const std::string taco = "TACO                ";
    const fs::path measures = TableFolder(home, taco) / "Medidas";
    int files = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(measures);
        std::ifstream csv(DeliveredData() / kTacoMeasuresCsv, std::ios::binary);
        state.ResumeTiming();
        const MeasureInstallResult result = InstallMeasures(home, taco, csv);
        files = result.files;
    }
    state.counters["files"] = files;
}
BENCHMARK(BM_InstallTacoMeasuresOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmaro::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(velmaro::bench::Folder(), ec);
    return 0;
}
