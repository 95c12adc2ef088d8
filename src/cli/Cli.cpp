#include "cli/Cli.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "cli/Commands.h"
#include "ingredients/CompositionColumns.h"
#include "storage/DataHomeLock.h"
#include "storage/FileDamage.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro::cli {

namespace {

constexpr std::string_view kProgram = "velmaro-cli";

struct Command {
    std::string_view group;  // "tabela" for "tabela importar"; empty for a single word
    std::string_view name;
    std::string_view usage;  // the usage lines, without "Uso: "
    std::string help;        // what the command does, and its options
    std::vector<CliOption> options;
    size_t minOperands;
    size_t maxOperands;
    int (*run)(const Arguments&, CliIo&);
    // Whether the command, so called, writes into the data home (none: it only reads).
    bool (*writes)(const Arguments&) = nullptr;
};

// The columns "tabela importar" recognises, from the import's own list, wrapped as the
// help text is: "  nome, grupo, ...,\n  fonte (...) e uma fonte por valor (fonte ..., ...).\n"
std::string ImportColumnsText() {
    constexpr size_t kWidth = 88;
    const RecognisedColumnNames names = RecognisedColumnsByName();
    std::vector<std::string> words;
    for (const std::string_view name : names.values) {
        words.push_back(std::string(name) + ",");
    }
    words.push_back("fonte (a fonte de todos os valores presentes na linha) e uma fonte por valor");
    for (size_t i = 0; i < names.sources.size(); ++i) {
        words.push_back((i == 0 ? "(" : "") + std::string(names.sources[i]) +
                        (i + 1 == names.sources.size() ? ")." : ","));
    }
    std::string text;
    std::string line = " ";
    for (const std::string& word : words) {
        // Widths counted in characters, not bytes.
        const auto width = [](const std::string& t) {
            return static_cast<size_t>(std::count_if(t.begin(), t.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            }));
        };
        if (line.size() > 1 && width(line) + 1 + width(word) > kWidth) {
            text += line + "\n";
            line = " ";
        }
        line += " " + word;
    }
    return text + line + "\n";
}

bool Always(const Arguments&) {
    return true;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"tabela",
         "importar",
         "velmaro-cli tabela importar NOME ARQUIVO.csv [--descricao TEXTO] [--fornecida] "
         "[--forcar]",
         R"(Importa os ingredientes de uma planilha CSV para a tabela de composição NOME.
A tabela é criada quando não existe (editável; só para consulta com --fornecida).
Numa tabela que já existe, os ingredientes de mesmo nome (sem distinguir maiúsculas)
são substituídos e os outros acrescentados. O arquivo de ingredientes é gravado uma só vez.

O arquivo: UTF-8 ou Windows-1252 e separador ";" ou "," (ambos detectados), vírgula ou
ponto decimal, e uma linha de cabeçalho com os nomes das colunas (maiúsculas, acentos e
unidades entre parênteses não importam):
)" + ImportColumnsText() +
             R"(Só a coluna nome é obrigatória; colunas com outros nomes são ignoradas e listadas.
Num ingrediente que já existe, os campos sem coluna no arquivo ficam como estavam.
"Tr" (traços) vale 0; "NA", "*", "-" e células vazias deixam o valor em branco.
Os grupos citados no arquivo são acrescentados aos grupos de ingredientes da tabela.

Linhas com erro (nome em branco, com mais de 60 caracteres ou com caracteres proibidos,
nome repetido, valor que não cabe no campo, data inválida...) são listadas com o número
da linha e o motivo, e nada é gravado.

