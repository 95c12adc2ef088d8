// rotulo, relatorio, lote: what they compose and draw against what the label and report
// screens compose and draw for the same preparation.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "cli/CliFixtures.h"
#include "cli/TerminalProgress.h"
#include "ingredients/CompositionColumns.h"
#include "ingredients/ExtraValues.h"
#include "output/labels/CfgRotForm.h"
#include "output/labels/ImpRotForm.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "output/reports/SelRelForm.h"
#include "output/reports/TechnicalSheetReports.h"
#include "output/reports/VisRelForm.h"
#include "storage/Config.h"
#include "storage/DataHomeLock.h"
#include "storage/IniFile.h"
#include "support/ScriptedUi.h"

namespace velmaro {
namespace {

using test::CliRun;
using test::RecordedImage;
using Kind = RecordedImage::Kind;

const std::string kTable = test::Pad("Minha", 20);
const std::string kArroz = test::Pad(W("Arroz com feijão"), 40);

class OutputCommandsTest : public test::CliTest {
  protected:
    void SetUp() override { MakeKitchen(); }

    fs::path LabelFile(const std::string& preparation = kArroz) const {
        return LabelFilePath(Home(), kTable, preparation);
    }

    // The label screen opened on the preparation, as the register opens it: it composes
    // the label into the label data file and draws its preview.
    struct LabelScreen {
        test::ScriptedUi ui;
        test::RecordingImageOutput images;
        TCfgRotForm cfg;
        TImpRotForm form;
        LabelScreen(const fs::path& home, const std::string& preparation)
            : cfg(ui, home, images), form(ui, home, images, cfg) {
            form.Prepare(kTable, preparation);
            ui.Activate(form);
        }
    };

