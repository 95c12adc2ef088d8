#pragma once

// The active table: the composition table the registers work on, fixed by the
// configuration or chosen from the table list when a register is opened.

#include <filesystem>
#include <string>

#include "platform/Ui.h"

namespace velmaro {

struct ActiveTable {
    bool fixed = false;
    std::string name;  // the key as stored in the table list (Windows-1252, padded)
    bool editable = false;
    std::string description;
};

// Reads the configuration (FixTab, NomTab) and the table list; sets the main menu's
// caption. A fixed table missing from the list counts as not fixed while the caption
// still names it; a fixed table found takes its stored spelling, description and
// editable flag.
void RefreshActiveTable(const std::filesystem::path& programFolder, ActiveTable& table,
                        std::string& mainCaption);

// "LISTA DE TABELAS": the user picks a table for this opening. False (with a message)
// when there is no table or nothing valid was chosen; the screen is then not opened.
bool ChooseTable(Ui& ui, const std::filesystem::path& programFolder, ActiveTable& table);

}  // namespace velmaro