Opções:
  --descricao TEXTO  a descrição de uma tabela nova (até 65 caracteres)
  --fornecida        cria a tabela só para consulta (marca "0"); é preciso também para
                     importar numa tabela que já existe e é só para consulta
  --forcar           importa só as linhas válidas e deixa de fora as linhas com erro)",
         {{"descricao", true}, {"fornecida", false}, {"forcar", false}},
         2,
         2,
         TableImportCommand,
         Always},
        {"tabela",
         "exportar",
         "velmaro-cli tabela exportar NOME ARQUIVO.csv",
         R"(Grava os ingredientes da tabela NOME num arquivo CSV: UTF-8 (com a marca de ordem de
bytes, para as planilhas), separador ";", vírgula decimal e o cabeçalho que a importação
reconhece; o arquivo pode ser importado de novo sem mudança. Com ARQUIVO "-", o CSV vai
para a saída padrão. Linhas do arquivo de ingredientes que não se leem como ingredientes
ficam de fora e são informadas (o código de saída é então 1).)",
         {},
         2,
         2,
         TableExportCommand},
        {"tabela",
         "listar",
         "velmaro-cli tabela listar",
         R"(Mostra as tabelas de composição: nome, descrição, se é editável ou só para consulta
e quantos ingredientes tem.)",
         {},
         0,
         0,
         TableListCommand},
        {"tabela",
         "acucares",
         "velmaro-cli tabela acucares TABELA --de OUTRA --mapa MAPA.csv [--substituir]",
         R"(Preenche os açúcares totais, os açúcares adicionados e a gordura trans dos
ingredientes da TABELA (editável) com os de alimentos da tabela OUTRA (a IBGE, que os
traz). MAPA.csv tem uma linha por ingrediente: "ingrediente;alimento" (o nome na TABELA e
o nome na OUTRA; uma primeira linha "ingrediente;alimento" é cabeçalho). Cada valor vai
com a fonte do alimento e o seu nome ("IBGE POF 2008–2009: Açúcar"); nada mais do
ingrediente muda. Mostra cada ingrediente preenchido e cada nome não encontrado (o código
de saída é então 1).

Opções:
  --de OUTRA     a tabela de onde vêm os valores
  --mapa ARQUIVO o mapa ingrediente;alimento (UTF-8 ou Windows-1252)
  --substituir   troca também os valores que o ingrediente já tem (sem ela, só os
                 valores em branco são preenchidos))",
         {{"de", true}, {"mapa", true}, {"substituir", false}},
         1,
         1,
         TableSugarsCommand,
         Always},
        {"valores-referencia",
         "importar",
         "velmaro-cli valores-referencia importar ARQUIVO.csv [--forcar]",
         R"(Carrega a lista de valores de referência (as porções de referência de alimentos
embalados, escolhidas na ficha técnica com "Seleciona Valor de Referência") de uma
planilha CSV. A lista da pasta de dados é substituída pela do arquivo: os alimentos em
ValRef.dad e as tabelas (grupos de alimentos) citadas no arquivo em TabValRef.dad.

O arquivo: UTF-8 ou Windows-1252 e separador ";" ou "," (ambos detectados) e uma linha de
cabeçalho com os nomes das colunas (maiúsculas, acentos e unidades entre parênteses não
importam), um alimento por linha:
  alimento                obrigatório, até 140 caracteres, sem repetir (maiúsculas e
                          minúsculas não distinguem nomes)
  valor de referência     obrigatório, até 70 caracteres ("30", "50 a 60"...)
  unidade                 g ou ml; em branco só quando o valor de referência é um
                          texto ("Quantidade suficiente para preparar 200 ml")
  medida caseira          até 60 caracteres
  peso médio              até 70 caracteres: o peso médio de uma medida caseira
  apresentação no rótulo  até 70 caracteres: como a medida caseira aparece no rótulo
  tabela                  obrigatória, até 76 caracteres: o grupo de alimentos
No alimento e na tabela não se podem usar os caracteres \ _ : * ? " < > |; nos outros
campos, o caracter |. Colunas com outros nomes são ignoradas e listadas.

Linhas com erro são listadas com o número da linha e o motivo, e nada é gravado.
Um arquivo de exemplo, com valores inventados, acompanha o programa:
exemplos/valores-referencia-exemplo.csv, na pasta dos arquivos do programa
(/usr/share/velmaro quando instalado pelo pacote). Para guardar a lista atual antes de
trocá-la: velmaro-cli valores-referencia exportar ARQUIVO.csv.
Numa pasta de dados sem lista, o programa (e este comando, na primeira vez) instala a
lista da IN 75/2020, Anexo V (138 alimentos em 8 grupos), que acompanha o programa em
in75/anexo_v.csv.