    const RecordedImage& Only(Kind kind) {
        const auto of = images.Of(kind);
        EXPECT_EQ(of.size(), 1u);
        static RecordedImage none;
        none = of.empty() ? RecordedImage{} : of.back();
        return none;
    }
};

TEST_F(OutputCommandsTest, LabelRowsAreThoseTheLabelScreenWrites) {
    LabelScreen screen(Home(), kArroz);
    const std::string written = test::ReadBytes(LabelFile());
    const IniFile ini(LabelFile());
    ASSERT_TRUE(ini.ValueExists(kLabelDataSection, "ValPor"));
    const auto preview = screen.images.Of(Kind::Picture);
    ASSERT_EQ(preview.size(), 1u);
    fs::remove(LabelFile());

    const fs::path out = Scratch() / "arroz.bmp";
    CliRun run =
        Cli({"rotulo", "minha", "ARROZ COM FEIJÃO", "--modelo", "1", "--saida", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Foi gerado o arquivo: " + out.string() + "\n");
    EXPECT_EQ(test::ReadBytes(LabelFile()), written);
    const RecordedImage& bmp = Only(Kind::Bmp);
    EXPECT_EQ(bmp.path, out);
    EXPECT_EQ(bmp.width, 500);
    EXPECT_EQ(bmp.height, 258);
    EXPECT_EQ(bmp.dpi, 96);
    EXPECT_EQ(bmp.calls, preview[0].calls);

    run = Cli({"rotulo", "Minha", "Arroz com feijão", "--dados"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (const char* key : {"DesDad", "ValPor", "ValDia", "ValRef"}) {
        expected += Cp1252ToUtf8(ini.ReadString(kLabelDataSection, key, "")) + "\n";
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "Quantidade por porção|Valor calórico|Carboidratos|Proteínas|Gorduras totais|"
              "Gorduras saturadas|Colesterol|Fibra alimentar|Cálcio|Ferro|Sódio|");
    EXPECT_EQ(test::ReadBytes(LabelFile()), written);  // the stored layout kept
}

// Each kind of file at the size the screens use: the label preview in BMP, PNG or PDF,
// the whole sheet at its geometry (the PDF drawn as the label screen's PDF button draws
// it), the report's preview picture and its PDF at the configured printer resolution.
TEST_F(OutputCommandsTest, FilesOfTheRightKindAndSize) {
    IniFile(ConfigFilePath()).WriteInteger(W(cfg::kTechnicianSection), cfg::kResImp, 600);
    const double previewWidthMm = 500 * 25.4 / 96;
    const double previewHeightMm = 258 * 25.4 / 96;
    const LabelGeometry sheet = SheetGeometry(IniFile::FromBytes(""));
    const PageArea page = *LabelSheetPage(sheet);
    const ReportData report = LoadReportData(Home(), IniFile(ConfigFilePath()), kTable, kArroz,
                                             ReadPreparationRecord(Home(), kTable, kArroz));
    struct Case {
        std::vector<std::string> args;
        Kind kind;
        int width, height, dpi;  // pictures
        double widthMm, heightMm;
        int pages;
    };
    const std::vector<Case> cases = {
        {{"rotulo", "--modelo", "2", "--saida", "r.png"}, Kind::Png, 500, 258, 96, 0, 0, 1},
        {{"rotulo", "--modelo", "3", "--saida", "r.PDF"},
         Kind::Pdf,
         0,
         0,
         96,
         previewWidthMm,
         previewHeightMm,
         1},
        {{"rotulo", "--modelo", "1", "--folha", "--saida", "f.bmp"},
         Kind::Bmp,
         page.width,
         page.height,
         300,
         0,
         0,
         1},
        {{"rotulo", "--modelo", "4", "--nome", "--folha", "--saida", "f.pdf"},
         Kind::Pdf,
         0,
         0,
         300,
         page.width * 25.4 / 300,
         page.height * 25.4 / 300,
         1},
        {{"relatorio", "--tipo", "2", "--saida", "r.bmp"}, Kind::Bmp, 1000, 743, 94, 0, 0, 1},
        {{"relatorio", "--tipo", "3", "--saida", "r.png"}, Kind::Png, 743, 1000, 94, 0, 0, 1},
        {{"relatorio", "--tipo", "1", "--saida", "r.pdf"},
         Kind::Pdf,
         0,
         0,
         600,
         210,
         297,
         ReportPageCount(ReportKind::Complete, report)},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {c.args[0], "Minha", "Arroz com feijão"};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        SCOPED_TRACE(args[3] + args[4] + args.back());
        images.records.clear();
        const CliRun run = Cli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const RecordedImage& file = Only(c.kind);
        EXPECT_EQ(file.path.filename(), c.args.back());
        EXPECT_EQ(file.dpi, c.dpi);
        EXPECT_EQ(file.pages, c.pages);
        if (c.kind == Kind::Pdf) {
            EXPECT_NEAR(file.widthMm, c.widthMm, 1e-9);
            EXPECT_NEAR(file.heightMm, c.heightMm, 1e-9);
        } else {
            EXPECT_EQ(file.width, c.width);
            EXPECT_EQ(file.height, c.height);
        }
        EXPECT_FALSE(file.calls.empty());
    }

    // The sheet PDF and the report PDF drawn exactly as the screens draw them.
    const auto cliPdfs = images.Of(Kind::Pdf);
    {
        LabelScreen screen(Home(), kArroz);
        screen.ui.AnswerYes();  // layout 4 fits the 67 mm label: no question of it
        screen.ui.SaveAs(LabelPdfLocation(Home(), kTable, kArroz).string());
        screen.form.PdfBitBtnClick();
        const auto pdfs = screen.images.Of(Kind::Pdf);
        ASSERT_EQ(pdfs.size(), 1u);
        // The screen took the layout the command stored last: 4, with the name.
        EXPECT_TRUE(screen.form.choice.withName);
        EXPECT_EQ(screen.form.choice.layout, 4);
        images.records.clear();
        ASSERT_EQ(Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "4", "--nome", "--folha",
                       "--saida", "g.pdf"})
                      .status,
                  0);
        EXPECT_EQ(Only(Kind::Pdf).calls, pdfs[0].calls);
    }
    {
        test::ScriptedUi ui;
        test::RecordingImageOutput screenImages;
        TVisRelForm visRel;
        TSelRelForm form(ui, Home(), screenImages, visRel);
        form.Prepare(kTable, kArroz);
        ui.Activate(form);
        ui.AnswerYes();
        ui.SaveAs((Scratch() / "tela.pdf").string());
        form.VisBitBtnClick();
        const auto pdfs = screenImages.Of(Kind::Pdf);
        ASSERT_EQ(pdfs.size(), 1u);
        EXPECT_EQ(pdfs[0].dpi, 600);
        EXPECT_EQ(pdfs[0].calls, cliPdfs.back().calls);
    }
}

TEST_F(OutputCommandsTest, BadUsageAndUserErrors) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string firstLine;  // of the error stream
    };
    const std::vector<Case> cases = {
        {{}, 2, "velmaro-cli: falta o comando."},
        {{"imprimir"}, 2, "velmaro-cli: comando desconhecido: imprimir"},
        {{"tabela", "apagar"}, 2, "velmaro-cli: comando desconhecido: tabela apagar"},
        {{"tabela"}, 2, "velmaro-cli: falta o comando de tabela."},
        {{"recalcular"}, 2, "velmaro-cli: faltam argumentos."},
        {{"verificar", "a", "b"}, 2, "velmaro-cli: argumentos a mais: b"},
        {{"rotulo", "Minha", "Salada", "--saida", "x.bmp"},
         2,
         "velmaro-cli: falta --modelo 1|2|3|4|5"},
        {{"rotulo", "Minha", "Salada", "--modelo", "6", "--saida", "x.bmp"},
         2,
         "velmaro-cli: --modelo deve ser um número de 1 a 5 (recebido \"6\")"},
        {{"rotulo", "Minha", "Salada", "--modelo", "1", "--saida", "x.gif"},
         2,
         "velmaro-cli: o arquivo de --saida deve terminar em .bmp, .png ou .pdf"},
        {{"rotulo", "Minha", "Salada", "--modelo", "1", "--cor", "x"},
         2,
         "velmaro-cli: opção desconhecida: --cor"},
        {{"relatorio", "Minha", "Salada", "--saida", "x.pdf"},
         2,
         "velmaro-cli: falta --tipo 1|2|3"},
        {{"lote", "Minha", "--saida", "x"},
         2,
         "velmaro-cli: diga o que gerar: --modelo (rótulos) e/ou --tipo (relatórios)"},
        {{"rotulo", "Nenhuma", "Salada", "--modelo", "1", "--saida", "x.bmp"},
         1,
         "velmaro-cli: a tabela \"Nenhuma\" não existe."},
        {{"relatorio", "Minha", "Bolo", "--tipo", "1", "--saida", "x.pdf"},
         1,
         "velmaro-cli: a preparação \"Bolo\" não existe na tabela \"Minha\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.firstLine);
        if (c.status == 2) {
            EXPECT_NE(run.err.find("Uso: velmaro-cli"), std::string::npos);
        } else {
            EXPECT_EQ(run.err, c.firstLine + "\n");  // one line
        }
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(images.records.empty());
}

TEST_F(OutputCommandsTest, ASheetTooLargeToDrawIsRefusedAtOnce) {
    // 1,000 x 1,000 labels of 5 x 5 mm without margins: within the setup screen's limits,
    // but a million labels (and a picture of 59,000 x 59,000 dots).
    const std::string setup =
        "[CfgEti]\r\nResImp=300\r\nQuaEtiLin=1000\r\nQuaEtiCol=1000\r\nLarEti=5\r\n"
        "AltEti=5\r\nMarEsq=0\r\nMarSup=0\r\nDisHorEti=0\r\nDisVerEti=0\r\n";
    for (const char* file : {"f.pdf", "f.bmp", "f.png"}) {
        test::WriteBytes(LabelFile(), setup);
        const fs::path out = Scratch() / file;
        const CliRun run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "1", "--folha",
                                "--saida", out.string()});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_NE(run.err.find("A folha de etiquetas tem 1000000 etiquetas; o programa desenha no "
                               "máximo 10000 numa folha."),
                  std::string::npos)
            << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_TRUE(images.records.empty()) << "nothing drawn";

    // A picture too large for memory, with few labels: the PDF is drawn instead.
    test::WriteBytes(LabelFile(), "[CfgEti]\r\nResImp=9000\r\nQuaEtiLin=3\r\nQuaEtiCol=3\r\n");
    CliRun run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "1", "--folha", "--saida",
                      (Scratch() / "g.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("A imagem da folha de etiquetas teria"), std::string::npos) << run.err;
    run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "1", "--folha", "--saida",
               (Scratch() / "g.pdf").string()});
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(OutputCommandsTest, OutputsNeverReplaceTheProgramsFilesOrSpecialFiles) {
    const fs::path list = TableListPath(Home());
    const std::string listBytes = test::ReadBytes(list);
    const fs::path pipe = Scratch() / "cano.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    fs::create_directories(Scratch() / "pasta.pdf");
    fs::create_symlink(list, Scratch() / "atalho.csv");
    const std::string inData = "é um arquivo do programa";
    const std::string special = "não é um arquivo comum";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"tabela", "exportar", "Minha", list.string()}, inData},
        {{"tabela", "exportar", "Minha", (Scratch() / "atalho.csv").string()}, inData},
        {{"tabela", "exportar", "Minha", (Home() / DataHomeLock::kFileName).string()}, inData},
        {{"tabela", "exportar", "Minha", pipe.string()}, special},
        {{"tabela", "exportar", "Minha", (Scratch() / "pasta.pdf").string()}, special},
        {{"rotulo", "Minha", "Salada", "--modelo", "1", "--saida",
          (Home() / "Dados" / "Minha" / "r.bmp").string()},
         inData},
        {{"rotulo", "Minha", "Salada", "--modelo", "1", "--saida", pipe.string()}, special},
        {{"relatorio", "Minha", "Salada", "--tipo", "1", "--saida",
          (Scratch() / "pasta.pdf").string()},
         special},
        {{"relatorio", "Minha", "Salada", "--tipo", "1", "--saida",
          (Home() / "Dados" / "x.pdf").string()},
         inData},
        {{"lote", "Minha", "--tipo", "1", "--saida", (Home() / "Dados" / "saida").string()},
         "fica dentro da pasta Dados do programa"},
        {{"lote", "Minha", "--tipo", "1", "--saida", pipe.string()}, "não é uma pasta"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, 1) << c.args.back();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(test::ReadBytes(list), listBytes);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_symlink(Scratch() / "atalho.csv"));
    EXPECT_FALSE(fs::exists(Home() / "Dados" / "saida"));
    EXPECT_TRUE(images.records.empty());

