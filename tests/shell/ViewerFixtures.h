#pragma once

// Composition tables for the viewer tests: a table list, ingredient records of 30 fields
// and the scrambled ingredient files of the tables that are not the active one.

#include <array>
#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "shell/ActiveTable.h"
#include "shell/VisLisIngForm.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro::test {

// An ingredient record: the name, energy (field 2), group (13); every other value blank
// and every source "Fonte <field>".
struct TestIngredient {
    TestIngredient(std::string n, std::string e = "       ", std::string g = {})
        : name(std::move(n)), energy(std::move(e)), group(std::move(g)) {}
    std::string name;  // UTF-8
    std::string energy;
    std::string group;  // UTF-8, padded to 20 unless empty
    std::string protein = "       ";
    std::string cost = "         ";
};

inline std::string IngredientRow(const TestIngredient& s) {
    std::array<std::string, 31> f;
    f[1] = Pad(W(s.name), 60);
    for (int i = 2; i <= 10; ++i) {
        f[static_cast<size_t>(i)] = "    ,  ";
    }
    f[2] = s.energy;
    f[4] = s.protein;
    f[11] = "     ,  ";
    f[13] = s.group.empty() ? std::string() : Pad(W(s.group), 20);
    f[14] = "   ,  ";
    f[15] = "   ,  ";
    f[16] = s.cost;
    f[17] = "  /  /  ";
    for (int i = 18; i <= 30; ++i) {
        f[static_cast<size_t>(i)] = "Fonte " + std::to_string(i);
    }
    std::string row;
    for (int i = 1; i <= 30; ++i) {
        row += f[static_cast<size_t>(i)] + "|";
    }
    return row;
}

inline LineTable TableOf(const std::vector<TestIngredient>& ingredients) {
    LineTable t;
    std::string bytes;
    for (const auto& s : ingredients) {
        bytes += IngredientRow(s) + "\r\n";
    }
    LoadLineTableFromBytes(bytes, t);
    return t;
}

inline std::string TableRecord(const std::string& name, const std::string& description,
                               const std::string& flag) {
    return Pad(W(name), 20) + "|" + Pad(W(description), 65) + "|" + flag + "|\r\n";
}

inline void WriteIngredientFile(const fs::path& home, const std::string& table,
                                const std::vector<TestIngredient>& ingredients) {
    LineTable t = TableOf(ingredients);
    NullProgress progress;
    SaveScrambledLineTable(IngredientFilePath(home, Pad(table, 20)), t.lines, progress);
}

inline void WriteGroups(const fs::path& home, const std::string& table,
                        const std::vector<std::string>& groups) {
    std::string bytes;
    for (const auto& g : groups) {
        bytes += Pad(W(g), 20) + "|\r\n";
    }
    WriteBytes(IngredientGroupsPath(home, Pad(table, 20)), bytes);
}

// The active table "Minha" (editable) open in a caller, with the tables "Oficial"
// (supplied, 'Tabela X') and "Outra" (the user's) beside it.
class IngredientViewerTest : public DataHomeTest {
  protected:
    IngredientViewerTest() {
        WriteBytes(TableListPath(Home()), TableRecord("Minha", "Tabela minha", "1") +
                                              TableRecord("Oficial", "Tabela X", "0") +
                                              TableRecord("Outra", "Outra tabela", "1"));
        WriteGroups(Home(), "Minha", {"Carnes", "Cereais", "Leguminosas"});
        activeTable.name = kMinha;
        activeTable.editable = true;
        active = TableOf({
            {"FEIJÃO PRETO COZIDO", "  12,50", "Leguminosas"},
            {"Arroz branco", " 100,00", "Cereais"},
            {"Aveia em flocos", "   5,00", "Cereais"},
            {"Bife", "  50,00", "CARNES"},
        });
    }

    void Open(int currentIndex = 0, bool writable = true) {
        form.Prepare(kMinha, active, currentIndex, writable);
        ui.Activate(form);
    }
    // The names of the rows shown, without their padding.
    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (const auto& row : form.LisFilOrdListBox.items) {
            names.push_back(Cp1252ToUtf8(TrimName(row)));
        }
        return names;
    }
    static std::string TrimName(const std::string& row) {
        std::string name = RecordKey(row);
        name.erase(name.find_last_not_of(' ') + 1);
        return name;
    }
    int KeyIndex(const std::string& utf8Name) const {
        return FindKey(active.keys, Pad(W(utf8Name), 60)).index;
    }
    void Check(CheckBox& box) { PressCheckBox(ui, form, box); }
    // Views another table through the drop-down (the check box unchecked first).
    void View(const std::string& table) {
        if (form.NomTabCheckBox.checked) {
            Check(form.NomTabCheckBox);
        }
        const auto& items = form.NomTabComboBox.items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i] == Pad(table, 20)) {
                UserSelect(form.NomTabComboBox, static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << "no table " << table;
    }
    void SelectRow(const std::string& utf8Name) {
        const auto shown = Shown();
        for (size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] == utf8Name) {
                UserSelect(form.LisFilOrdListBox, static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << "no row " << utf8Name;
    }

    const std::string kMinha = Pad("Minha", 20);
    ScriptedUi ui;
    ActiveTable activeTable;
    LineTable active;
    TVisLisIngForm form{ui, Home(), activeTable};
};

}  // namespace velmaro::test