Opções:
  --forcar       grava só as linhas válidas e deixa de fora as linhas com erro)",
         {{"forcar", false}},
         1,
         1,
         ReferenceImportCommand,
         Always},
        {"valores-referencia",
         "exportar",
         "velmaro-cli valores-referencia exportar ARQUIVO.csv",
         R"(Grava a lista de valores de referência num arquivo CSV: UTF-8 (com a marca de ordem de
bytes, para as planilhas), separador ";" e o cabeçalho que a importação reconhece; o
arquivo importado de novo deixa a lista como estava. Com ARQUIVO "-", o CSV vai para a
saída padrão. Tabelas de referência sem nenhum alimento não cabem no arquivo e são
informadas.)",
         {},
         1,
         1,
         ReferenceExportCommand},
        {"valores-referencia",
         "listar",
         "velmaro-cli valores-referencia listar",
         R"(Mostra a lista de valores de referência por tabela (grupo de alimentos): cada alimento
com o valor de referência e a unidade, a apresentação no rótulo e a medida caseira.)",
         {},
         0,
         0,
         ReferenceListCommand},
        {"",
         "rotulo",
         "velmaro-cli rotulo TABELA PREPARACAO --modelo 1|2|3|4|5 [--nome] [--folha "
         "[--so-tabela|--so-selo]] [--conteudo N] [--sem-frontal ITEM] --saida "
         "ARQUIVO.(bmp|png|pdf)\n"
         "     velmaro-cli rotulo TABELA PREPARACAO --dados [--modelo 1|2|3|4|5 [--nome]] "
         "[--conteudo N] [--sem-frontal ITEM]\n"
         "     velmaro-cli rotulo TABELA PREPARACAO --porcao-grupo I…VIII [--modelo …] …",
         R"(Compõe o rótulo nutricional da preparação como a tela do rótulo faz ao abrir (os
dados do rótulo são gravados no arquivo .rot da preparação) e desenha o rótulo no modelo
escolhido: 1 Modelo Vertical, 2 Modelo Horizontal, 3 Modelo Linear, 4 Personalizado,
5 Modelo RDC 429/2020 (a tabela nutricional atual, com o selo "ALTO EM").
A extensão do arquivo de saída dá o formato: .bmp ou .png (monocromático) ou .pdf.
No modelo 5, quando há selo "ALTO EM", ele é gerado num segundo arquivo ao lado
("ARQUIVO-alto-em" com a mesma extensão; na folha, o selo vai ao lado de cada tabela).
Uma tabela com valores desconhecidos sai com "?" e a marca "INCOMPLETO – NÃO USAR EM
EMBALAGEM": o arquivo é gerado, o comando avisa e o código de saída é 1.

