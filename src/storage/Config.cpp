#include "storage/Config.h"

#include "storage/Cp1252.h"

namespace velmaro::cfg {

void ResetViewerState(IniFile& ini) {
    for (const auto section : {kIngredientListSection, kPreparationListSection}) {
        const std::string s = W(section);
        ini.WriteBool(s, kAtiFil, false);
        ini.WriteString(s, kGruFil, "");
        ini.WriteBool(s, kAtiOrd, false);
        ini.WriteString(s, kCamOrd, "");
        ini.WriteInteger(s, kPosFilOrd, 0);
    }
}

}  // namespace velmaro::cfg
