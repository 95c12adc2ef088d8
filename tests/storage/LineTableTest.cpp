#include <gtest/gtest.h>

#include <random>

#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Scramble.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::ReadBytes;
using test::WriteBytes;

TEST(Fields, GetField) {
    EXPECT_EQ(GetField(3, "A|B|"), "");
    EXPECT_EQ(GetField(3, "A|B"), "B");
    EXPECT_EQ(GetField(2, "A|B"), "B");
    EXPECT_EQ(GetField(1, "A"), "A");
    EXPECT_EQ(GetField(0, "A|B|"), "");
    EXPECT_EQ(GetField(-1, "A|B|"), "");
    EXPECT_EQ(GetField(2, "A||C|"), "");
    EXPECT_EQ(RecordKey("Arroz   |1|"), "Arroz   ");
    EXPECT_EQ(RecordKey("sem separador"), "");
}

TEST(Fields, SetFieldKeepsSeparators) {
    struct Case {
        const char* line;
        int n;
        const char* text;
        const char* out;
    };
    const Case cases[] = {
        {"A|B|", 1, "Z", "Z|B|"},  {"A", 2, "X", "A|X|"}, {"A|B|", 4, "X", "A|B||X|"},
        {"A||C|", 2, "", "A||C|"}, {"", 1, "K", "K|"},    {"A|B|C|", 2, "long", "A|long|C|"},
        {"A|B", 2, "Y", "A|Y|"},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        SetField(c.n, line, c.text);
        EXPECT_EQ(line, c.out) << c.line << " field " << c.n;
    }
}

LineTable Load(std::string_view bytes) {
    LineTable t;
    LoadLineTableFromBytes(bytes, t);
    return t;
}

void ExpectInvariant(const LineTable& t) {
    ASSERT_EQ(t.lines.Count(), t.keys.Count());
    for (int i = 0; i < t.keys.Count(); ++i) {
        EXPECT_EQ(RecordKey(t.lines[i]), t.keys[i]) << "index " << i;
        if (i > 0) {
            EXPECT_LT(CompareLines(t.lines[i - 1], t.lines[i]), 0);
        }
    }
}

TEST(LineTable, LineEndsNulAndEmptyLines) {
    EXPECT_EQ(Load("b|\r\na|\nc|\rd|").lines.Items(),
              (std::vector<std::string>{"a|", "b|", "c|", "d|"}));
    EXPECT_EQ(Load("a|\r\n\r\nb|\r\n").lines.Count(), 3);  // the empty line is a record
    EXPECT_EQ(Load(std::string("a|\r\nb|\0c|\r\n", 11)).lines.Count(), 2);
    EXPECT_EQ(Load("").lines.Count(), 0);
    const auto odd =
        Load("sem barra\r\n\xFF\xFE|x|\r\n\xC3\xA7|utf8|\r\n" + std::string(100000, 'x'));
    EXPECT_EQ(odd.lines.Count(), 4);
    EXPECT_EQ(odd.keys.Count(), 3);  // the two lines without "|" share the empty key
}

TEST(LineTable, SavesCrLfAfterEveryLine) {
    test::TempDir dir;
    const auto path = dir.Path() / "t.dad";
    WriteBytes(path, "B|2|\nA|1|");
    LineTable t;
    LoadLineTable(path, t);
    SaveLineTable(path, t.lines);
    EXPECT_EQ(ReadBytes(path), "A|1|\r\nB|2|\r\n");
}

TEST(LineTable, CaseDuplicatesAndFindKey) {
    LineTable t = Load("Arroz|1|\r\narroz|2|\r\nBanana|3|\r\n");
    EXPECT_EQ(t.lines.Count(), 3);
    EXPECT_EQ(t.keys.Count(), 2);
    LineTable empty;
    const auto none = FindKey(empty.keys, "X");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.index, 0);
    const auto found = FindKey(t.keys, "BANANA");
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.index, 1);
    const auto at = FindKey(t.keys, "Abacate");
    EXPECT_FALSE(at.found);
    EXPECT_EQ(at.index, 0);
    EXPECT_EQ(FindKey(t.keys, "Cenoura").index, 2);
    EXPECT_EQ(GetRecordField(t.lines, -1, 2), "Erro! Codigo n\xE3o existe!");
}

TEST(LineTable, InsertReplaceDeleteKeepBothListsInStep) {
    // Keys that differ only by accents sort apart from the rest of their lines.
    LineTable t = Load(test::Pad("Maca", 10) + "|9|\r\n" + test::Pad(W("Maçã"), 10) + "|1|\r\n");
    ExpectInvariant(t);
    std::mt19937 rng(7);
    const char* names[] = {
        "Arroz", "arroz integral", "Feij\xE3o", "FEIJAO",  "Ab",   "A",
        "Zebu",  "\xC1gua",        "Agua",      "Caf\xE9", "Cafe", "caf\xE9 com leite"};
    for (int round = 0; round < 60; ++round) {
        const std::string key = test::Pad(names[rng() % std::size(names)], 20);
        const auto f = FindKey(t.keys, key);
        const std::string line = key + "|" + std::to_string(rng() % 100) + "|";
        if (!f.found) {
            InsertRecord(t, line);
        } else if (rng() % 2 == 0) {
            ReplaceRecord(t.lines, f.index,
                          t.keys[f.index] + "|" + std::to_string(rng() % 10) + "|");
            EXPECT_EQ(FindKey(t.keys, key).index, f.index);
        } else {
            DeleteRecord(t, f.index);
        }
        ExpectInvariant(t);
    }
    SetRecordField(t.lines, 0, 2, "novo");
    ExpectInvariant(t);
    EXPECT_EQ(GetRecordField(t.lines, 0, 2), "novo");
}

TEST(LineTable, ScrambledSaveAndLoad) {
    test::TempDir dir;
    const auto path = dir.Path() / "ArqIng.dad";
    LineTable t = Load("Cenoura|3|\r\nArroz|1|\r\nBatata|2|\r\n");
    NullProgress progress;
    SaveScrambledLineTable(path, t.lines, progress);
    EXPECT_EQ(t.lines.Items(), (std::vector<std::string>{"Arroz|1|", "Batata|2|", "Cenoura|3|"}));
    const auto fileLines = SplitLines(ReadBytes(path));
    ASSERT_EQ(fileLines.size(), 3u);
    for (size_t i = 0; i < fileLines.size(); ++i) {
        EXPECT_EQ(fileLines[i], ScrambleLine(i, t.lines.Items()[i]));
    }
    LineTable back;
    LoadScrambledLineTable(path, back, progress);
    EXPECT_EQ(back.lines.Items(), t.lines.Items());
    EXPECT_EQ(back.keys.Items(), t.keys.Items());
}

TEST(LineTable, TruncatedScrambledFileLoads) {
    test::TempDir dir;
    const auto path = dir.Path() / "ArqIng.dad";
    LineTable t = Load("Arroz|1|2|3|\r\nBatata|2|\r\n");
    NullProgress progress;
    SaveScrambledLineTable(path, t.lines, progress);
    const std::string bytes = ReadBytes(path);
    WriteBytes(path, bytes.substr(0, bytes.size() - 7));
    LineTable back;
    LoadScrambledLineTable(path, back, progress);
    EXPECT_EQ(back.lines.Count(), 2);
}

}  // namespace
}  // namespace velmaro