Opções:
  --modelo N     o modelo do rótulo, que fica gravado como o escolhido
  --nome         imprime o nome da preparação acima do rótulo
  --folha        a folha de etiquetas inteira, na geometria da configuração das
                 etiquetas (tamanho real); sem ela, a imagem da visualização (500 x 258)
  --so-tabela    com --modelo 5 --folha: só as tabelas, sem o selo ao lado
  --so-selo      com --modelo 5 --folha: só os selos "ALTO EM" (o selo vai na metade
                 de cima do painel principal da embalagem, a tabela em outro lugar)
  --sem-frontal ITEM
                 a preparação é o alimento ITEM (1 a 19) da lista de alimentos em que a
                 rotulagem nutricional frontal é vedada (IN 75/2020, Anexo XVI): o selo
                 "ALTO EM" não é gerado, nem na folha nem no lote; fica gravado com os
                 dados do rótulo (chave SemFro); 0 desmarca
  --saida ARQ    o arquivo a gerar
  --conteudo N   no modelo 5, o conteúdo líquido da embalagem em gramas ou mililitros (a
                 unidade da porção), número inteiro; fica gravado como o da tela do
                 rótulo. Dá as "Porções por embalagem" ("Cerca de N" quando não é um
                 número inteiro); uma embalagem de até 2 porções é individual: a porção é
                 o conteúdo inteiro, com a medida "1 embalagem", e não há essa linha
  --porcao-grupo G  antes de compor, a porção do rótulo pela energia média da porção do
                 grupo G da IN 75, Anexo V (I 150, II 30, III 70, IV 125, V 125, VI 100,
                 VII 100 kcal; o grupo VIII não tem): energia do grupo ÷ energia por grama
                 da preparação, arredondada a 1 g; a ficha técnica é gravada com ela
  --dados        em vez de desenhar, mostra as linhas DesDad, ValPor e ValDia e o ValRef
                 gravados, um por linha (sem --modelo, o modelo gravado é mantido); no
                 modelo 5: "Porções por embalagem|…", "Porção|…", uma linha
                 "descrição|por 100 g|por porção|%VD" por nutriente, "ALTO EM|…" (os
                 limites que a parte conhecida já atinge) e, quando houver, "ALTO EM
                 inconclusivo|…" (os que ela não atinge, com valores desconhecidos) e
                 "Rotulagem frontal vedada|…")",
         {{"modelo", true},
          {"nome", false},
          {"folha", false},
          {"so-tabela", false},
          {"so-selo", false},
          {"saida", true},
          {"dados", false},
          {"conteudo", true},
          {"porcao-grupo", true},
          {"sem-frontal", true}},
         2,
         2,
         LabelCommand,
         Always},
        {"",
         "relatorio",
         "velmaro-cli relatorio TABELA PREPARACAO --tipo 1|2|3 --saida ARQUIVO.(bmp|png|pdf)",
         R"(Gera o relatório da ficha técnica da preparação como a tela de relatórios o desenha:
1 Análise Química - Completo, 2 Ficha Técnica, 3 Medidas Caseiras - Modo de Preparo.
.pdf: o relatório em folhas A4, na resolução da impressora da configuração (ResImp);
.bmp ou .png: a imagem da visualização, monocromática.

Opções:
  --tipo N       o relatório
  --saida ARQ    o arquivo a gerar)",
         {{"tipo", true}, {"saida", true}},
         2,
         2,
         ReportCommand},
        {"",
         "lote",
         "velmaro-cli lote TABELA --saida PASTA [--modelo 1|2|3|4|5 [--nome] [--folha "
         "[--so-tabela|--so-selo]]] "
         "[--tipo 1|2|3] [--formato pdf|bmp|png]",
         R"(Gera os rótulos (com --modelo) e/ou os relatórios (com --tipo) de todas as
preparações da tabela na PASTA, criada quando não existe: "PREPARACAO-rotulo.pdf" e
"PREPARACAO-relatorioN.pdf". Cada rótulo é composto e gravado como no comando rotulo.
O progresso aparece no terminal. Uma preparação que falha é informada e as outras são
geradas; o código de saída é então 1. No modelo 5 o selo "ALTO EM" acompanha o rótulo
("PREPARACAO-rotulo-alto-em.pdf"), e cada rótulo incompleto (valores desconhecidos) é informado
numa linha; o código de saída é então 1.

Opções:
  --saida PASTA  a pasta dos arquivos
  --modelo N     gera os rótulos nesse modelo (--nome, --folha, --so-tabela e --so-selo
                 como no comando rotulo)
  --tipo N       gera os relatórios desse tipo
  --formato F    pdf (o padrão), bmp ou png)",
         {{"saida", true},
          {"modelo", true},
          {"nome", false},
          {"folha", false},
          {"so-tabela", false},
          {"so-selo", false},
          {"tipo", true},
          {"formato", true}},
         1,
         1,
         BatchCommand,
         // The labels are composed and stored; the reports only read.
         [](const Arguments& a) { return a.Value("modelo").has_value(); }},
        {"",
         "recalcular",
         "velmaro-cli recalcular TABELA [--simular]",
         R"(Recalcula todas as preparações da tabela com o arquivo de ingredientes atual. Em cada
linha: o custo unitário e a data de cotação do ingrediente, o F.C. e o F.C.C., o custo e
as quantidades de nutrientes a partir dos pesos gravados, como a tela de ingredientes da
preparação calcula; depois os totais e as linhas da porção, da colher de sopa e da porção
do rótulo. Mostra o que mudou. Linhas de ingredientes que não existem mais na tabela
ficam como estavam (e são avisadas).

Opções:
  --simular      só mostra o que mudaria, sem gravar nada)",
         {{"simular", false}},
         1,
         1,
         RecomputeCommand,
         [](const Arguments& a) { return !a.Has("simular"); }},
        {"",
         "verificar",
         "velmaro-cli verificar [TABELA] [--reparar]",
         R"(Verifica a pasta de dados (todas as tabelas, ou só TABELA) sem mudar nada: linhas do
arquivo de ingredientes que não se decifram em 30 campos, registros com o número errado
de campos, preparações com ingredientes que não existem na tabela, arquivos de medidas
caseiras sem ingrediente, totais diferentes da soma das linhas e arquivos de preparações
que não existem mais (ingredientes, modo de preparo, etiquetas, rótulo), como os que uma
renomeação interrompida deixa. Aponta também os arquivos danificados (bytes nulos,
caracteres ilegíveis, códigos repetidos, linhas do arquivo de ingredientes fora do lugar)
e os arquivos temporários de gravações interrompidas. Mostra uma linha por problema
encontrado; o código de saída é 1 quando há algum.

Opções:
  --reparar      conserta o que pode ser consertado sem risco e diz o que fez: remove os
                 arquivos temporários e, depois de copiar cada arquivo que muda para
                 NOME.bak-AAAA-MM-DD, tira os bytes nulos, deixa só a primeira de linhas
                 repetidas iguais e cifra de novo as linhas de ingredientes fora do lugar;
                 o resto fica listado para ser resolvido à mão)",
         {{"reparar", false}},
         0,
         1,
         CheckCommand,
         [](const Arguments& a) { return a.Has("reparar"); }},
    };
    return commands;
}

