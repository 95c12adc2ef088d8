// Ingredient changes carried into the preparations: an alteration (the in-use warning,
// then the carrying of a new energy value and cost), a deletion and a rename of an
// ingredient, at 2,000 preparations of 20 lines each with 500 of them using it, and at
// 20,000 preparations with 500 and with 5,000 using it. Every iteration works on the
// files the previous one changed.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "DataGenerator.h"
#include "ingredients/IngredientChanges.h"
#include "platform/Ui.h"
#include "preparations/IngredientPropagation.h"
#include "storage/Text.h"

namespace velmaro::bench {
namespace {

namespace fs = std::filesystem;

// Answers nothing and shows nothing: the walks only report their progress.
class QuietUi final : public Ui {
  public:
    int ShowMessageBox(const std::string&, MessageKind) override { return kAnswerOk; }
    int PickFromList(const std::string&, const std::vector<std::string>&, int p) override {
        return p;
    }
    RenameResult AskNewName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void ShowItemsInUse(const std::string&, const std::vector<std::string>& items) override {
        reported = items.size();
    }
    ProgressSink& Progress() override { return m_progress; }
    void ShowHelp() override {}
    std::string AskSaveFileName(const std::string&, const std::string&) override { return {}; }
    bool ConfirmPrinter() override { return false; }
    void PrinterSetup() override {}
    void PrintText(const TextPrintJob&) override {}
    PrintJob* BeginPrintJob(bool) override { return nullptr; }
    void Beep() override {}
    int ShowModal(Form&) override { return 0; }
    std::size_t reported = 0;

  private:
    NullProgress m_progress;
};

const fs::path& Folder() {
    return BenchFolder("velmaro-prop-bench");
}

struct DataHome {
    fs::path home;
    std::string table;
    std::string ingredient;
};

// One data home per size and number of users, made once.
DataHome& HomeOf(const benchmark::State& state) {
    static std::map<std::pair<int64_t, int64_t>, DataHome> homes;
    auto [it, fresh] = homes.try_emplace(std::make_pair(state.range(0), state.range(1)));
    if (fresh) {
        PreparationFolderSetup setup;
        setup.preparations = static_cast<std::size_t>(state.range(0));
        setup.users = static_cast<std::size_t>(state.range(1));
        it->second.home =
            Folder() / (std::to_string(setup.preparations) + "-" + std::to_string(setup.users));
        it->second.table = setup.table;
        it->second.table.resize(20, ' ');
        it->second.ingredient = MakePreparationFolder(it->second.home, setup);
    }
    return it->second;
}

IngredientEdit EnergyAndCost(const std::string& name, bool up) {
    IngredientEdit edit;
    edit.name = name;
    for (std::size_t i = 0; i < kCarriedIngredientFields.size(); ++i) {
        const int field = kCarriedIngredientFields[i];
        edit.shown[i] = edit.edited[i] = field == ing::kQuotationDate
                                             ? std::string("10/12/26")
                                             : BlankMaskText(ing::ValueMask(field));
    }
    edit.shown[0] = up ? " 100,00" : " 120,00";
    edit.edited[0] = up ? " 120,00" : " 100,00";
    const int cost = IngredientEdit::Slot(ing::kCostPerKilogram);
    edit.shown[static_cast<std::size_t>(cost)] = up ? "     8,00" : "    10,00";
    edit.edited[static_cast<std::size_t>(cost)] = up ? "    10,00" : "     8,00";
    return edit;
}

// Grava on an ingredient in use: the warning, then the change carried.
void BM_Alteration(benchmark::State& state) {
    DataHome& d = HomeOf(state);
    QuietUi ui;
    bool up = true;
    for (auto _ : state) {
        CheckIngredientInUse(ui, d.home, d.table, d.ingredient, IngredientUse::Alteration);
        CarryIngredientChange(ui, d.home, d.table, EnergyAndCost(d.ingredient, up));
        up = !up;
    }
    state.counters["users"] = static_cast<double>(ui.reported);
}

void BM_InUseCheckOnly(benchmark::State& state) {
    DataHome& d = HomeOf(state);
    QuietUi ui;
    for (auto _ : state) {
        CheckIngredientInUse(ui, d.home, d.table, d.ingredient, IngredientUse::Alteration);
    }
}

void BM_CarryOnly(benchmark::State& state) {
    DataHome& d = HomeOf(state);
    QuietUi ui;
    bool up = true;
    for (auto _ : state) {
        CarryIngredientChange(ui, d.home, d.table, EnergyAndCost(d.ingredient, up));
        up = !up;
    }
}

void BM_RenameAndBack(benchmark::State& state) {
    DataHome& d = HomeOf(state);
    QuietUi ui;
    std::string other = "Arroz agulhinha";
    other.resize(60, ' ');
    for (auto _ : state) {
        RenameIngredient(ui, d.home, d.table, d.ingredient, other);
        RenameIngredient(ui, d.home, d.table, other, d.ingredient);
    }
}

// Last: the ingredient is gone afterwards.
void BM_Deletion(benchmark::State& state) {
    DataHome& d = HomeOf(state);
    QuietUi ui;
    for (auto _ : state) {
        CheckIngredientInUse(ui, d.home, d.table, d.ingredient, IngredientUse::Deletion);
        RemoveIngredientFromPreparations(ui, d.home, d.table, d.ingredient);
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"preparations", "users"});
    b->Args({2000, 500})->Args({20000, 500})->Args({20000, 5000});
}

BENCHMARK(BM_Alteration)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_InUseCheckOnly)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_CarryOnly)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_RenameAndBack)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Deletion)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(1);

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
