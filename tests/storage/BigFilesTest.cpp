// Files far larger or stranger than the program writes: a file of 100 MB, a file of one
// line of 10 MB, a file of 1,000,000 empty lines. Each loads as a line table (plain, and
// scrambled but for the largest) and as a configuration file without harm; the time and
// memory a load takes are measured in bench/big_files_bench.cpp.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;

constexpr int kBigRecords = 100000;  // of 1,000 bytes each, line end included
constexpr size_t kLongLine = 10 * 1024 * 1024;
constexpr size_t kEmptyLines = 1000000;

// Each test makes its file (ctest runs every test in a process of its own).
class BigFilesTest : public ::testing::Test {
  protected:
    fs::path Big() {
        const fs::path path = dir.Path() / "grande.dad";
        std::ofstream out(path, std::ios::binary);
        std::string line(998, 'x');
        line[996] = '|';
        line[997] = '|';
        for (int i = 0; i < kBigRecords; ++i) {
            const std::string key = "Registro " + std::to_string(1000000 + i) + "|";
            line.replace(0, key.size(), key);
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
            out.write("\r\n", 2);
        }
        return path;
    }
    fs::path LongLine() {
        const fs::path path = dir.Path() / "linha-longa.dad";
        test::WriteBytes(path, std::string(kLongLine, 'a') + "|");  // all of it the key
        return path;
    }
    fs::path EmptyLines() {
        const fs::path path = dir.Path() / "linhas-vazias.dad";
        std::string empty;
        empty.reserve(kEmptyLines * 2);
        for (size_t i = 0; i < kEmptyLines; ++i) {
            empty += "\r\n";
        }
        test::WriteBytes(path, empty);
        return path;
    }

    test::TempDir dir;
};

TEST_F(BigFilesTest, AHundredMegabyteFileLoads) {
    const fs::path big = Big();
    ASSERT_EQ(fs::file_size(big), size_t{100000000});
    LineTable table;
    LoadLineTable(big, table);
    EXPECT_EQ(table.lines.Count(), kBigRecords);
    EXPECT_EQ(table.keys.Count(), kBigRecords);
    EXPECT_TRUE(FindKey(table.keys, "registro 1054321").found);
    // Unscrambled it is 100 MB of noise: its load is measured in the benchmark only.
    const IniFile ini(big);
    EXPECT_EQ(ini.ReadString("CfgEti", "LarEti", "nada"), "nada");
}

TEST_F(BigFilesTest, ALineOfTenMegabytesLoads) {
    const fs::path longLine = LongLine();
    LineTable table;
    LoadLineTable(longLine, table);
    ASSERT_EQ(table.lines.Count(), 1);
    EXPECT_EQ(table.keys[0].size(), kLongLine);
    EXPECT_TRUE(FindKey(table.keys, std::string(kLongLine, 'A')).found);
    NullProgress progress;
    LoadScrambledLineTable(longLine, table, progress);
    EXPECT_EQ(table.lines.Count(), 1);
    EXPECT_EQ(table.lines[0].size(), kLongLine + 1);
    const IniFile ini(longLine);
    EXPECT_FALSE(ini.SectionExists("DadRot"));
}

TEST_F(BigFilesTest, AMillionEmptyLinesLoad) {
    // Each empty line is a record with the empty key (one key for all of them).
    const fs::path emptyLines = EmptyLines();
    LineTable table;
    LoadLineTable(emptyLines, table);
    EXPECT_EQ(table.lines.Count(), static_cast<int>(kEmptyLines));
    EXPECT_EQ(table.keys.Count(), 1);
    NullProgress progress;
    LoadScrambledLineTable(emptyLines, table, progress);
    EXPECT_EQ(table.lines.Count(), static_cast<int>(kEmptyLines));
    IniFile ini(emptyLines);
    EXPECT_EQ(ini.ReadInteger("CfgEti", "NumCol", 3), 3);
}

}  // namespace
}  // namespace velmaro