std::string FullName(const Command& command) {
    return command.group.empty() ? std::string(command.name)
                                 : std::string(command.group) + " " + std::string(command.name);
}

std::string CommandUsage(const Command& command) {
    return "Uso: " + std::string(command.usage) + "\n";
}

std::string CommandHelp(const Command& command) {
    return CommandUsage(command) + "\n" + std::string(command.help) + "\n";
}

int Usage(CliIo& io, const std::string& reason, const Command* command) {
    io.err << kProgram << ": " << reason << "\n";
    io.err << (command != nullptr ? CommandUsage(*command) : UsageText());
    if (command != nullptr) {
        io.err << "Use \"" << kProgram << " " << FullName(*command)
               << " --help\" para mais informações.\n";
    }
    return kExitUsage;
}

}  // namespace

std::string UsageText() {
    std::string text =
        "Uso: velmaro-cli [--home PASTA] [--config ARQUIVO] COMANDO [ARGUMENTOS]\n\nComandos:\n";
    for (const Command& command : Commands()) {
        // Each usage line without the program's name.
        std::string_view usage = command.usage;
        while (!usage.empty()) {
            const size_t end = std::min(usage.find('\n'), usage.size());
            std::string_view line = usage.substr(0, end);
            line.remove_prefix(std::min(line.find(kProgram) + kProgram.size() + 1, line.size()));
            text += "  " + std::string(line) + "\n";
            usage.remove_prefix(std::min(end + 1, usage.size()));
        }
    }
    text +=
        "\n--home e --config como no programa principal. Use \"velmaro-cli COMANDO --help\" "
        "para a ajuda de um comando.\n"
        "Os comandos que gravam na pasta de dados (tabela importar, tabela acucares, "
        "valores-referencia "
        "importar,\nrotulo, lote com --modelo, recalcular sem --simular, verificar --reparar) não "
        "rodam\nenquanto o programa está aberto nela; os outros rodam.\n"
        "Código de saída: 0 sucesso, 1 erro (o motivo em uma linha), 2 uso incorreto.\n";
    return text;
}

