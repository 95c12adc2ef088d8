#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/StorageError.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

// Lowers the file size limit so that a write fails half-way (EFBIG), as a full disk
// would; works for root too, unlike a read-only folder.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = m_old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

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
