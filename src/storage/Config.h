#pragma once

// The sections and keys of the configuration file. Names are given in UTF-8 here and
// pass through W() to become the Windows-1252 bytes written to the file.

#include <string_view>

#include "storage/IniFile.h"

namespace velmaro::cfg {

inline constexpr std::string_view kFixedTableSection = "Fixa Tabela";
inline constexpr std::string_view kFixTab = "FixTab";
inline constexpr std::string_view kNomTab = "NomTab";

inline constexpr std::string_view kTechnicianSection = "Técnico";
inline constexpr std::string_view kNomTec = "NomTec";
inline constexpr std::string_view kConTec = "ConTec";
inline constexpr std::string_view kResImp = "ResImp";
inline constexpr int kDefaultResolution = 300;
// Shown and printed when no technician was configured: the program itself, not a person.
inline constexpr std::string_view kDefaultTechnician = "Velmaro Nutricional";
inline constexpr std::string_view kDefaultContact = "Ficha técnica gerada pelo Velmaro Nutricional";

inline constexpr std::string_view kIngredientListSection = "Lista Ingredientes";
inline constexpr std::string_view kPreparationListSection = "Lista Preparações";
inline constexpr std::string_view kAtiFil = "AtiFil";
inline constexpr std::string_view kGruFil = "GruFil";
inline constexpr std::string_view kAtiOrd = "AtiOrd";
inline constexpr std::string_view kCamOrd = "CamOrd";
inline constexpr std::string_view kAtiFilPalCha = "AtiFilPalCha";
inline constexpr std::string_view kPalCha = "PalCha";
inline constexpr std::string_view kPosFilOrd = "PosFilOrd";

// Clears the remembered filter, ordering and position of both list viewers (the
// keyword of the ingredient viewer stays).
void ResetViewerState(IniFile& ini);

}  // namespace velmaro::cfg
