#include "app/QtUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QPrintDialog>
#include <QStringList>

#include "platform/qt/QtText.h"
#include "storage/Cp1252.h"

namespace velmaro {

QString FileDialogFilter(const std::string& filter) {
    const QStringList parts = qt::ToQt(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QtUi::QtUi(std::filesystem::path programFolder)
    : FormsUi(std::move(programFolder)), m_renderer(*this) {}

QtUi::~QtUi() = default;

std::unique_ptr<QPrinter> QtUi::TakePrinter() {
    if (m_nextPrinter) {
        return std::move(m_nextPrinter);
    }
    return m_makePrinter(m_choice);
}

int QtUi::ShowModal(Form& form) {
    CountDialog();
    return m_renderer.ShowModal(form);
}

int QtUi::MeasureTextWidth(const std::string& text) {
    return QFontMetrics(m_renderer.LabelFont()).horizontalAdvance(qt::ToQt(text));
}

int QtUi::TextLineHeight() {
    return QFontMetrics(m_renderer.LabelFont()).lineSpacing();
}

int QtUi::ButtonWidth() {
    return 75;
}

std::pair<int, int> QtUi::PictureSize() {
    const std::string& path = MesDlg().DesImage.filePath;
    if (path != m_picturePath) {
        m_picturePath = path;
        m_picture = path.empty() ? QImage() : m_renderer.LoadPicture(path);
    }
    if (m_picture.isNull()) {
        return {0, 0};
    }
    return {m_picture.width(), m_picture.height()};
}

void QtUi::ShowModeless(Form& form) {
    m_renderer.ShowModeless(form);
}

void QtUi::UpdateModeless(Form& form) {
    m_renderer.UpdateModeless(form);
}

void QtUi::CloseModeless(Form& form) {
    m_renderer.CloseModeless(form);
}

std::string QtUi::AskSaveFileName(const std::string& filter, const std::string& suggested) {
    CountDialog();
    QFileDialog dialog(m_renderer.TopWindow(), QStringLiteral("Salvar como"),
                       qt::PathToQt(suggested), FileDialogFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without extension takes the one of the filter.
    const QStringList parts = qt::ToQt(filter).split(QLatin1Char('|'));
    if (parts.size() >= 2 && parts[1].startsWith(QStringLiteral("*."))) {
        dialog.setDefaultSuffix(parts[1].mid(2).section(QLatin1Char(';'), 0, 0));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first().toStdString();
}

// The print dialog of one print: a file chosen there is written by that print only; the
// printer and its options are kept for the next prints (the orientation of a label sheet
// comes from the printer set-up alone).
// A print to a file keeps the printer chosen before for the prints that follow.
bool QtUi::ConfirmPrinter() {
    m_nextPrinter.reset();
    std::unique_ptr<QPrinter> printer = RunPrintDialog(false);
    if (!printer) {
        return false;
    }
    const qt::PrinterChoice before = m_choice;
    m_choice = qt::ChoiceOf(*printer);
    m_choice.orientation = before.orientation;
    if (printer->outputFormat() != QPrinter::NativeFormat) {
        m_choice.printerName = before.printerName;
    }
    m_nextPrinter = std::move(printer);
    return true;
}

// The printer set-up: the printer and its options (paper, orientation) for the prints
// that follow. No file is chosen here.
void QtUi::PrinterSetup() {
    if (std::unique_ptr<QPrinter> printer = RunPrintDialog(true)) {
        m_choice = qt::ChoiceOf(*printer);
    }
}

std::unique_ptr<QPrinter> QtUi::RunPrintDialog(bool setUp) {
    CountDialog();
    std::unique_ptr<QPrinter> printer = m_makePrinter(m_choice);
    QPrintDialog dialog(printer.get(), m_renderer.TopWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !setUp);
    if (setUp) {
        dialog.setWindowTitle(QStringLiteral("Configurar impressora"));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return nullptr;
    }
    return printer;
}

void QtUi::PrintText(const TextPrintJob& job) {
    m_job.reset();
    std::unique_ptr<QPrinter> printer = TakePrinter();
    if (!qt::PrintTextLines(*printer, job)) {
        ShowMessageBox(W("Não foi possível iniciar a impressão! Verifique a impressora escolhida."),
                       MessageKind::Ok);
    }
}

PrintJob* QtUi::StartJob(QPageLayout::Orientation orientation) {
    m_job.reset();
    auto job = std::make_unique<qt::QtPrintJob>(TakePrinter(), orientation);
    if (!job->Started()) {
        return nullptr;  // the refused printer goes with the job
    }
    m_job = std::move(job);
    return m_job.get();
}

PrintJob* QtUi::BeginPrintJob(bool landscape) {
    return StartJob(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// No print dialog comes before this job: a printer left by one that did not print (its
// print failed before starting) is not used.
PrintJob* QtUi::BeginPrintJobAsSetUp() {
    m_nextPrinter.reset();
    return StartJob(m_choice.orientation);
}

void QtUi::Beep() {
    QApplication::beep();
}

}  // namespace velmaro
