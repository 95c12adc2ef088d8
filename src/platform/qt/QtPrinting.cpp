#include "platform/qt/QtPrinting.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtText.h"

namespace velmaro::qt {

std::unique_ptr<QPrinter> MakePrinter(const PrinterChoice& choice) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!choice.chosen) {
        return printer;
    }
    if (!choice.printerName.isEmpty()) {
        printer->setPrinterName(choice.printerName);
    }
    if (choice.pageSize.isValid()) {
        printer->setPageSize(choice.pageSize);
    }
    printer->setPageOrientation(choice.orientation);
    printer->setCopyCount(std::max(choice.copies, 1));
    printer->setDuplex(choice.duplex);
    printer->setColorMode(choice.colorMode);
    return printer;
}

PrinterChoice ChoiceOf(const QPrinter& printer) {
    PrinterChoice choice;
    choice.chosen = true;
    // A print to a file names no printer: the next job goes to the default one.
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        choice.printerName = printer.printerName();
    }
    choice.pageSize = printer.pageLayout().pageSize();
    choice.orientation = printer.pageLayout().orientation();
    choice.copies = printer.copyCount();
    choice.duplex = printer.duplex();
    choice.colorMode = printer.colorMode();
    return choice;
}

QtPrintJob::QtPrintJob(std::unique_ptr<QPrinter> printer, QPageLayout::Orientation orientation)
    : m_printer(std::move(printer)) {
    m_printer->setPageOrientation(orientation);
    m_started = m_painter.begin(m_printer.get());
    if (m_started) {
        m_canvas = std::make_unique<QtCanvas>(m_painter, m_printer->resolution());
    }
}

QtPrintJob::~QtPrintJob() {
    End();
}

int QtPrintJob::PageWidth() const {
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).width();
}

int QtPrintJob::PageHeight() const {
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height();
}

void QtPrintJob::NewPage() {
    if (m_started) {
        m_printer->newPage();
    }
}

void QtPrintJob::End() {
    if (m_started) {
        m_started = false;
        m_painter.end();
    }
}

bool PrintTextLines(QPrinter& printer, const TextPrintJob& job) {
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const int dpi = printer.resolution();
    FontSpec setup;
    setup.family = job.fontFamily.empty() ? std::string("Courier New") : job.fontFamily;
    setup.size = job.fontSize > 0 ? job.fontSize : 10;
    painter.setFont(CanvasFont(setup, dpi));
    painter.setPen(Qt::black);
    const QFontMetrics fm(painter.font(), &printer);
    const int margin = static_cast<int>(std::lround(10.0 * dpi / 25.4));  // 10 mm
    const QRect page = painter.viewport();
    int y = margin;
    for (size_t i = 0; i < job.lines.size(); ++i) {
        const bool pageStart = i > 0 && std::find(job.pageStarts.begin(), job.pageStarts.end(),
                                                  i) != job.pageStarts.end();
        if (pageStart || (y + fm.height() > page.height() - margin && y > margin)) {
            printer.newPage();
            y = margin;
        }
        painter.drawText(QPoint(margin, y + fm.ascent()), ToQt(job.lines[i]));
        y += fm.height();
    }
    painter.end();
    return true;
}

}  // namespace velmaro::qt