    // A file of the batch that is a folder fails that preparation only.
    fs::create_directories(Scratch() / "lote" / "Salada-relatorio1.pdf");
    const CliRun run =
        Cli({"lote", "Minha", "--tipo", "1", "--saida", (Scratch() / "lote").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Salada: "), std::string::npos) << run.err;
    EXPECT_EQ(images.records.size(), 1u);
}

TEST_F(OutputCommandsTest, ReportsCreateNothingInTheDataHome) {
    // A preparation without a method text, and no configuration file: reading them must
    // not create them (a read-only home would refuse).
    const fs::path recipes = Home() / "Dados" / "Minha" / "Receita";
    fs::remove_all(recipes);
    fs::remove(ConfigFileLocation());
    const fs::path salada = PreparationFolder(Home(), kTable) / "Salada.dad";
    fs::remove(salada);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"relatorio", "Minha", "Salada", "--tipo", "2", "--saida",
              (Scratch() / "r.pdf").string()},
             {"lote", "Minha", "--tipo", "3", "--saida", (Scratch() / "lote").string()}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
    }
    EXPECT_FALSE(fs::exists(recipes));
    EXPECT_FALSE(fs::exists(salada));
    EXPECT_FALSE(fs::exists(ConfigFileLocation()));
    EXPECT_EQ(images.records.size(), 3u);
}

