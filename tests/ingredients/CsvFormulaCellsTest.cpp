// Cells a spreadsheet would run as formulas, written as text and read back as they were.

#include "ingredients/CsvFormulaCells.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ingredients/CsvReader.h"

namespace velmaro {
namespace {

TEST(CsvFormulaCells, FormulaStartsGetAnApostropheThatTheReaderTakesOff) {
    struct Case {
        const char* text;
        const char* written;
    };
    const Case cases[] = {
        {"=SOMA(A1:A9)", "'=SOMA(A1:A9)"},
        {"+55 11 5555", "'+55 11 5555"},
        {"-Tabela B", "'-Tabela B"},
        {"@Ovo", "'@Ovo"},
        {"'=já", "''=já"},  // an apostrophe of the text's own stays
        {"''-x", "'''-x"},
        {"-1,5", "-1,5"},  // plain numbers stay numbers
        {"+2", "+2"},
        {"-", "'-"},
        {"-1,5,2", "'-1,5,2"},
        {"'abc", "'abc"},  // no formula behind the apostrophe: as it is
        {"'", "'"},
        {"Pão = bom", "Pão = bom"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GuardFormulaCell(c.text), c.written) << c.text;
        EXPECT_EQ(UnguardFormulaCell(c.written), c.text) << c.written;
    }

    // Through the reader, quoted or not.
    std::istringstream in("'=1+1;\"'=SOMA(1;2)\";'abc;''@x\r\n");
    CsvReader reader(in, ';');
    const auto record = reader.Next();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fields, (std::vector<std::string>{"=1+1", "=SOMA(1;2)", "'abc", "'@x"}));
}

}  // namespace
}  // namespace velmaro
