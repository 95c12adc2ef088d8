#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "ingredients/CsvReader.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/SuppliedTables.h"
#include "storage/Collation.h"
#include "storage/Cp1252.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "storage/Text.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

// The delivered CSV: header and rows (UTF-8).
struct IbgeCsv {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    size_t Column(std::string_view name) const {
        for (size_t i = 0; i < header.size(); ++i) {
            if (header[i] == name) {
                return i;
            }
        }
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
};

IbgeCsv ReadIbgeCsv() {
    std::ifstream in(DeliveredData() / kIbgeCsv, std::ios::binary);
    CsvReader reader(in);
    IbgeCsv csv;
    const auto header = reader.Next();
    if (!header) {
        ADD_FAILURE() << "no " << kIbgeCsv;
        return csv;
    }
    csv.header = header->fields;
    while (const auto row = reader.Next()) {
        csv.rows.push_back(row->fields);
    }
    return csv;
}

// The mask text a CSV cell is stored as ("" for an empty cell: not known).
std::string Stored(const std::string& cell, int width) {
    if (cell.empty()) {
        return {};
    }
    return FormatNumber(2, width, *ParseNumber(cell));
}

class SuppliedIbgeTest : public test::DataHomeTest {
  protected:
    const std::string kIbge = Pad("IBGE", 20);
};

// The names of scripts/ibge_composicao.py: one a food x preparation, all different without
// regard to case (the key rule of every table) and within the 60 characters of a name in
// Windows-1252.
TEST(IbgeNames, TheNamesAreUniqueAndFitTheNameField) {
    const IbgeCsv csv = ReadIbgeCsv();
    ASSERT_EQ(csv.rows.size(), 1971u);
    const size_t name = csv.Column("nome");
    const size_t food = csv.Column("codigo_alimento");
    const size_t preparation = csv.Column("codigo_preparacao");
    std::set<std::string> keys;
    std::set<std::pair<std::string, std::string>> codes;
    for (const auto& row : csv.rows) {
        SCOPED_TRACE(row[name]);
        const auto stored = Utf8ToCp1252(row[name]);
        ASSERT_TRUE(stored.has_value());
        EXPECT_LE(stored->size(), static_cast<size_t>(ing::kNameWidth));
        EXPECT_EQ(TrimTrailingSpaces(*stored), *stored);
        EXPECT_TRUE(keys.insert(CollationKey(*stored)).second);
        EXPECT_TRUE(codes.insert({row[food], row[preparation]}).second);
    }
}

TEST_F(SuppliedIbgeTest, AFreshHomeGetsIbgeReadOnlyWithEveryValueOfTheCsv) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kIbgeMarker));

    LineTable list;
    LoadLineTable(TableListPath(Home()), list);
    ASSERT_EQ(list.lines.Count(), 2);
    EXPECT_EQ(list.keys[0], kIbge);
    EXPECT_EQ(list.keys[1], Pad("TACO", 20));
    const std::string description = W(kIbgeDescription);
    EXPECT_LE(description.size(), 65u);
    EXPECT_EQ(GetRecordField(list.lines, 0, 2), Pad(description, 65));
    EXPECT_EQ(GetRecordField(list.lines, 0, 3), "0");  // consultation only

    LineTable ingredients;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(Home(), kIbge), ingredients, progress);
    const ExtraValuesTable extras = LoadExtraValues(Home(), kIbge);
    EXPECT_TRUE(extras.Problems().empty());
    const IbgeCsv csv = ReadIbgeCsv();
    ASSERT_EQ(ingredients.lines.Count(), 1971);
    ASSERT_EQ(extras.Count(), 1971);

    const std::array<const char*, 10> valueColumns = {
        "energia_kcal",  "carboidrato_g",     "proteina_g", "lipideos_g", "gordura_saturada_g",
        "colesterol_mg", "fibra_alimentar_g", "calcio_mg",  "ferro_mg",   "sodio_mg"};
    const std::array<const char*, kExtraValueCount> extraColumns = {
        kTotalSugarsColumn, kAddedSugarsColumn, kTransFatColumn};
    const std::string source = W(kIbgeSource);
    std::array<int, kExtraValueCount> nonZero{};
    for (const auto& row : csv.rows) {
        const std::string name = *Utf8ToCp1252(row[csv.Column("nome")]);
        SCOPED_TRACE(name);
        const FindResult at = FindKey(ingredients.keys, Pad(name, 60));
        ASSERT_TRUE(at.found);
        const std::string record = ingredients.lines[at.index];
        for (int i = 0; i < ing::kNutrientCount; ++i) {
            const int field = ing::NutrientField(i);
            const std::string cell = row[csv.Column(valueColumns[static_cast<size_t>(i)])];
            const std::string stored = GetField(field, record);
            const std::string expected = Stored(cell, static_cast<int>(stored.size()));
            EXPECT_EQ(stored, expected.empty() ? BlankMaskText(ing::ValueMask(field)) : expected)
                << valueColumns[static_cast<size_t>(i)];
            EXPECT_EQ(TrimTrailingSpaces(GetField(ing::kFirstSource + i, record)),
                      expected.empty() ? "" : source);
        }
        const ExtraValues values = extras.Find(name);
        for (size_t k = 0; k < kExtraValueCount; ++k) {
            const std::string cell = row[csv.Column(extraColumns[k])];
            EXPECT_EQ(values.values[k],
                      cell.empty() ? BlankMaskText(kExtraValueMask) : Stored(cell, 7))
                << extraColumns[k];
            EXPECT_EQ(values.sources[k], cell.empty() ? "" : source);
            nonZero[k] += (values.Value(static_cast<ExtraValue>(k)).value_or(0) > 0) ? 1 : 0;
        }
    }
    // IBGE prints 1,203 total sugars, 451 added sugars and 1,202 trans fats, the others
    // "-"; of those printed, 7 total sugars and 21 trans fats are "0,00" (zero by rounding).
    EXPECT_EQ(nonZero[static_cast<size_t>(ExtraValue::TotalSugars)], 1203 - 7);
    EXPECT_EQ(nonZero[static_cast<size_t>(ExtraValue::AddedSugars)], 451);
    EXPECT_EQ(nonZero[static_cast<size_t>(ExtraValue::TransFat)], 1202 - 21);

    // "-" is a zero; the IBGE codes stay in the delivered file.
    const ExtraValues rice = extras.Find(W("Arroz (polido, parboilizado, agulha, agulhinha, etc)"));
    EXPECT_EQ(rice.Text(ExtraValue::TotalSugars), "   0,00");
    EXPECT_EQ(rice.Text(ExtraValue::TransFat), "   0,01");
    EXPECT_EQ(csv.rows[0][csv.Column("codigo_alimento")], "6300101");
}

