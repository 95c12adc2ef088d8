#include "app/VelmaroApp.h"

#include <QCoreApplication>
#include <QTimer>

#include "ingredients/CadGruForm.h"
#include "ingredients/CadMedCas2Form.h"
#include "output/CfgRotForm.h"
#include "output/ImpRotForm.h"
#include "preparations/CadRecForm.h"
#include "shell/CadTabForm.h"
#include "shell/CfgNutForm.h"
#include "shell/DataHome.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

// Screens whose own Parts are built later: a form with its class name and caption, so
// that each of them exists from the start as the others do.
std::unique_ptr<Form> PlainScreen(const char* className, const char* utf8Caption) {
    auto form = std::make_unique<Form>(className);
    form->caption = W(utf8Caption);
    form->width = 640;
    form->height = 420;
    return form;
}

}  // namespace

fs::path DeliveredDataDir() {
    std::error_code ec;
    const fs::path installed =
        fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "share" / "velmaro";
    if (fs::is_directory(installed, ec)) {
        return fs::weakly_canonical(installed, ec);
    }
    return fs::path(VELMARO_DATA_DIR);
}

VelmaroApp::VelmaroApp(fs::path deliveredDir)
    : m_deliveredDir(std::move(deliveredDir)),
      m_home(ProgramFolder()),
      m_ui(std::make_unique<QtUi>(m_home)) {}

VelmaroApp::~VelmaroApp() {
    // The windows go before the screens they show.
    m_ui.reset();
}

std::string VelmaroApp::PrepareHome() {
    std::string error = PrepareDataHome(m_deliveredDir, m_home);
    // The dialog's picture as installed in the data home; while the home cannot hold it
    // (the message that the start fails), the delivered one.
    std::error_code ec;
    fs::path picture = m_home / kDialogPicture;
    if (!fs::is_regular_file(picture, ec)) {
        picture = m_deliveredDir / kDialogPicture;
    }
    m_ui->MesDlg().DesImage.filePath = picture.string();
    return error;
}

void VelmaroApp::ShowError(const std::string& message) {
    m_ui->ShowMessageBox(message, MessageKind::Ok);
}

void VelmaroApp::CreateScreens() {
    QtUi& ui = *m_ui;
    auto own = [this](std::unique_ptr<Form> form) {
        m_screens.push_back(form.get());
        m_owned.push_back(std::move(form));
        return m_screens.back();
    };

    // The label screen holds the label sheet setup it opens: that one is made first.
    auto cfgRot = std::make_unique<TCfgRotForm>(ui, m_home, ui.Images());
    TCfgRotForm* cfgRotForm = cfgRot.get();

    m_nut = std::make_unique<TNutForm>(ui, m_home, m_table);
    m_screens.push_back(m_nut.get());                                  // 1
    own(PlainScreen("TCadFicTecRotForm", "CADASTRO DE PREPARAÇÕES"));  // 2
    m_screens.push_back(&ui.Aju());                                    // 3
    own(std::make_unique<TCadRecForm>(ui, m_home));                    // 4
    m_screens.push_back(&ui.Lis());                                    // 5
    auto* medCas =
        static_cast<TCadMedCas2Form*>(own(std::make_unique<TCadMedCas2Form>(ui, m_home)));     // 6
    auto* cfgNut = static_cast<TCfgNutForm*>(own(std::make_unique<TCfgNutForm>(ui, m_home)));  // 7
    auto* cadTab = static_cast<TCadTabForm*>(own(std::make_unique<TCadTabForm>(ui, m_home)));  // 8
    own(PlainScreen("TSelRelForm", "RELATÓRIOS DA FICHA TÉCNICA"));                            // 9
    auto* gruIng =
        static_cast<TCadGruIngForm*>(own(std::make_unique<TCadGruIngForm>(ui, m_home)));  // 10
    auto* gruPre =
        static_cast<TCadGruPreForm*>(own(std::make_unique<TCadGruPreForm>(ui, m_home)));  // 11
    own(PlainScreen("TVisLisIngForm", "VISUALIZA LISTA DE INGREDIENTES"));                // 12
    m_screens.push_back(&ui.MesDlg());                                                    // 13
    own(PlainScreen("TCadIngForm", "CADASTRO DE INGREDIENTES"));                          // 14
    own(std::make_unique<TImpRotForm>(ui, m_home, ui.Images(), *cfgRotForm));             // 15
    own(PlainScreen("TVisLisForm", "VISUALIZA LISTA"));                                   // 16
    own(PlainScreen("TCadIngFicTecForm", "INGREDIENTES DA PREPARAÇÃO"));                  // 17
    m_screens.push_back(&ui.Con());                                                       // 18
    m_screens.push_back(&ui.AltNom());                                                    // 19
    own(PlainScreen("TVisRelForm", "VISUALIZA RELATÓRIO"));                               // 20
    own(std::move(cfgRot));                                                               // 21
    m_screens.push_back(&ui.IteVer());                                                    // 22
    own(PlainScreen("TVisLisValRefForm", "LISTA DE PORÇÕES DE REFERÊNCIA"));              // 23
    own(PlainScreen("TCadValRefForm", "VALORES DE REFERÊNCIA"));                          // 24

    // The main menu opens the screens built so far; the others answer with a notice.
    m_nut->targets.tables.form = cadTab;
    m_nut->targets.tables.prepare = [cadTab](const std::string& table, bool) {
        cadTab->tableName = table;
        cadTab->startPending = true;
    };
    auto registerTarget = [](MenuTarget& target, RegisterScreen* screen, bool empty) {
        target.form = screen;
        target.prepare = [screen, empty](const std::string& table, bool) {
            screen->tableName = table;
            screen->startPending = true;
            if (empty) {
                screen->mode = ScreenMode::Empty;
            }
        };
    };
    registerTarget(m_nut->targets.ingredientGroups, gruIng, false);
    registerTarget(m_nut->targets.preparationGroups, gruPre, false);
    registerTarget(m_nut->targets.measures, medCas, true);
    m_nut->targets.configuration.form = cfgNut;
    m_nut->targets.configuration.prepare = [cfgNut](const std::string& table, bool) {
        cfgNut->tableName = table;
        cfgNut->startPending = true;
    };
}

Form* VelmaroApp::Screen(const std::string& className) const {
    for (Form* f : m_screens) {
        if (f->ClassName() == className) {
            return f;
        }
    }
    return nullptr;
}

int VelmaroApp::Run(std::function<void()> shown) {
    if (shown) {
        QTimer::singleShot(0, std::move(shown));
    }
    m_ui->ShowModal(*m_nut);
    return 0;
}

}  // namespace velmaro
