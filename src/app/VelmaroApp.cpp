#include "app/VelmaroApp.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "ingredients/CadGruForm.h"
#include "ingredients/CadIngForm.h"
#include "ingredients/CadMedCas2Form.h"
#include "ingredients/SuppliedTables.h"
#include "output/labels/CfgRotForm.h"
#include "output/labels/ImpRotForm.h"
#include "output/reference/ValRefForms.h"
#include "output/reports/SelRelForm.h"
#include "output/reports/VisRelForm.h"
#include "preparations/CadFicTecRotForm.h"
#include "preparations/CadIngFicTecForm.h"
#include "preparations/CadRecForm.h"
#include "shell/CadTabForm.h"
#include "shell/CfgNutForm.h"
#include "shell/DataHome.h"
#include "shell/SingleInstance.h"
#include "shell/VisLisForm.h"
#include "shell/VisLisIngForm.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"

namespace velmaro {

namespace fs = std::filesystem;

bool InstallPortugueseTranslations() {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    // Made once and kept for the run, as the application keeps every translator it has.
    static QTranslator translator;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {QStringLiteral("qt_pt_BR"), QStringLiteral("qtbase_pt_BR")}) {
        if (translator.load(name, folder)) {
            return QCoreApplication::installTranslator(&translator);
        }
    }
    return false;
}

VelmaroApp::VelmaroApp(fs::path deliveredDir)
    : m_deliveredDir(std::move(deliveredDir)),
      m_home(ProgramFolder()),
      m_ui(std::make_unique<QtUi>(m_home)) {}

VelmaroApp::~VelmaroApp() {
    // The windows go before the screens they show.
    m_ui.reset();
}

bool VelmaroApp::ClaimHome() {
    return ClaimDataHome(*m_ui, m_home, m_homeLock);
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
    if (error.empty()) {
        // The composition tables delivered with the program, built once per data home;
        // a failure is told and the start goes on (the next start tries again).
        const std::string notice = InstallSuppliedTables(m_deliveredDir, m_home);
        if (!notice.empty()) {
            m_ui->ShowMessageBox(notice, MessageKind::Ok);
        }
    }
    return error;
}

void VelmaroApp::ShowError(const std::string& message) {
    m_ui->ShowMessageBox(message, MessageKind::Ok);
}

void VelmaroApp::CreateScreens() {
    QtUi& ui = *m_ui;

    // The label screen holds the label sheet setup it opens: that one is made first.
    auto cfgRot = std::make_unique<TCfgRotForm>(ui, m_home, ui.Images());
    TCfgRotForm* cfgRotForm = cfgRot.get();
    // Likewise the report screen holds its preview window.
    auto visRel = std::make_unique<TVisRelForm>();
    TVisRelForm* visRelForm = visRel.get();

    m_nut = std::make_unique<TNutForm>(ui, m_home, m_table);
    m_screens.push_back(m_nut.get());                                       // 1
    auto* cadFicTec = Own<TCadFicTecRotForm>(ui, m_home);                   // 2
    m_screens.push_back(&ui.Aju());                                         // 3
    auto* cadRec = Own<TCadRecForm>(ui, m_home);                            // 4
    m_screens.push_back(&ui.Lis());                                         // 5
    auto* medCas = Own<TCadMedCas2Form>(ui, m_home);                        // 6
    auto* cfgNut = Own<TCfgNutForm>(ui, m_home);                            // 7
    auto* cadTab = Own<TCadTabForm>(ui, m_home);                            // 8
    auto* selRel = Own<TSelRelForm>(ui, m_home, ui.Images(), *visRelForm);  // 9
    auto* gruIng = Own<TCadGruIngForm>(ui, m_home);                         // 10
    auto* gruPre = Own<TCadGruPreForm>(ui, m_home);                         // 11
    auto* visLisIng = Own<TVisLisIngForm>(ui, m_home, m_table);             // 12
    m_screens.push_back(&ui.MesDlg());                                      // 13
    auto* cadIng = Own<TCadIngForm>(ui, m_home, m_table, m_propagation);    // 14
    auto* impRot = Own<TImpRotForm>(ui, m_home, ui.Images(), *cfgRotForm);  // 15
    auto* visLis = Own<TVisLisForm>(ui);                                    // 16
    auto* ingFicTec = Own<TCadIngFicTecForm>(ui, m_home);                   // 17
    m_screens.push_back(&ui.Con());                                         // 18
    m_screens.push_back(&ui.AltNom());                                      // 19
    m_screens.push_back(visRelForm);                                        // 20
    m_owned.push_back(std::move(visRel));
    m_screens.push_back(cfgRotForm);  // 21
    m_owned.push_back(std::move(cfgRot));
    m_screens.push_back(&ui.IteVer());                                 // 22
    auto* visLisValRef = Own<TVisLisValRefForm>(ui, m_home);           // 23
    auto* cadValRef = Own<TCadValRefForm>(ui, m_home, *visLisValRef);  // 24

    cadIng->listViewer = visLisIng;

    // The screens the preparation register opens.
    cadFicTec->UseMethodTextScreen(*cadRec);
    cadFicTec->targets.label.form = impRot;
    cadFicTec->targets.label.prepare = [impRot](const std::string& table,
                                                const std::string& preparation) {
        impRot->Prepare(table, preparation);
    };
    cadFicTec->targets.reports.form = selRel;
    cadFicTec->targets.reports.prepare = [selRel](const std::string& table,
                                                  const std::string& preparation) {
        selRel->Prepare(table, preparation);
    };
    cadFicTec->targets.referenceValue = ReferenceValueTargetFor(*cadValRef);
    cadFicTec->listViewer = visLis;
    // "&Ingredientes": the preparation's ingredients, writing the totals into the
    // register's list, with the register's list view for the copy.
    ingFicTec->ingredientViewer = visLisIng;
    ingFicTec->listViewer = visLis;
    cadFicTec->targets.ingredients.form = ingFicTec;
    cadFicTec->targets.ingredients.prepare =
        [ingFicTec, cadFicTec](const std::string& table, const std::string& preparation) {
            ingFicTec->Prepare(table, preparation, cadFicTec->table, cadFicTec->currentIndex,
                               cadFicTec->ListView());
        };

    // The main menu opens the screens built so far; the others answer with a notice.
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
    registerTarget(m_nut->targets.tables, cadTab, false);
    registerTarget(m_nut->targets.ingredientGroups, gruIng, false);
    registerTarget(m_nut->targets.preparationGroups, gruPre, false);
    registerTarget(m_nut->targets.measures, medCas, true);
    registerTarget(m_nut->targets.ingredients, cadIng, true);
    registerTarget(m_nut->targets.preparations, cadFicTec, false);
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