// A home with a table of the user's called IBGE: it is not touched, and marked as done.
TEST_F(SuppliedIbgeTest, AUsersTableCalledIbgeIsLeftAlone) {
    fs::create_directories(DataFolder(Home()));
    const std::string mine = kIbge + "|" + Pad("Minha tabela", 65) + "|1|\r\n";
    WriteBytes(TableListPath(Home()), mine);
    // TACO is installed beside it; IBGE is only marked.
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kIbgeMarker));
    EXPECT_FALSE(fs::exists(ExtraValuesFileLocation(Home(), kIbge)));
    LineTable list;
    LoadLineTable(TableListPath(Home()), list);
    EXPECT_EQ(list.lines[0] + "\r\n", mine);
}

// The values beside the records are given only where the ingredient has neither the value
// nor its source; an empty cell is not known and gives nothing.
TEST_F(SuppliedIbgeTest, ExtraValuesFillOnlyWhatIsMissing) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    const std::string name = W("Açúcar");
    ExtraValuesTable extras = LoadExtraValues(Home(), kIbge);
    ExtraValues mine = extras.Find(name);
    ASSERT_TRUE(mine.Known(ExtraValue::TotalSugars));
    mine.values[0] = "  50,00";
    mine.sources[0] = "minha";
    mine.values[1] = BlankMaskText(kExtraValueMask);
    mine.sources[1] = "";
    extras.Set(name, mine);
    WriteBytes(ExtraValuesFileLocation(Home(), kIbge), extras.Bytes());

    std::istringstream csv(
        "nome,acucares_totais_g,acucares_adicionados_g,gordura_trans_g\n"
        "Açúcar,99.5,99.5,\n");
    const TransInstallResult result = InstallExtraValues(Home(), kIbge, csv, "nome", kIbgeSource);
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.values, 1);
    const ExtraValues after = LoadExtraValues(Home(), kIbge).Find(name);
    EXPECT_EQ(after.Text(ExtraValue::TotalSugars), "  50,00");
    EXPECT_EQ(after.Source(ExtraValue::TotalSugars), "minha");
    EXPECT_EQ(after.Text(ExtraValue::AddedSugars), "  99,50");
    EXPECT_EQ(after.Source(ExtraValue::AddedSugars), W(kIbgeSource));
    EXPECT_EQ(after.Text(ExtraValue::TransFat), mine.Text(ExtraValue::TransFat));
}

}  // namespace
}  // namespace velmaro