TEST_F(OutputCommandsTest, HelpOfEachCommandInPortuguese) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"tabela", "importar", "--help"},
                                                                  {"tabela", "exportar", "-h"},
                                                                  {"tabela", "listar", "--help"},
                                                                  {"rotulo", "--help"},
                                                                  {"relatorio", "--help"},
                                                                  {"lote", "--help"},
                                                                  {"recalcular", "--help"},
                                                                  {"verificar", "--help"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("Uso: velmaro-cli " + args[0], 0), 0u) << run.out;
        EXPECT_GT(run.out.size(), 150u);
    }
    const CliRun run = Cli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("  recalcular TABELA [--simular]\n"), std::string::npos);
}

// The import's help names every column it recognises, the sugars and trans fat and their
// sources included: each header the export writes (which the import reads back).
// Models 1 to 4 are told to follow revoked rules; model 5 is not.
TEST_F(OutputCommandsTest, RevokedModelsAreToldOnStderr) {
    const std::string notice =
        "velmaro-cli: Modelos 1 a 4: regras revogadas (RDC 360/2003) — para embalagens novas "
        "use o modelo 5\n";
    for (const char* model : {"1", "4"}) {
        const CliRun run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", model, "--saida",
                                (Scratch() / "r.png").string()});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, notice) << model;
    }
}

TEST_F(OutputCommandsTest, ImportHelpNamesEveryRecognisedColumn) {
    const CliRun run = Cli({"tabela", "importar", "--help"});
    ASSERT_EQ(run.status, 0);
    for (const ExportColumn& column : kExportColumns) {
        ASSERT_EQ(RecogniseColumn(column.header).field, column.field) << column.header;
        EXPECT_NE(run.out.find(std::string(column.header)), std::string::npos) << column.header;
    }
    EXPECT_NE(run.out.find("fonte (a fonte de todos os valores presentes na linha)"),
              std::string::npos);
}

// Only what was asked is counted, and "gerado" agrees with it.
TEST_F(OutputCommandsTest, BatchSummaryAgreesWithWhatWasMade) {
    struct Case {
        std::vector<std::string> what;
        std::string summary;
    };
    const std::vector<Case> cases{
        {{"--modelo", "1"}, "2 preparações: 2 rótulos gerados"},
        {{"--tipo", "2"}, "2 preparações: 2 relatórios gerados"},
        {{"--modelo", "1", "--tipo", "2"}, "2 preparações: 2 rótulos e 2 relatórios gerados"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const fs::path folder = Scratch() / ("soma" + std::to_string(n++));
        std::vector<std::string> args{"lote", "Minha", "--saida", folder.string()};
        args.insert(args.end(), c.what.begin(), c.what.end());
        const CliRun run = Cli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.summary + " em \"" + folder.string() + "\".\n");
    }
}

