#pragma once

// A fresh temporary data home and configuration file for each test, removed afterwards.
// Tests never write into the source tree or the working directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace velmaro::test {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir();
    explicit TempDir(const fs::path& parent);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

// Base fixture: a temporary data home and configuration file, installed as this run's
// locations (ProgramFolder, ConfigFilePath).
class DataHomeTest : public ::testing::Test {
protected:
    DataHomeTest();
    fs::path Home() const { return m_dir.Path() / "home"; }
    fs::path Config() const { return m_dir.Path() / "config" / "CfgNut.ini"; }
    fs::path Scratch() const { return m_dir.Path(); }

private:
    TempDir m_dir;
};

// A folder in memory (/dev/shm) when the system has one, else the temporary folder: for
// tests that save many times over, where the flushes of a real disk would only slow them.
fs::path MemoryTempRoot();

std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, std::string_view bytes);
// A fixture file of tests/data copied into `folder` (created as needed).
fs::path CopyFixture(std::string_view name, const fs::path& folder);
fs::path FixturePath(std::string_view name);
std::string Pad(std::string_view text, size_t width);

}  // namespace velmaro::test
