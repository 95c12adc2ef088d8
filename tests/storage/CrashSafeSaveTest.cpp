// Saves killed at random moments: whatever moment the program dies at, a data file or a
// configuration file on disk holds its old content or its new one, whole.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "storage/FileIo.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "support/ChildProcess.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A line table of `count` records whose texts depend on `seed`, so that two versions differ
// in every line and in length.
LineTable Records(int count, char seed) {
    LineTable table;
    for (int i = 0; i < count; ++i) {
        InsertRecord(table, "Registro " + std::to_string(i) + "|" +
                                std::string(static_cast<size_t>(40 + i % 50), seed) + "|" +
                                std::to_string(i * 7) + "|");
    }
    return table;
}

class CrashSafeSaveTest : public ::testing::Test {
  protected:
    // The folder holds the target and, after a kill, perhaps the temporary file of the save
    // that was cut short; nothing else. The leftovers are cleared for the next round.
    void ExpectOnlyTargetsAndLeftovers(const std::vector<std::string>& targets) {
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            bool known = false;
            for (const std::string& target : targets) {
                known = known || name == target || name.rfind("." + target + ".", 0) == 0;
            }
            EXPECT_TRUE(known) << name;
            if (name.front() == '.') {
                fs::remove(entry.path());
            }
        }
    }

    // Each round, a child saves the two versions one after the other without end, starting
    // from the one that is not on disk; it is killed at a random moment and the file must
    // then be one of them. Gives the rounds in which the file had changed.
    int KillWhileSaving(int rounds, const std::vector<std::string>& targets,
                        const std::function<void(size_t version)>& save,
                        const std::function<void()>& check) {
        int changed = 0;
        std::string before;
        const test::KillCount count = test::KillAtRandomMoments(
            rounds, 1500us, random,
            [&](int, const std::function<void()>& ready) {
                ready();
                for (size_t version = 1;; version = 1 - version) {
                    save(version);
                }
            },
            [&](int) {
                check();
                ExpectOnlyTargetsAndLeftovers(targets);
                const std::string now = test::ReadBytes(dir.Path() / targets[0]);
                changed += now != before ? 1 : 0;
                before = now;
            });
        EXPECT_EQ(count.rounds, rounds);
        EXPECT_EQ(count.interrupted, rounds);
        RecordProperty("kills", count.interrupted);
        return changed;
    }

    test::TempDir dir{test::MemoryTempRoot()};
    std::mt19937 random{20240611};
};

TEST_F(CrashSafeSaveTest, ALineTableIsTheOldOrTheNewFile) {
    const fs::path path = dir.Path() / "ArqFicTec.dad";
    const std::vector<LineTable> versions = {Records(60, 'a'), Records(75, 'b')};
    const std::string bytes[2] = {LineTableBytes(versions[0].lines),
                                  LineTableBytes(versions[1].lines)};
    SaveLineTable(path, versions[0].lines);
    const int changed = KillWhileSaving(
        150, {"ArqFicTec.dad"}, [&](size_t v) { SaveLineTable(path, versions[v].lines); },
        [&] {
            const std::string now = test::ReadBytes(path);
            ASSERT_TRUE(now == bytes[0] || now == bytes[1])
                << now.size() << " bytes, neither " << bytes[0].size() << " nor "
                << bytes[1].size();
        });
    EXPECT_GT(changed, 0) << "the kills came before any save ended";
}

TEST_F(CrashSafeSaveTest, AScrambledIngredientFileIsTheOldOrTheNewFile) {
    const fs::path path = dir.Path() / "ArqIng.dad";
    std::vector<LineTable> versions = {Records(50, 'x'), Records(64, 'y')};
    const std::string bytes[2] = {ScrambledLineTableBytes(versions[0].lines),
                                  ScrambledLineTableBytes(versions[1].lines)};
    NullProgress progress;
    SaveScrambledLineTable(path, versions[0].lines, progress);
    KillWhileSaving(
        100, {"ArqIng.dad"},
        [&](size_t v) { SaveScrambledLineTable(path, versions[v].lines, progress); },
        [&] {
            const std::string now = test::ReadBytes(path);
            ASSERT_TRUE(now == bytes[0] || now == bytes[1]) << now.size() << " bytes";
        });
}

TEST_F(CrashSafeSaveTest, AnIniFileHasAllTheKeysOfOneSaveOrNone) {
    const fs::path path = dir.Path() / "Bolo.rot";
    auto write = [&](size_t v) {
        IniFile ini(path);
        ini.Hold();
        for (const char* key : {"LarEti", "AltEti", "DesKAL", "ValPor"}) {
            ini.WriteString("CfgEti", key, std::string(5 + v * 30, static_cast<char>('A' + v)));
        }
        ini.WriteInteger("DadRot", "Versao", static_cast<int>(v));
        ini.Commit();
    };
    write(1);
    const std::string one = test::ReadBytes(path);
    write(0);
    const std::string zero = test::ReadBytes(path);
    // The single writes of a file being built up key by key: every save is whole as well.
    const fs::path config = dir.Path() / "CfgNut.ini";
    KillWhileSaving(
        150, {"Bolo.rot", "CfgNut.ini"},
        [&](size_t v) {
            write(v);
            IniFile(config).WriteInteger("Fixa Tabela", "FixTab", static_cast<int>(v));
        },
        [&] {
            const std::string now = test::ReadBytes(path);
            ASSERT_TRUE(now == zero || now == one) << now;
            const std::string cfg = test::ReadBytes(config);
            ASSERT_TRUE(cfg.empty() || cfg == "[Fixa Tabela]\r\nFixTab=0\r\n" ||
                        cfg == "[Fixa Tabela]\r\nFixTab=1\r\n")
                << cfg;
        });
}

TEST_F(CrashSafeSaveTest, EveryFileOfABatchIsWhole) {
    const std::vector<std::string> names = {"Bolo.dad", "Torta.dad", "ArqFicTec.dad"};
    std::vector<std::vector<std::string>> bytes(names.size());
    for (size_t f = 0; f < names.size(); ++f) {
        for (char seed : {'p', 'q'}) {
            bytes[f].push_back(LineTableBytes(
                Records(20 + static_cast<int>(f) * 10 + (seed - 'p') * 7, seed).lines));
        }
        test::WriteBytes(dir.Path() / names[f], bytes[f][0]);
    }
    KillWhileSaving(
        100, names,
        [&](size_t v) {
            FileBatch batch;
            for (size_t f = 0; f < names.size(); ++f) {
                batch.Add(dir.Path() / names[f], bytes[f][v]);
            }
            batch.Commit();
        },
        [&] {
            for (size_t f = 0; f < names.size(); ++f) {
                const std::string now = test::ReadBytes(dir.Path() / names[f]);
                ASSERT_TRUE(now == bytes[f][0] || now == bytes[f][1]) << names[f];
            }
        });
}

}  // namespace
}  // namespace velmaro