TEST_F(OutputCommandsTest, BatchOfLabelsAndReportsWithItsProgress) {
    const fs::path folder = Scratch() / "lote";
    CliRun run = Cli(
        {"lote", "Minha", "--saida", folder.string(), "--modelo", "2", "--nome", "--tipo", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, " 50% 1/2 Arroz com feijão\n100% 2/2 Salada\n");
    EXPECT_EQ(run.out,
              "2 preparações: 2 rótulos e 2 relatórios gerados em \"" + folder.string() + "\".\n");
    std::vector<fs::path> paths;
    for (const RecordedImage& r : images.records) {
        EXPECT_EQ(r.kind, Kind::Pdf);
        paths.push_back(r.path);
    }
    EXPECT_EQ(paths, (std::vector<fs::path>{folder / "Arroz com feijão-rotulo.pdf",
                                            folder / "Arroz com feijão-relatorio3.pdf",
                                            folder / "Salada-rotulo.pdf",
                                            folder / "Salada-relatorio3.pdf"}));
    EXPECT_TRUE(fs::is_directory(folder));
    const LabelChoice stored = LoadLabelChoice(IniFile(LabelFile(test::Pad("Salada", 40))));
    EXPECT_EQ(stored.layout, 2);
    EXPECT_TRUE(stored.withName);

    // On a terminal the bar is redrawn in place and the line closed at the end.
    images.records.clear();
    run =
        Cli({"lote", "Minha", "--saida", folder.string(), "--tipo", "1", "--formato", "png"}, true);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(images.Of(Kind::Png).size(), 2u);
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
    EXPECT_EQ(run.err.rfind("\r[------------------------------]   0% 0/2", 0), 0u);
    EXPECT_NE(run.err.find("\r[##############################] 100% 2/2 Salada"),
              std::string::npos);

    // A preparation that fails is told; the others are made.
    images.records.clear();
    const fs::path salada = LabelFile(test::Pad("Salada", 40));
    fs::remove(salada);
    fs::create_directories(salada);
    run = Cli({"lote", "Minha", "--saida", folder.string(), "--modelo", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(images.records.size(), 1u);
    EXPECT_NE(run.err.find("velmaro-cli: Salada: "), std::string::npos);
    EXPECT_NE(run.err.find("velmaro-cli: 1 preparação falhou.\n"), std::string::npos);
}

TEST(TerminalProgressTest, ATerminalIsDrawnWhenThePercentageChangesAtMost30TimesASecond) {
    ProgressPacer::TimePoint now{};
    std::ostringstream out;
    cli::TerminalProgress bar(out, true, 80, [&now] { return now; });
    const auto draws = [&out] {
        const std::string text = out.str();
        return std::count(text.begin(), text.end(), '\r');
    };

    // 20,000 items done in no time: the first state, then the last at the end.
    bar.Begin(20000);
    for (int i = 1; i <= 20000; ++i) {
        bar.Step(i, "Arroz");
    }
    bar.End();
    EXPECT_EQ(draws(), 2);
    EXPECT_NE(out.str().find("] 100% 20000/20000 Arroz"), std::string::npos);

    // One item every 10 ms, a percent each: drawn at most every 33 ms.
    out.str("");
    bar.Begin(100);
    for (int i = 1; i <= 100; ++i) {
        now += std::chrono::milliseconds(10);
        bar.Step(i, "Feij\xC3\xA3o");
    }
    bar.End();
    EXPECT_EQ(draws(), 1 + 25);  // Begin, then every 4th item (the last among them)

    // A log gets every item.
    std::ostringstream log;
    cli::TerminalProgress lines(log, false);
    lines.Begin(3);
    for (int i = 1; i <= 3; ++i) {
        lines.Step(i, "Arroz");
    }
    lines.End();
    EXPECT_EQ(log.str(), " 33% 1/3 Arroz\n 66% 2/3 Arroz\n100% 3/3 Arroz\n");
}

TEST(TerminalProgressTest, BarText) {
    EXPECT_EQ(cli::ProgressBarText(1, 4, 8), "[##------]  25% 1/4");
    EXPECT_EQ(cli::ProgressBarText(0, 0, 4), "[####] 100% 0/0");
    EXPECT_EQ(cli::ProgressBarText(7, 7, 4), "[####] 100% 7/7");
}

}  // namespace
}  // namespace velmaro

namespace velmaro {
namespace {

class NutritionTableCommandsTest : public OutputCommandsTest {
  protected:
    // Sugars and trans fat of the rice and the beans; the lettuce has none.
    void WriteExtraValues() {
        ExtraValuesTable extra;
        ExtraValues v;
        v.values = {"   0,10", "   0,00", "   0,00"};
        extra.Set(W("Arroz, tipo 1, cozido"), v);
        extra.Set(W("Feijão, carioca, cozido"), v);
        test::WriteBytes(ExtraValuesFileLocation(Home(), kTable), extra.Bytes());
    }
};

// A home made before the extra values: the sugars and trans fat are "?", never 0.
TEST_F(NutritionTableCommandsTest, DataLinesOfModelFive) {
    CliRun run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "5", "--dados"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines;
    for (size_t at = 0; at < run.out.size();) {
        const size_t end = run.out.find('\n', at);
        lines.push_back(run.out.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_EQ(lines.size(), 14u) << run.out;
    EXPECT_EQ(lines[0], "Porções por embalagem|");
    EXPECT_EQ(lines[1].rfind("Porção|", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Valor energético (kcal)|", 0), 0u);
    EXPECT_EQ(lines[4], "Açúcares totais (g)|?|?|");
    EXPECT_EQ(lines[5], "Açúcares adicionados (g)|?|?|?");
    EXPECT_EQ(lines[9], "Gorduras trans (g)|?|?|?");
    EXPECT_EQ(lines[12], "ALTO EM|");
    EXPECT_EQ(lines[13], "ALTO EM inconclusivo|AÇÚCAR ADICIONADO");
    const IniFile ini(LabelFile());
    EXPECT_EQ(ini.ReadString(kLabelDataSection, "RegRot", ""), "RDC 429/2020 + IN 75/2020");

    WriteExtraValues();
    run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "5", "--dados"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nAçúcares adicionados (g)|0|0|0\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nALTO EM|\n"), std::string::npos);
    EXPECT_EQ(run.out.find("inconclusivo"), std::string::npos);
}

std::vector<std::string> Lines(const std::string& out) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < out.size();) {
        const size_t end = out.find('\n', at);
        lines.push_back(out.substr(at, end - at));
        at = end == std::string::npos ? out.size() : end + 1;
    }
    return lines;
}

// --conteudo keeps the net content where the label screen keeps it; 1000 g of 120 g
// portions are "Cerca de 8", 240 g (2 portions) an individual package, 241 g not.
TEST_F(NutritionTableCommandsTest, NetContentAndTheIndividualPackage) {
    WriteExtraValues();
    const auto data = [&](const std::vector<std::string>& more) {
        std::vector<std::string> args{"rotulo", "Minha", "Arroz com feijão", "--dados"};
        args.insert(args.end(), more.begin(), more.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return Lines(run.out);
    };
    std::vector<std::string> lines = data({"--modelo", "5", "--conteudo", "1000"});
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "Porções por embalagem|Cerca de 8");
    EXPECT_EQ(lines[1], "Porção|120 g (1 concha)");
    EXPECT_EQ(IniFile(LabelFile()).ReadString(kLabelDataSection, "ConLiq", ""), "1000");

    // Without --modelo the stored model 5 is kept. The per-portion column is on 240 g.
    lines = data({"--conteudo", "0240"});
    EXPECT_EQ(lines[0], "Porções por embalagem|");
    EXPECT_EQ(lines[1], "Porção|240 g (1 embalagem)");
    const std::vector<std::string> per120 = data({"--conteudo", "241"});
    EXPECT_EQ(per120[0], "Porções por embalagem|Cerca de 2");
    EXPECT_EQ(per120[1], "Porção|120 g (1 concha)");
    EXPECT_EQ(lines[3], "Carboidratos (g)|22|54|18");  // 223 g in 1000 g
    EXPECT_EQ(per120[3], "Carboidratos (g)|22|27|9");

    // The screen opens on the content the command stored.
    data({"--conteudo", "240"});
    LabelScreen screen(Home(), kArroz);
    EXPECT_EQ(screen.form.ConLiqMaskEdit.text, "   240");
    EXPECT_NE(screen.form.SitRotLabel.caption.find(W("Embalagem individual")), std::string::npos);

    const std::string before = test::ReadBytes(LabelFile());
    for (const std::string bad : {"0", "12,5", "abc", "1234567", "-3"}) {
        const CliRun run =
            Cli({"rotulo", "Minha", "Arroz com feijão", "--dados", "--conteudo=" + bad});
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.err.find("--conteudo deve ser o conteúdo líquido da embalagem"),
                  std::string::npos)
            << run.err;
    }
    const CliRun legacy = Cli(
        {"rotulo", "Minha", "Arroz com feijão", "--dados", "--modelo", "1", "--conteudo", "500"});
    EXPECT_EQ(legacy.status, 2);
    EXPECT_NE(legacy.err.find("--conteudo é do modelo 5"), std::string::npos) << legacy.err;
    EXPECT_EQ(test::ReadBytes(LabelFile()), before);
}

// A brigadeiro worked out by hand from TACO foods (values per 100 g of TACO 4ª ed.; the
// sugars typed, TACO has none; the achocolatado's carbohydrate typed as TACO's 91,2 minus its
// 3,9 g of fibre; TACO's "NA" fibre of the milk and the butter typed as 0). Lines of
// net weight x value / 100, each to two decimals: leite condensado 395 g, achocolatado 30 g,
// manteiga 15 g; cooked to 300 g, 20 g a portion ("1 unidade").
//   carbohydrates 225,15 + 26,19 + 0,02 = 251,36   total sugars 217,25 + 25,5 + 0,02 = 242,77
//   added sugars 169,85 + 25,2 + 0 = 195,05        proteins 30,42 + 1,26 + 0,06 = 31,74
//   total fat 26,47 + 0,66 + 12,36 = 39,49         saturated 16,59 + 0,33 + 7,38 = 24,3
//   trans 0,91 + 0 + 0,5 = 1,41                    fibre 0 + 1,17 + 0 = 1,17
//   sodium 371,3 + 19,5 + 86,85 = 477,65
// Per 100 g (/ 3) and per 20 g (/ 15), then declared: carbohydrates 83,79 -> 84 and 16,76 ->
// 17 (%VD 17/300 = 5,7 -> 6); total sugars 80,92 -> 81, 16,18 -> 16; added 65,02 -> 65,
// 13,00 -> 13 (26 %); proteins 10,58 -> 11, 2,116 -> 2,1 (4,2 -> 4 %); fat 13,16 -> 13,
// 2,633 -> 2,6 (4 %); saturated 8,1 and 1,62 -> 1,6 (8 %); trans 0,47 -> 0,5 and 0,094 ->
// 0,1 (significant per 100 g: 5 %); fibre 0,39 and 0,078, not significant in both: 0; sodium
// 159,2 -> 159, 31,84 -> 32 (1,6 -> 2 %). Energy from the declared values: 4 x 84 + 4 x 11 +
// 9 x 13 = 497 and 4 x 17 + 4 x 2,1 + 9 x 2,6 = 99,8 -> 100 (5 %) (the ingredients' energy
// would give 488,5 and 97,7). "ALTO EM": added sugars 65,02 >= 15, saturated 8,1 >= 6,
// sodium 159 < 600. A box of 90 g holds 4,5 portions: "Cerca de 5". A box of 40 g (2
// portions) is an individual package: the column is on 40 g (/ 7,5): carbohydrates 33,51 ->
// 34 (11 %), sugars 32,37 -> 32, added 26,01 -> 26 (52 %), proteins 4,232 -> 4,2 (8 %), fat
// 5,265 -> 5,3 (8 %), saturated 3,24 -> 3,2 (16 %), trans 0,188 -> 0,2 (10 %), fibre 0,156:
// 0, sodium 63,69 -> 64 (3 %), energy 136 + 16,8 + 47,7 = 200,5 -> 201 (10 %).
TEST_F(NutritionTableCommandsTest, APreparationFromTacoWorkedOutByHand) {
    ImportCsv("Doces",
              "nome;grupo;energia (kcal);carboidrato;proteína;lipídeos;saturada;colesterol;"
              "fibra;cálcio;ferro;sódio;açúcares totais;açúcares adicionados;gordura trans\n"
              "Leite, condensado;Leite;313;57,0;7,7;6,7;4,2;28;0;246;0,1;94;55,0;43,0;0,23\n"
              "Achocolatado, pó;Açucarados;401;87,3;4,2;2,2;1,1;0;3,9;44;5,4;65;85,0;84,0;"
              "0,01\n"
              "Manteiga, com sal;Gorduras;726;0,1;0,4;82,4;49,2;201;0;9;0,2;579;0,1;0;3,30\n");
    AddPreparation("Doces", "Brigadeiro",
                   {{"Leite, condensado", "395", ""},
                    {"Achocolatado, pó", "30", ""},
                    {"Manteiga, com sal", "15", ""}},
                   "   300", "    15", "    20", "1 unidade");
    CliRun run =
        Cli({"rotulo", "Doces", "Brigadeiro", "--modelo", "5", "--dados", "--conteudo", "90"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  "Porções por embalagem|Cerca de 5", "Porção|20 g (1 unidade)",
                  "Valor energético (kcal)|497|100|5", "Carboidratos (g)|84|17|6",
                  "Açúcares totais (g)|81|16|", "Açúcares adicionados (g)|65|13|26",
                  "Proteínas (g)|11|2,1|4", "Gorduras totais (g)|13|2,6|4",
                  "Gorduras saturadas (g)|8,1|1,6|8", "Gorduras trans (g)|0,5|0,1|5",
                  "Fibras alimentares (g)|0|0|0", "Sódio (mg)|159|32|2",
                  "ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA"}));

    run = Cli({"rotulo", "Doces", "Brigadeiro", "--dados", "--conteudo", "40"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  "Porções por embalagem|", "Porção|40 g (1 embalagem)",
                  "Valor energético (kcal)|497|201|10", "Carboidratos (g)|84|34|11",
                  "Açúcares totais (g)|81|32|", "Açúcares adicionados (g)|65|26|52",
                  "Proteínas (g)|11|4,2|8", "Gorduras totais (g)|13|5,3|8",
                  "Gorduras saturadas (g)|8,1|3,2|16", "Gorduras trans (g)|0,5|0,2|10",
                  "Fibras alimentares (g)|0|0|0", "Sódio (mg)|159|64|3",
                  "ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA"}));

    // The butter's added sugars unknown: the milk and the achocolatado alone give 64,95 g
    // per 100 g, over the limit of 15 whatever the butter adds. The mark is certain, the
    // table incomplete.
    ExtraValuesTable extra = LoadExtraValues(Home(), Key("Doces", 20));
    ExtraValues butter = extra.Find(Key("Manteiga, com sal", 60));
    butter.values[1].clear();
    extra.Set(Key("Manteiga, com sal", 60), butter);
    test::WriteBytes(ExtraValuesFileLocation(Home(), Key("Doces", 20)), extra.Bytes());
    run = Cli({"rotulo", "Doces", "Brigadeiro", "--dados", "--conteudo", "90"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 13u) << run.out;
    EXPECT_EQ(lines[4], "Açúcares totais (g)|81|16|");
    EXPECT_EQ(lines[5], "Açúcares adicionados (g)|?|?|?");
    EXPECT_EQ(lines[12], "ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA");
    EXPECT_EQ(IniFile(LabelFilePath(Home(), Key("Doces", 20), Key("Brigadeiro", 40)))
                  .ReadString(kLabelDataSection, "IncRot", ""),
              W("Açúcares adicionados (g): Manteiga, com sal"));
}

// An incomplete label is drawn and named, and the command fails as lote does.
TEST_F(NutritionTableCommandsTest, AnIncompleteLabelIsWrittenAndExitsOne) {
    WriteExtraValues();
    const fs::path out = Scratch() / "salada.pdf";
    CliRun run = Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Foi gerado o arquivo: " + out.string() + "\n"), std::string::npos);
    EXPECT_NE(run.err.find("Salada: rótulo INCOMPLETO"), std::string::npos) << run.err;
    EXPECT_FALSE(images.Of(Kind::Pdf).empty());
    run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "5", "--saida", out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
}

// The sheet of model 5 as the tables alone or the marks alone; the options need that sheet.
TEST_F(NutritionTableCommandsTest, SheetOfTheTablesOrOfTheMarksAlone) {
    WriteExtraValues();
    const fs::path out = Scratch() / "folha.pdf";
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--modelo", "5", "--so-selo"},
          {"--modelo", "1", "--folha", "--so-tabela"},
          {"--modelo", "5", "--folha", "--so-tabela", "--so-selo"}}) {
        std::vector<std::string> args{"rotulo", "Minha", "Salada", "--saida", out.string()};
        args.insert(args.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(Cli(args).status, 2) << wrong.back();
    }
    CliRun run = Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--folha", "--so-selo",
                      "--saida", out.string()});
    EXPECT_EQ(run.status, 1) << "incomplete";
    ASSERT_EQ(images.Of(Kind::Pdf).size(), 1u);
    // The rice's table has no mark: no sheet of marks.
    run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "5", "--folha", "--so-selo",
               "--saida", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("não tem selo \"ALTO EM\""), std::string::npos) << run.err;
    EXPECT_EQ(images.Of(Kind::Pdf).size(), 1u);
    run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "5", "--folha", "--so-tabela",
               "--saida", out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(images.Of(Kind::Pdf).size(), 2u);
}

