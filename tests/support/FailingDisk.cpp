#include "support/FailingDisk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "storage/FileIo.h"

namespace velmaro::test {

FailingDisk::FailingDisk(int failAt, int error, bool stays)
    : m_failAt(failAt), m_error(error), m_stays(stays) {
    SetWriteFaultHook([this](const std::filesystem::path& target) {
        ++m_writes;
        m_targets.push_back(target);
        const bool fails = m_writes == m_failAt || (m_stays && m_writes > m_failAt);
        return fails ? m_error : 0;
    });
}

FailingDisk::~FailingDisk() {
    SetWriteFaultHook({});
}

int FailEachWriteInTurn(int error, bool stays, const std::function<void(const FailingDisk&)>& run) {
    constexpr int kMostWrites = 200;
    for (int failAt = 1; failAt <= kMostWrites; ++failAt) {
        SCOPED_TRACE("the disk fails at write " + std::to_string(failAt));
        FailingDisk disk(failAt, error, stays);
        run(disk);
        if (!disk.Failed()) {
            return failAt - 1;
        }
        if (::testing::Test::HasFatalFailure()) {
            break;
        }
    }
    ADD_FAILURE() << "the operation did not end within " << kMostWrites << " writes";
    return kMostWrites;
}

std::map<std::filesystem::path, std::string> DataFiles(const std::filesystem::path& folder) {
    std::map<std::filesystem::path, std::string> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file() && it->path().filename().string().front() != '.' &&
            it->file_size() > 0) {
            std::ifstream in(it->path(), std::ios::binary);
            files[std::filesystem::relative(it->path(), folder)] =
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return files;
}

}  // namespace velmaro::test