int RunCli(const std::vector<std::string>& args, CliIo& io) {
    if (args.empty()) {
        return Usage(io, "falta o comando.", nullptr);
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "ajuda") {
        io.out << UsageText();
        return kExitOk;
    }
    if (io.home.empty()) {
        // "--home" with an empty value: never the current folder unasked.
        return Usage(io, std::string(kEmptyHomeMessage), nullptr);
    }
    const Command* command = nullptr;
    size_t consumed = 1;
    for (const Command& c : Commands()) {
        if (c.group.empty() && args[0] == c.name) {
            command = &c;
            break;
        }
        if (!c.group.empty() && args[0] == c.group) {
            if (args.size() < 2 || args[1] == "--help" || args[1] == "-h") {
                // The group alone: the usage of its commands.
                std::string lines;
                for (const Command& g : Commands()) {
                    if (g.group == c.group) {
                        lines += CommandUsage(g);
                    }
                }
                if (args.size() >= 2) {
                    io.out << lines;
                    return kExitOk;
                }
                io.err << kProgram << ": falta o comando de " << c.group << ".\n" << lines;
                return kExitUsage;
            }
            if (args[1] == c.name) {
                command = &c;
                consumed = 2;
                break;
            }
        }
    }
    if (command == nullptr) {
        const bool isGroup = std::any_of(Commands().begin(), Commands().end(),
                                         [&](const Command& c) { return c.group == args[0]; });
        const std::string shown = args.size() >= 2 && isGroup ? args[0] + " " + args[1] : args[0];
        return Usage(io, "comando desconhecido: " + shown, nullptr);
    }

    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(consumed),
                                        args.end());
    try {
        const Arguments arguments = ParseArguments(rest, command->options);
        if (arguments.help) {
            io.out << CommandHelp(*command);
            return kExitOk;
        }
        if (arguments.operands.size() < command->minOperands) {
            return Usage(io, "faltam argumentos.", command);
        }
        if (arguments.operands.size() > command->maxOperands) {
            return Usage(io, "argumentos a mais: " + arguments.operands[command->maxOperands],
                         command);
        }
        // A command that writes takes the data home as the desktop program does, so that
        // neither replaces what the other saved; one that only reads runs beside it.
        DataHomeLock lock;
        if (command->writes != nullptr && command->writes(arguments)) {
            switch (lock.Acquire(io.home)) {
                case DataHomeLock::State::Held:
                    break;
                case DataHomeLock::State::Unavailable:
                    // Whether the program works on the home cannot be told: nothing is
                    // written.
                    throw UserError("não foi possível reservar a pasta de dados \"" +
                                    Shown(io.home) + "\" para gravar (" + lock.Error() +
                                    "); nada foi gravado.");
                case DataHomeLock::State::Busy:
                case DataHomeLock::State::Free:
                    throw UserError(
                        "a pasta de dados \"" + Shown(io.home) +
                        "\" está em uso pelo programa Velmaro Nutricional (ou por outro "
                        "comando que grava nela); feche o programa e tente de novo. Os "
                        "comandos que só leem funcionam com o programa aberto.");
            }
        }
        return command->run(arguments, io);
    } catch (const UsageError& e) {
        return Usage(io, e.what(), command);
    } catch (const UserError& e) {
        io.err << kProgram << ": " << e.what() << "\n";
    } catch (const DamagedFileError& e) {
        io.err << kProgram << ": " << e.what()
               << " Nada foi gravado; \"velmaro-cli verificar\" mostra os danos e "
                  "\"verificar --reparar\" conserta os que podem ser consertados.\n";
    } catch (const StorageError& e) {
        io.err << kProgram << ": erro de arquivo: " << e.what() << "\n";
    } catch (const std::exception& e) {
        io.err << kProgram << ": erro: " << e.what() << "\n";
    }
    return kExitError;
}

}  // namespace velmaro::cli