TEST_F(NutritionTableCommandsTest, BatchOfModelFiveNamesTheIncompleteLabels) {
    WriteExtraValues();
    const fs::path folder = Scratch() / "lote5";
    const CliRun run = Cli({"lote", "Minha", "--saida", folder.string(), "--modelo", "5"});
    EXPECT_EQ(run.status, 1);
    // The lettuce's saturated fat is unknown: its 0,2 g of fat could be "0" only with the
    // saturated declared "0", and the energy is computed from the fat.
    EXPECT_NE(run.err.find("velmaro-cli: Salada: rótulo INCOMPLETO – NÃO USAR EM EMBALAGEM "
                           "(valores ausentes: Valor energético (kcal): Alface, crespa, crua; "
                           "Açúcares totais (g): Alface, crespa, crua"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("Arroz com feijão: rótulo INCOMPLETO"), std::string::npos);
    EXPECT_NE(run.err.find("velmaro-cli: 1 rótulo incompleto.\n"), std::string::npos);
    std::vector<fs::path> paths;
    for (const RecordedImage& r : images.records) {
        paths.push_back(r.path);
    }
    // The lettuce's limits cannot be judged: its mark says so beside its label.
    EXPECT_EQ(paths, (std::vector<fs::path>{folder / "Arroz com feijão-rotulo.pdf",
                                            folder / "Salada-rotulo.pdf",
                                            folder / "Salada-rotulo-alto-em.pdf"}));
}

// A preparation marked as a food whose front-of-pack labelling is forbidden: the mark is
// generated neither by rotulo nor by lote, and the choice stays with the label data.
TEST_F(NutritionTableCommandsTest, AFoodWithTheMarkForbiddenHasNone) {
    CliRun run =
        Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--dados", "--sem-frontal", "20"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--sem-frontal deve ser um número de 0 a 19"), std::string::npos)
        << run.err;

    // The lettuce's limits cannot be judged: without the item it has a mark.
    run = Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--dados", "--sem-frontal", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nRotulagem frontal vedada|1 – Frutas, hortaliças, leguminosas, "
                           "tubérculos, cereais, nozes, castanhas, sementes e cogumelos\n"),
              std::string::npos)
        << run.out;
    const fs::path png = Scratch() / "salada.png";
    run = Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", png.string()});
    EXPECT_NE(run.out.find("Rotulagem frontal vedada: 1 – Frutas"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("alto-em"), std::string::npos) << run.out;

    const fs::path folder = Scratch() / "lote5";
    run = Cli({"lote", "Minha", "--saida", folder.string(), "--modelo", "5"});
    for (const RecordedImage& r : images.records) {
        EXPECT_NE(r.path.filename(), fs::path("Salada-rotulo-alto-em.pdf"));
    }

    // Unmarked: the mark is back.
    run = Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--sem-frontal", "0", "--saida",
               png.string()});
    // The salad's table is incomplete: drawn, named, and the command fails as lote does.
    ASSERT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("salada-alto-em.png"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("vedada"), std::string::npos);
}

}  // namespace
}  // namespace velmaro
