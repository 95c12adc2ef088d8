#pragma once

// Running the command-line companion in a test: its output, errors and exit status, the
// pictures it asked for (recorded, not drawn), and data homes made as the screens make
// them: tables imported from CSV text, preparations whose lines, totals and rows are
// computed by the ingredient line computation and the register's scaling.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliUi.h"
#include "preparations/IngredientLine.h"
#include "preparations/PreparationRecordFixture.h"
#include "preparations/PreparationScaling.h"
#include "preparations/PreparationTotals.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"
#include "support/RecordingImageOutput.h"
#include "support/TestEnv.h"

namespace velmaro::test {

struct CliRun {
    int status = -1;
    std::string out;  // UTF-8
    std::string err;
};

// One ingredient line of a preparation: the ingredient's name (UTF-8) and its weights as
// typed ("120,0"; empty for none).
struct PlannedLine {
    std::string ingredient;
    std::string net;
    std::string gross;
};

class CliTest : public DataHomeTest {
  protected:
    CliRun Cli(const std::vector<std::string>& args, bool terminal = false,
               ImageOutput* output = nullptr) {
        std::ostringstream out;
        std::ostringstream err;
        cli::CliIo io{Home(),   output != nullptr ? *output : images, out, err, terminal, 60,
                      delivered};
        CliRun run;
        run.status = cli::RunCli(args, io);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // The files delivered with the program, as the commands see them (none by default).
    fs::path delivered;

    // A file of the scratch folder with the bytes given.
    fs::path Csv(const std::string& name, const std::string& bytes) {
        const fs::path path = Scratch() / name;
        WriteBytes(path, bytes);
        return path;
    }

    void ImportCsv(const std::string& table, const std::string& csv) {
        const CliRun run = Cli({"tabela", "importar", table, Csv("in.csv", csv).string()});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    static std::string Key(const std::string& utf8, size_t width) { return Pad(W(utf8), width); }

    LineTable Ingredients(const std::string& table) {
        LineTable t;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFilePath(Home(), Key(table, 20)), t, progress);
        return t;
    }

    // A preparation as the screens leave it: each line from its ingredient's record and
    // the weights typed (net, then gross), the totals of the lines in the record and the
    // rows per portion, tablespoon and label portion scaled from them.
    void AddPreparation(const std::string& table, const std::string& name,
                        const std::vector<PlannedLine>& plannedLines,
                        const std::string& yield = "  1000", const std::string& portions = "    10",
                        const std::string& labelPortion = "   120",
                        const std::string& labelMeasure = "1 concha") {
        namespace F = PreparationRecordField;
        const std::string tableKey = Key(table, 20);
        const LineTable ingredients = Ingredients(table);
        cli::CliUi ui;
        LineTable lines;
        for (const PlannedLine& planned : plannedLines) {
            const FindResult found = FindKey(ingredients.keys, Key(planned.ingredient, 60));
            ASSERT_TRUE(found.found) << planned.ingredient;
            IngredientLine line = BlankIngredientLine();
            line.ingredient = ingredients.keys[found.index];
            line.ingredientRecord = ingredients.lines[found.index];
            TakeIngredientDefaults(line);
            line.netWeight = FormatNumber(1, 8, TextToNumber(planned.net));
            AfterNetWeight(line, ui);
            if (!planned.gross.empty()) {
                line.grossWeight = FormatNumber(1, 8, TextToNumber(planned.gross));
                AfterGrossWeight(line, ui);
            }
            InsertRecord(lines, ComposeIngredientLine(line));
        }
        SaveLineTable(PreparationFilePath(Home(), tableKey, Key(name, 40)), lines.lines);

        LineTable list;
        LoadLineTable(PreparationListPath(Home(), tableKey), list);
        std::string record = PreparationLine(W(name), {{F::kYield, yield},
                                                       {F::kPortions, portions},
                                                       {F::kTablespoonWeight, "    15"},
                                                       {F::kLabelPortionWeight, labelPortion},
                                                       {F::kLabelPortionUnit, "g"},
                                                       {F::kLabelPortionMeasure, labelMeasure}});
        SetField(F::kPortionWeight, record, *PortionWeight(yield, portions));
        InsertRecord(list, record);
        const int index = FindKey(list.keys, Key(name, 40)).index;
        UpdatePreparationTotals(lines.lines, list.lines, index, ui);
        std::string scaled = list.lines[index];
        for (const ScaledRow row : {ScaledRow::Portion, ScaledRow::Tablespoon, ScaledRow::Label}) {
            EXPECT_TRUE(ScaleFromYield(scaled, row));
        }
        ReplaceRecord(list.lines, index, scaled);
        SaveLineTable(PreparationListPath(Home(), tableKey), list.lines);
    }

    // The table "Minha" with three ingredients and the preparations "Arroz com feijão" and
    // "Salada".
    void MakeKitchen() {
        ImportCsv("Minha",
                  "nome;grupo;energia (kcal);carboidrato;proteína;lipídeos;saturada;colesterol;"
                  "fibra;cálcio;ferro;sódio;fc;custo;data cotação\n"
                  "Arroz, tipo 1, cozido;Cereais;128;28,1;2,5;0,2;Tr;NA;1,6;4;0,1;1;1,00;6,50;"
                  "10/03/24\n"
                  "Feijão, carioca, cozido;Leguminosas;76;13,6;4,8;0,5;0,1;NA;8,5;27;1,3;2;1,10;"
                  "9,80;10/03/24\n"
                  "Alface, crespa, crua;Verduras;11;1,7;1,3;0,2;;;1,8;38;0,4;3;1,35;12,00;"
                  "11/03/24\n");
        AddPreparation(
            "Minha", "Arroz com feijão",
            {{"Arroz, tipo 1, cozido", "600", ""}, {"Feijão, carioca, cozido", "400", "450"}});
        AddPreparation("Minha", "Salada", {{"Alface, crespa, crua", "200", ""}}, "   200",
                       "     4");
    }

    RecordingImageOutput images;
};

}  // namespace velmaro::test
