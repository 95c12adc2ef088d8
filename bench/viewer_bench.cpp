// The ingredient viewer's list on a table of 50,000 ingredients: narrowing by group and
// keyword, ordering by a column, and the rows handed to the list control, as one build
// runs after every change the user makes.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "DataGenerator.h"
#include "platform/Form.h"
#include "shell/ListBuilding.h"
#include "shell/ListViewer.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"

namespace velmaro::bench {
namespace {

constexpr std::size_t kRows = 50000;
const char* const kGroups[] = {
    "Cereais e derivados", "Leguminosas",       "Carnes e derivados", "Frutas",
    "Hortaliças",          "Leite e derivados", "Óleos e gorduras",   "Bebidas"};

// The ingredient file as the viewer gets it: sorted records, eight groups.
const std::vector<std::string>& Rows() {
    static const std::vector<std::string> rows = [] {
        std::vector<std::string> records = MakeIngredientRecords(kRows);
        for (std::size_t i = 0; i < records.size(); ++i) {
            std::string group = W(kGroups[i % std::size(kGroups)]);
            group.resize(20, ' ');
            SetField(13, records[i], group);
        }
        LineTable table;
        LoadLineTableFromBytes(JoinLinesCrLf(records), table);
        return table.lines.Items();
    }();
    return rows;
}

struct ViewerControls : Form {
    ViewerControls() : Form("BenchViewer") {}
    CheckBox filter{*this, "AtiFilCheckBox", ""};
    ComboBox group{*this, "NomGruComboBox"};
    CheckBox order{*this, "AtiOrdCheckBox", ""};
    ComboBox column{*this, "NomCamComboBox"};
    ListBox list{*this, "LisFilOrdListBox"};
    ListViewerCore core{*this, filter, group, order, column, list};
};

// One build as the viewer runs it: the list rebuilt into the list control.
void Run(benchmark::State& state, int groupIndex, int orderField, const char* keyword) {
    ViewerControls v;
    v.core.rows = &Rows();
    v.core.groupField = 13;
    for (const char* g : kGroups) {
        std::string name = W(g);
        name.resize(20, ' ');
        v.group.items.push_back(name);
    }
    v.filter.checked = groupIndex >= 0;
    v.group.itemIndex = groupIndex;
    for (int f = 1; f <= 16; ++f) {
        v.column.items.push_back("column " + std::to_string(f));
    }
    v.order.checked = orderField > 0;
    v.column.itemIndex = orderField - 1;
    const std::vector<std::string> words = keyword != nullptr
                                               ? SplitKeywordWords(FoldAccents(W(keyword)))
                                               : std::vector<std::string>{};
    for (auto _ : state) {
        v.core.Build(keyword != nullptr ? &words : nullptr);
        benchmark::DoNotOptimize(v.list.items.data());
    }
    state.counters["rows_shown"] = static_cast<double>(v.list.items.size());
}

void BM_AllRows(benchmark::State& state) {
    Run(state, -1, 0, nullptr);
}
void BM_Keyword(benchmark::State& state) {
    Run(state, -1, 0, "FEIJÃO COZIDO");
}
void BM_OrderByName(benchmark::State& state) {
    Run(state, -1, 1, nullptr);
}
void BM_OrderByEnergy(benchmark::State& state) {
    Run(state, -1, 2, nullptr);
}
// Every row holds the same text in the column: the order falls to the whole rows.
void BM_OrderByBlankColumn(benchmark::State& state) {
    Run(state, -1, 12, nullptr);
}
void BM_GroupOrderedByEnergy(benchmark::State& state) {
    Run(state, 1, 2, nullptr);
}
void BM_KeywordOrderedByEnergy(benchmark::State& state) {
    Run(state, -1, 2, "ARROZ");
}

BENCHMARK(BM_AllRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keyword)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderByEnergy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderByBlankColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupOrderedByEnergy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeywordOrderedByEnergy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmaro::bench

BENCHMARK_MAIN();
