#include "platform/qt/QtPrinting.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <cmath>

#include "platform/qt/QtText.h"

namespace velmaro::qt {

QtPrintJob::QtPrintJob(QPrinter& printer, bool landscape) : m_printer(printer) {
    m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_started = m_painter.begin(&m_printer);
    if (m_started) {
        m_canvas = std::make_unique<QtCanvas>(m_painter, m_printer.resolution());
    }
}

QtPrintJob::~QtPrintJob() {
    End();
}

int QtPrintJob::PageWidth() const {
    return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).width();
}

int QtPrintJob::PageHeight() const {
    return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height();
}

void QtPrintJob::NewPage() {
    if (m_started) {
        m_printer.newPage();
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
    for (const auto& line : job.lines) {
        if (y + fm.height() > page.height() - margin && y > margin) {
            printer.newPage();
            y = margin;
        }
        painter.drawText(QPoint(margin, y + fm.ascent()), ToQt(line));
        y += fm.height();
    }
    painter.end();
    return true;
}

}  // namespace velmaro::qt
