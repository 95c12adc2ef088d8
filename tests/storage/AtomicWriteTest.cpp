#include <gtest/gtest.h>

#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/StorageError.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::FileSizeLimit;

TEST(AtomicWrite, FailedWriteLeavesTheOldFileWhole) {
    test::TempDir dir;
    const auto path = dir.Path() / "ArqTab.dad";
    const std::string old = "Velha|tabela|1|\r\n";
    test::WriteBytes(path, old);
    LineTable t;
    for (int i = 0; i < 200; ++i) {
        InsertRecord(t, "Tabela " + std::to_string(i) + "|" + std::string(100, 'x') + "|1|");
    }
    {
        FileSizeLimit limit(4096);
        EXPECT_THROW(SaveLineTable(path, t.lines), StorageError);
    }
    EXPECT_EQ(test::ReadBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}

TEST(AtomicWrite, MissingFolderThrowsAndReplacesWhole) {
    test::TempDir dir;
    EXPECT_THROW(WriteFileAtomic(dir.Path() / "nao-existe" / "a.dad", "x"), StorageError);
    const auto path = dir.Path() / "a.dad";
    WriteFileAtomic(path, "primeiro conteúdo longo");
    WriteFileAtomic(path, "novo");
    EXPECT_EQ(test::ReadBytes(path), "novo");
}

}  // namespace
}  // namespace velmaro
