#include "support/TestEnv.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "storage/Paths.h"

namespace velmaro::test {

TempDir::TempDir() : TempDir(fs::temp_directory_path()) {}

TempDir::TempDir(const fs::path& parent) {
    std::string tmpl = (parent / "velmaro-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

DataHomeTest::DataHomeTest() {
    fs::create_directories(Home());
    SetLocations({Home(), Config()});
}

fs::path MemoryTempRoot() {
    const fs::path shm = "/dev/shm";
    std::error_code ec;
    if (fs::is_directory(shm, ec) && ::access(shm.c_str(), W_OK | X_OK) == 0) {
        return shm;
    }
    return fs::temp_directory_path();
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path FixturePath(std::string_view name) {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "tests" / "data" / std::string(name);
}

fs::path CopyFixture(std::string_view name, const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path target = folder / fs::path(std::string(name)).filename();
    fs::copy_file(FixturePath(name), target, fs::copy_options::overwrite_existing);
    return target;
}

std::string Pad(std::string_view text, size_t width) {
    std::string s(text);
    if (s.size() < width) {
        s.append(width - s.size(), ' ');
    }
    return s;
}

}  // namespace velmaro::test
