#pragma once

// Printing through Qt: a drawing job on a printer page, and a plain-text job that
// prints lines in a font, page after page; and the printer choice a run carries from one
// job to the next.

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <memory>

#include "platform/Ui.h"
#include "platform/qt/QtCanvas.h"

namespace velmaro::qt {

// What the user chose in the printer dialogs, kept for the jobs that follow: the printer
// and its options, never an output file (a file is chosen for one print only).
struct PrinterChoice {
    QString printerName;  // empty: the desktop's default printer
    QPageSize pageSize;   // invalid: the printer's own
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int copies = 1;
    QPrinter::DuplexMode duplex = QPrinter::DuplexAuto;
    QPrinter::ColorMode colorMode = QPrinter::GrayScale;
    bool chosen = false;  // false: nothing chosen yet, the printer's defaults hold
};

// A fresh printer set to the choice: every job starts from a clean printer, so nothing
// an earlier job left (a job that failed to start, a file it wrote) reaches it.
std::unique_ptr<QPrinter> MakePrinter(const PrinterChoice& choice);
// The choice a printer dialog left on the printer (its output file left out).
PrinterChoice ChoiceOf(const QPrinter& printer);

class QtPrintJob : public PrintJob {
  public:
    // Starts the job on its own printer; Started() is false when the printer refused, and
    // the printer is then let go with nothing begun.
    QtPrintJob(std::unique_ptr<QPrinter> printer, QPageLayout::Orientation orientation);
    ~QtPrintJob() override;
    bool Started() const { return m_started; }

    Canvas& PageCanvas() override { return *m_canvas; }
    int DotsPerInch() const override { return m_printer->resolution(); }
    // The printable area of the page in the canvas' dots.
    int PageWidth() const override;
    int PageHeight() const override;
    void NewPage() override;
    void End() override;

  private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    std::unique_ptr<QtCanvas> m_canvas;
    bool m_started = false;
};

// Prints the lines of the job, each below the other in the job's font, starting a new
// page when one is full. False when the printer could not start.
bool PrintTextLines(QPrinter& printer, const TextPrintJob& job);

}  // namespace velmaro::qt
