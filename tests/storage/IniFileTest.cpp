#include <gtest/gtest.h>

#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

TEST(IniFile, ReadsWithDefaultsAndCaseInsensitiveNames) {
    const IniFile ini = IniFile::FromBytes(
        "[Fixa Tabela]\r\nFixTab=1\r\nNomTab=TACO   |\r\n[T\xC9"
        "CNICO]\r\nNomTec=  Ana  \r\n"
        "ResImp=abc\r\nDec=12,5\r\nBad=1,2,3\r\nNeg=-4\r\nHuge=5e666\r\n");
    EXPECT_TRUE(ini.ReadBool("fixa tabela", "fixtab", false));
    EXPECT_EQ(ReadPaddedName(ini, "Fixa Tabela", "NomTab"), "TACO   ");
    EXPECT_EQ(ini.ReadString(W("Técnico"), "nomtec", "x"), "Ana");  // spaces around are lost
    EXPECT_EQ(ini.ReadInteger(W("Técnico"), "ResImp", 300), 300);
    EXPECT_EQ(ini.ReadInteger(W("Técnico"), "Neg", 0), -4);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(W("Técnico"), "Dec", 0), 12.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(W("Técnico"), "Bad", 7), 7);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(W("Técnico"), "Huge", 7), 7);  // beyond a double
    EXPECT_EQ(ini.ReadString("Nada", "NomTab", "padrao"), "padrao");
    EXPECT_EQ(ReadPaddedName(ini, "Nada", "NomTab"), "");
}

TEST(IniFile, WritesRoundTripThroughTheFile) {
    test::TempDir dir;
    const auto path = dir.Path() / "sub" / "CfgNut.ini";
    {
        IniFile ini(path);
        WritePaddedName(ini, "Fixa Tabela", "NomTab", "Minha Tabela   ");
        ini.WriteBool("Fixa Tabela", "FixTab", true);
        ini.WriteString(W("Técnico"), "NomTec", W("  José"));
        ini.WriteFloat("CfgEti", "LarEti", 52.5);
        ini.WriteInteger(W("técnico"), "ResImp", 600);
        ini.WriteString("fixa tabela", "nomtab", "Outra|");  // replaces, whatever the case
    }
    const IniFile ini(path);
    EXPECT_EQ(ReadPaddedName(ini, "Fixa Tabela", "NomTab"), "Outra");
    EXPECT_TRUE(ini.ReadBool("Fixa Tabela", "FixTab", false));
    EXPECT_EQ(ini.ReadString(W("Técnico"), "NomTec", ""), W("José"));
    EXPECT_EQ(ini.ReadInteger(W("Técnico"), "ResImp", 0), 600);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("CfgEti", "LarEti", 0), 52.5);
    EXPECT_EQ(test::ReadBytes(path),
              "[Fixa Tabela]\r\nNomTab=Outra|\r\nFixTab=1\r\n\r\n[T\xE9"
              "cnico]\r\nNomTec=  Jos\xE9\r\n"
              "ResImp=600\r\n\r\n[CfgEti]\r\nLarEti=52,5\r\n");
}

TEST(IniFile, HeldWritesAreSavedOnceOnCommit) {
    test::TempDir dir;
    const auto path = dir.Path() / "CfgNut.ini";
    IniFile ini(path);
    ini.Hold();
    ini.WriteString("A", "x", "1");
    ini.WriteString("A", "y", "2");
    EXPECT_FALSE(std::filesystem::exists(path));
    ini.Commit();
    EXPECT_EQ(test::ReadBytes(path), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST(IniFile, ViewerStateReset) {
    test::TempDir dir;
    IniFile ini(dir.Path() / "CfgNut.ini");
    const std::string ing = W("Lista Ingredientes");
    ini.WriteBool(ing, "AtiFil", true);
    WritePaddedName(ini, ing, "GruFil", "Frutas   ");
    ini.WriteBool(ing, "AtiFilPalCha", true);
    ini.WriteInteger(W("Lista Preparações"), "PosFilOrd", 9);
    cfg::ResetViewerState(ini);
    const IniFile back(dir.Path() / "CfgNut.ini");
    EXPECT_FALSE(back.ReadBool(ing, "AtiFil", true));
    EXPECT_EQ(ReadPaddedName(back, ing, "GruFil"), "");
    EXPECT_TRUE(back.ReadBool(ing, "AtiFilPalCha", false));  // the keyword filter stays
    EXPECT_EQ(back.ReadInteger(W("Lista Preparações"), "PosFilOrd", 5), 0);
}

}  // namespace
}  // namespace velmaro
