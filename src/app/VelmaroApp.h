#pragma once

// The application: the user-interface services, the 24 screens created once in their
// fixed order, the main menu wired to the screens it opens, and the run until "FIM".
// The executable and the end-to-end tests start the same application through it.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/QtUi.h"
#include "preparations/IngredientPropagation.h"
#include "shell/ActiveTable.h"
#include "shell/NutForm.h"
#include "storage/DataHomeLock.h"

namespace velmaro {

class VelmaroApp {
  public:
    // Needs the QApplication and this run's locations (SetLocations).
    explicit VelmaroApp(std::filesystem::path deliveredDir);
    ~VelmaroApp();
    VelmaroApp(const VelmaroApp&) = delete;
    VelmaroApp& operator=(const VelmaroApp&) = delete;

    // The data home taken for this run, before anything of it is read or written; false
    // (after the user was told) when another copy of the program holds it.
    bool ClaimHome();
    // The data home made ready: its folders, and the delivered files installed where
    // missing. Empty on success, else the message to show (Windows-1252).
    std::string PrepareHome();
    // Shows a message in the message dialog (a start that cannot go on).
    void ShowError(const std::string& message);
    // Creates the screens, in order.
    void CreateScreens();
    // Shows the main menu and waits until it is ended; `shown` runs once the menu is
    // on screen and the program waits for the user.
    int Run(std::function<void()> shown = {});

    QtUi& Ui() { return *m_ui; }
    TNutForm& MainMenu() { return *m_nut; }
    ActiveTable& Table() { return m_table; }
    // The screens in the order they were created.
    const std::vector<Form*>& Screens() const { return m_screens; }
    Form* Screen(const std::string& className) const;

    // The picture of the message dialog, in the data home.
    static constexpr const char* kDialogPicture = "MesDlg.jpg";

  private:
    // A screen made, owned and listed in the order of creation.
    template <class Screen, class... Args>
    Screen* Own(Args&&... args) {
        auto screen = std::make_unique<Screen>(std::forward<Args>(args)...);
        Screen* made = screen.get();
        m_screens.push_back(made);
        m_owned.push_back(std::move(screen));
        return made;
    }

    std::filesystem::path m_deliveredDir;
    std::filesystem::path m_home;
    // Held from ClaimHome to the end of the run.
    DataHomeLock m_homeLock;
    std::unique_ptr<QtUi> m_ui;
    ActiveTable m_table;
    // What the ingredient register carries into the preparations.
    IngredientPropagation m_propagation;
    std::unique_ptr<TNutForm> m_nut;
    std::vector<std::unique_ptr<Form>> m_owned;
    std::vector<Form*> m_screens;
};

// The toolkit's own windows (file and print dialogs, the menus of text fields) in
// Portuguese (Brazil), whatever the system's language: its translations are installed in
// the application. False when they are not found (those windows then speak English).
bool InstallPortugueseTranslations();

}  // namespace velmaro
