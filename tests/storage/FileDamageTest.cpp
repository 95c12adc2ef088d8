#include <gtest/gtest.h>

#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Scramble.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string bytes;
    int fields;
    int line;  // first damaged line, 0 for a clean file
    DamageKind kind;
    int count;  // lines read
};

// Every line of the file is read, whatever the damage; the first damage is named.
TEST(ReadingRule, PlainLineTablesTellWhatIsDamaged) {
    const Case cases[] = {
        {"clean", "a|1|\r\nb|2|\r\n", 2, 0, DamageKind::Nul, 2},
        {"NUL hides nothing", "a|1|\r\n\0b|2|\r\nc|3|\r\n"s, 2, 2, DamageKind::Nul, 3},
        {"NUL after the last line", "a|1|\r\n\0\0"s, 2, 2, DamageKind::Nul, 1},
        {"control character", "a|1|\r\nb|\x01|\r\n", 2, 2, DamageKind::Unreadable, 2},
        {"duplicate key, other case", "Bolo|1|\r\nbolo|2|\r\n", 2, 2, DamageKind::DuplicateKey, 2},
        {"identical lines", "b|2|\r\na|1|\r\nb|2|\r\n", 2, 3, DamageKind::DuplicateKey, 3},
        {"short record", "a|1|\r\nb|\r\n", 2, 2, DamageKind::ShortRecord, 2},
        {"line without separator", "a|\r\nx\r\nb|\r\n", 0, 2, DamageKind::ShortRecord, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineTable table;
        LoadLineTableFromBytes(c.bytes, table, c.fields);
        EXPECT_EQ(table.lines.Count(), c.count);
        if (c.line == 0) {
            EXPECT_FALSE(table.lines.Damaged());
            EXPECT_NO_THROW(LineTableBytes(table.lines));
            continue;
        }
        ASSERT_TRUE(table.lines.Damaged());
        EXPECT_EQ(table.lines.Check().damages.front().line, c.line);
        EXPECT_EQ(table.lines.Check().damages.front().kind, c.kind);
        EXPECT_THROW(LineTableBytes(table.lines), DamagedFileError);
    }
}

TEST(ReadingRule, ADamagedFileIsNeverSavedAndTheMessageNamesIt) {
    test::TempDir dir;
    const auto path = dir.Path() / "Dados" / "ArqTab.dad";
    const std::string bytes = "Minha|Desc|1|\r\n\0Outra|Desc|1|\r\n"s;
    test::WriteBytes(path, bytes);
    LineTable table;
    LoadLineTable(path, table);
    EXPECT_EQ(table.lines.Count(), 2);
    InsertRecord(table, "Nova|x|1|");
    try {
        SaveLineTable(path, table.lines);
        FAIL() << "saved";
    } catch (const DamagedFileError& e) {
        EXPECT_EQ(std::string(e.what()), "O arquivo " + path.string() +
                                             " está danificado (linha 2): contém um byte nulo.");
    }
    EXPECT_EQ(test::ReadBytes(path), bytes);
    // The table list's records have 3 fields.
    test::WriteBytes(path, "Minha|Desc|\r\n");
    LoadLineTable(path, table);
    EXPECT_EQ(
        DamagedFileMessage(table.lines.Check()),
        "O arquivo " + path.string() + " está danificado (linha 1): tem 2 campos; deveria ter 3.");
    // Emptying the list forgets the damage.
    table.Clear();
    EXPECT_FALSE(table.lines.Damaged());
}

TEST(ReadingRule, ScrambledLinesDecipherOnlyUnderTheirIndex) {
    const std::string a = "Arroz|" + std::string(28, '|') + "|";
    const std::string b = "Feijao|" + std::string(28, '|') + "|";
    NullProgress progress;
    LineTable table;
    // Two lines swapped: each deciphers under the other's index.
    LoadScrambledLineTableFromBytes(ScrambleLine(1, b) + "\r\n" + ScrambleLine(0, a) + "\r\n",
                                    table, progress, 30);
    ASSERT_EQ(table.lines.Check().damages.size(), 2u);
    EXPECT_EQ(table.lines.Check().damages[0].kind, DamageKind::Undecipherable);
    EXPECT_EQ(table.lines.Check().damages[0].other, 1);
    EXPECT_EQ(table.lines.Check().damages[1].other, 0);
    EXPECT_THROW(ScrambledLineTableBytes(table.lines), DamagedFileError);
    // A record that deciphers to its name and one value is short.
    LoadScrambledLineTableFromBytes(ScrambleLine(0, a) + "\r\n" + ScrambleLine(1, "Sal|1,0|"),
                                    table, progress, 30);
    ASSERT_EQ(table.lines.Check().damages.size(), 1u);
    EXPECT_EQ(table.lines.Check().damages[0].kind, DamageKind::ShortRecord);
    EXPECT_EQ(table.lines.Check().damages[0].line, 2);
    // An empty line (a file ending in a blank line) holds nothing to lose.
    LoadScrambledLineTableFromBytes(ScrambleLine(0, a) + "\r\n\r\n", table, progress, 30);
    EXPECT_FALSE(table.lines.Damaged());
}

TEST(ReadingRule, IniFilesWithADuplicateKeyOrANulAreReadButNotSaved) {
    test::TempDir dir;
    const auto path = dir.Path() / "Bolo.rot";
    const std::string duplicate =
        "[DadRot]\r\nKAL=1\r\n[CfgEti]\r\nLarEti=2\r\n[dadrot]\r\nkal=3\r\n";
    test::WriteBytes(path, duplicate);
    IniFile ini(path);
    EXPECT_EQ(ini.Check().damages.front().line, 6);
    EXPECT_EQ(ini.ReadInteger("DadRot", "KAL", 0), 1);
    EXPECT_THROW(ini.WriteInteger("CfgEti", "LarEti", 5), DamagedFileError);
    EXPECT_EQ(test::ReadBytes(path), duplicate);

    const std::string nul = "[DadRot]\r\n\0KAL=1\r\n[CfgEti]\r\nLarEti=2\r\n"s;
    test::WriteBytes(path, nul);
    IniFile withNul(path);
    EXPECT_EQ(withNul.ReadInteger("CfgEti", "LarEti", 0), 2);
    EXPECT_THROW(withNul.WriteInteger("CfgEti", "LarEti", 5), DamagedFileError);
    EXPECT_EQ(test::ReadBytes(path), nul);
}

}  // namespace
}  // namespace velmaro
