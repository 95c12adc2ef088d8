// velmaro-cli: the command-line companion of Velmaro Nutricional. The data home and the
// configuration file as the desktop program takes them (--home, --config, the
// environment), then one command (src/cli), with Qt drawing its pictures.

#include <sys/ioctl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "platform/qt/QtImageOutput.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"

namespace {

// Qt's notes about the session it runs in (no runtime folder, an off-screen platform) say
// nothing to the user of a command; warnings about the drawing still show.
void QuietSession(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg ||
        message.startsWith(QStringLiteral("QStandardPaths:")) ||
        message.startsWith(QStringLiteral("This plugin does not support"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// The Qt image output, with Qt started the first time a picture is drawn: the commands
// that draw nothing run without it. Pictures are drawn off screen, so no display is needed.
class LazyQtImages final : public velmaro::ImageOutput {
  public:
    LazyQtImages(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

    void RenderToImage(const Drawing& draw, int width, int height, int dpi,
                       velmaro::Image& image) override {
        Start();
        m_images.RenderToImage(draw, width, height, dpi, image);
    }
    void Measure(const Drawing& draw, int dpi) override {
        Start();
        m_images.Measure(draw, dpi);
    }
    void SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override {
        Start();
        m_images.SaveMonochromeBmp(draw, width, height, dpi, path);
    }
    void SaveMonochromePng(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override {
        Start();
        m_images.SaveMonochromePng(draw, width, height, dpi, path);
    }
    void SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                 const std::filesystem::path& path) override {
        Start();
        m_images.SavePdf(draw, widthMm, heightMm, dpi, path);
    }
    void SavePdfPages(const PageDrawing& draw, int pages, double widthMm, double heightMm, int dpi,
                      const std::filesystem::path& path) override {
        Start();
        m_images.SavePdfPages(draw, pages, widthMm, heightMm, dpi, path);
    }

  private:
    void Start() {
        if (m_app) {
            return;
        }
        qInstallMessageHandler(QuietSession);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }

    int m_argc;
    char** m_argv;
    std::unique_ptr<QGuiApplication> m_app;
    velmaro::qt::QtImageOutput m_images;
};

int TerminalColumns() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    if (const char* columns = std::getenv("COLUMNS"); columns != nullptr) {
        const int value = std::atoi(columns);
        if (value > 0) {
            return value;
        }
    }
    return 80;
}

}  // namespace

int main(int argc, char** argv) {
    velmaro::LetWritesFailOverSizeLimit();
    const velmaro::Locations locations = velmaro::ResolveLocations(argc, argv);
    if (locations.config.empty()) {
        std::fprintf(stderr, "velmaro-cli: %.*s\n",
                     static_cast<int>(velmaro::kEmptyConfigMessage.size()),
                     velmaro::kEmptyConfigMessage.data());
        return velmaro::cli::kExitUsage;
    }
    velmaro::SetLocations(locations);
    const std::vector<std::string> args(argv + 1, argv + argc);
    LazyQtImages images(1, argv);
    velmaro::cli::CliIo io{locations.home,
                           images,
                           std::cout,
                           std::cerr,
                           isatty(STDERR_FILENO) == 1,
                           TerminalColumns(),
                           velmaro::DeliveredDataFolder()};
    const int status = velmaro::cli::RunCli(args, io);
    std::cout.flush();
    return status;
}
