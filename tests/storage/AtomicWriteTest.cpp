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

TEST(AtomicWrite, ABatchReplacesEveryFileOrNone) {
    test::TempDir dir;
    const auto a = dir.Path() / "a.dad";
    const auto b = dir.Path() / "b.dad";
    test::WriteBytes(a, "velho a");
    auto count = [&dir] {
        return std::distance(std::filesystem::directory_iterator(dir.Path()),
                             std::filesystem::directory_iterator());
    };
    {
        FileBatch batch;
        batch.Add(a, "novo a");
        FileSizeLimit limit(16);
        EXPECT_THROW(batch.Add(b, std::string(100, 'b')), StorageError);
    }
    EXPECT_EQ(test::ReadBytes(a), "velho a");
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_EQ(count(), 1) << "the temporary files are removed";
    {
        FileBatch batch;
        batch.Add(a, "novo a");
        batch.Add(b, "novo b");
        EXPECT_EQ(test::ReadBytes(a), "velho a") << "nothing replaced before Commit";
        batch.Commit();
        EXPECT_EQ(batch.Committed(), 2u);
    }
    EXPECT_EQ(test::ReadBytes(a), "novo a");
    EXPECT_EQ(test::ReadBytes(b), "novo b");
    EXPECT_EQ(count(), 2);
    // A target that cannot be replaced stops the renames there.
    std::filesystem::remove(b);
    std::filesystem::create_directories(b / "ocupado");
    {
        FileBatch batch;
        batch.Add(a, "terceiro a");
        batch.Add(b, "terceiro b");
        EXPECT_THROW(batch.Commit(), StorageError);
        EXPECT_EQ(batch.Committed(), 1u);
    }
    EXPECT_EQ(test::ReadBytes(a), "terceiro a");
    EXPECT_EQ(count(), 2);
}

TEST(AtomicWrite, AFolderInPlaceOfAFileIsAReadError) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "a.dad");
    EXPECT_THROW(ReadFileBytes(dir.Path() / "a.dad"), StorageError);
    EXPECT_THROW(ReadFileBytes(dir.Path() / "nao-existe.dad"), StorageError);
}

}  // namespace
}  // namespace velmaro
