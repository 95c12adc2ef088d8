#pragma once

// A test of the real application offscreen: a temporary data home prepared as at start,
// every screen created, and the driver that walks the windows.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/AppDriver.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Scramble.h"
#include "support/TestEnv.h"

namespace velmaro::test {

class AppE2e : public DataHomeTest {
  protected:
    AppE2e() {
        EXPECT_EQ(driver.App().PrepareHome(), "");
        driver.App().CreateScreens();
    }

    // The text of a button (its lines joined) or of an edit field.
    static QString Text(const std::string& className, const std::string& control) {
        if (auto* button = qobject_cast<QPushButton*>(AppDriver::Widget(className, control))) {
            return button->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
        if (auto* edit = qobject_cast<QLineEdit*>(AppDriver::Widget(className, control))) {
            return edit->text();
        }
        return {};
    }

    // Goes to a drop-down (leaving the control that had the focus) and picks the item
    // that starts with `text`, as a user does.
    static void Choose(const std::string& className, const std::string& control,
                       const QString& text) {
        auto* combo = qobject_cast<QComboBox*>(AppDriver::Widget(className, control));
        ASSERT_NE(combo, nullptr);
        combo->setFocus(Qt::MouseFocusReason);
        const int index = combo->findText(text, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
    }

    // A user table `name` in the table list, fixed as the active table.
    void FixUserTable(const std::string& name) {
        WriteBytes(Home() / "Dados" / "ArqTab.dad",
                   Pad(name, 20) + "|" + Pad("Tabela", 65) + "|1|\r\n");
        WriteBytes(Config(), "[Fixa Tabela]\r\nFixTab=1\r\nNomTab=" + Pad(name, 20) + "|\r\n");
    }

    // The ingredient file of `table` holding these records (Windows-1252), sorted.
    void WriteIngredients(const std::string& table, const std::vector<std::string>& records) {
        LineTable ingredients;
        for (const std::string& record : records) {
            InsertRecord(ingredients, record);
        }
        NullProgress progress;
        SaveScrambledLineTable(IngredientFilePath(Home(), table), ingredients.lines, progress);
    }

    AppDriver driver;
};

}  // namespace velmaro::test
