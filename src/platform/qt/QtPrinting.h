#pragma once

// Printing through Qt: a drawing job on a printer page, and a plain-text job that
// prints lines in a font, page after page.

#include <QPainter>
#include <QPrinter>
#include <memory>

#include "platform/Ui.h"
#include "platform/qt/QtCanvas.h"

namespace velmaro::qt {

class QtPrintJob : public PrintJob {
  public:
    // Starts the job on the printer; Started() is false when the printer refused.
    QtPrintJob(QPrinter& printer, bool landscape);
    ~QtPrintJob() override;
    bool Started() const { return m_started; }

    Canvas& PageCanvas() override { return *m_canvas; }
    int DotsPerInch() const override { return m_printer.resolution(); }
    // The printable area of the page in the canvas' dots.
    int PageWidth() const override;
    int PageHeight() const override;
    void NewPage() override;
    void End() override;

  private:
    QPrinter& m_printer;
    QPainter m_painter;
    std::unique_ptr<QtCanvas> m_canvas;
    bool m_started = false;
};

// Prints the lines of the job, each below the other in the job's font, starting a new
// page when one is full. False when the printer could not start.
bool PrintTextLines(QPrinter& printer, const TextPrintJob& job);

}  // namespace velmaro::qt
