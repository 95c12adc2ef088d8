// The record store on scrambled ingredient files of 5,000 and 50,000 records, beside a
// baseline that only reads the file's bytes and splits its lines.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "DataGenerator.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"

namespace velmaro::bench {
long PeakResidentBytes();
namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    return BenchFolder("velmaro-bench");
}

struct Fixture {
    fs::path path;
    LineTable table;
    std::size_t bytes = 0;
};

// One scrambled file per size, written once.
Fixture& FileOf(std::size_t records) {
    static std::map<std::size_t, Fixture> files;
    auto [it, fresh] = files.try_emplace(records);
    if (fresh) {
        it->second.path = Folder() / ("ArqIng-" + std::to_string(records) + ".dad");
        LoadLineTableFromBytes(JoinLinesCrLf(MakeIngredientRecords(records)), it->second.table);
        NullProgress progress;
        SaveScrambledLineTable(it->second.path, it->second.table.lines, progress);
        it->second.bytes = fs::file_size(it->second.path);
    }
    return it->second;
}

void BM_BaselineReadAndSplit(benchmark::State& state) {
    auto& f = FileOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto lines = SplitLines(ReadFileBytes(f.path));
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes));
}

}  // namespace

long PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6)) * 1024;
        }
    }
    return 0;
}

namespace {

// The peak memory of one load, measured in a fresh process (this program started again
// with --load-peak FILE), as a multiple of the file size.
double LoadPeakOverFile(const fs::path& path, std::size_t bytes) {
    const std::string command =
        "/proc/" + std::to_string(getpid()) + "/exe --load-peak '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    long extra = 0;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%ld", &extra) != 1) {
            extra = 0;
        }
        pclose(pipe);
    }
    return static_cast<double>(extra) / static_cast<double>(bytes);
}

void BM_LoadScrambledLineTable(benchmark::State& state) {
    auto& f = FileOf(static_cast<std::size_t>(state.range(0)));
    NullProgress progress;
    for (auto _ : state) {
        LineTable t;
        LoadScrambledLineTable(f.path, t, progress);
        benchmark::DoNotOptimize(t.keys.Count());
    }
    state.counters["file_MB"] = static_cast<double>(f.bytes) / 1e6;
    // Peak memory of a load beyond the process baseline, as a multiple of the file.
    state.counters["peak_x_file"] = LoadPeakOverFile(f.path, f.bytes);
}

void BM_SaveScrambledLineTable(benchmark::State& state) {
    auto& f = FileOf(static_cast<std::size_t>(state.range(0)));
    NullProgress progress;
    const fs::path out = Folder() / "save.dad";
    for (auto _ : state) {
        SaveScrambledLineTable(out, f.table.lines, progress);
    }
}

void BM_FindKey(benchmark::State& state) {
    auto& f = FileOf(static_cast<std::size_t>(state.range(0)));
    const auto& keys = f.table.keys;
    int i = 0;
    for (auto _ : state) {
        auto r = FindKey(keys, keys[i]);
        benchmark::DoNotOptimize(r);
        i = (i + 7919) % keys.Count();
    }
}

BENCHMARK(BM_BaselineReadAndSplit)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadScrambledLineTable)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveScrambledLineTable)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindKey)->Arg(5000)->Arg(50000);

}  // namespace
}  // namespace velmaro::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--load-peak") {
        using namespace velmaro;
        const long before = bench::PeakResidentBytes();
        LineTable t;
        NullProgress progress;
        LoadScrambledLineTable(argv[2], t, progress);
        std::printf("%ld\n", bench::PeakResidentBytes() - before);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(velmaro::bench::Folder(), ec);
    return 0;
}
