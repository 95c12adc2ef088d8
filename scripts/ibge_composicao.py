#!/usr/bin/env python3
"""The IBGE composition table (POF 2008-2009), delivered with the program as table "IBGE".

Reads IBGE's "Tabela de Composição Nutricional dos Alimentos Consumidos no Brasil"
(Pesquisa de Orçamentos Familiares 2008-2009) as CSV and writes data/ibge/pof2008_composicao.csv,
which the program installs into the table "IBGE": the ten values of the ingredient record,
and total sugars, added sugars and trans fat into the table's sugars-and-trans file.

    python3 scripts/ibge_composicao.py [CSV]

CSV is IBGE's table (default: ../shared/data/ibge-composicao/tabela_composicao_pof_2008_2009.csv
beside the repository): ";"-separated, decimal comma, UTF-8 with BOM, three title lines and
a header line, one row per food x preparation, then a source line. Only the Python standard
library is used; the build and the tests do not run this step, they read its output.

Values
------
Copied as printed (two decimals), the decimal comma made a point. IBGE's tabular sign "-"
(a numeric zero that does not come from rounding) is written 0; "..." or an empty cell (a
value that is not available) is written empty: not known, never 0. The copy holds only
numbers and "-".

Names
-----
One ingredient per food x preparation. The name is the food's description in sentence case
(first letter capital, the rest small, a few proper names kept capital, the accents IBGE's
upper-case text leaves out put back from a fixed list of words), followed by ", " and the
preparation where it has one (preparation code 99, "NAO SE APLICA", has none): "Milho (em
grão), assado". The preparation's "(A)" becomes the ending that agrees with the food
(feminine when the food's first word ends in "a" or is one of a few feminine nouns), and
the preparations that are a dish are written as one says them ("ao molho vermelho", "em
sopa", "à milanesa").

Shortening (the stored name holds 60 characters): while the name is longer, the food's
description loses its last word (a parenthesis being cut is closed with ")", a trailing
comma or conjunction is dropped), the preparation is never cut. The tests check that the
1,971 names are unique and within 60 characters (Windows-1252).

The IBGE food and preparation codes are kept in this file ("codigo_alimento",
"codigo_preparacao"), with IBGE's own descriptions.
"""

import csv
import re
import sys
from pathlib import Path

LIMIT = 60

# Words whose accents IBGE's upper-case text leaves out (lower case, as written).
ACCENTS = {
    "acai": "açaí", "acucar": "açúcar", "acucares": "açúcares", "adocante": "adoçante",
    "agua": "água", "alcool": "álcool", "almondega": "almôndega", "almondegas": "almôndegas",
    "abobora": "abóbora", "acem": "acém", "aracá": "araçá", "araca": "araçá",
    "amendoa": "amêndoa", "amendoas": "amêndoas", "ameixa": "ameixa",
    "baiana": "baiana", "bebe": "bebê", "brocolis": "brócolis", "cafe": "café",
    "camarao": "camarão", "cabeca": "cabeça", "cara": "cará", "cha": "chá",
    "chimarrao": "chimarrão", "coracao": "coração", "cupuacu": "cupuaçu", "file": "filé",
    "feijao": "feijão", "figado": "fígado", "fuba": "fubá", "grao": "grão", "graos": "grãos",
    "guarana": "guaraná", "hamburguer": "hambúrguer", "jacare": "jacaré", "lactea": "láctea",
    "lacteo": "lácteo", "limao": "limão", "lingua": "língua", "linguica": "linguiça",
    "maca": "maçã", "macarrao": "macarrão", "maracuja": "maracujá", "miudo": "miúdo",
    "miudos": "miúdos", "moido": "moído", "moida": "moída", "mocoto": "mocotó",
    "nao": "não", "oleo": "óleo", "oleos": "óleos", "organico": "orgânico",
    "organica": "orgânica", "organicos": "orgânicos", "pacoca": "paçoca", "pao": "pão",
    "paes": "pães", "pe": "pé", "pessego": "pêssego", "pirao": "pirão", "po": "pó",
    "proteina": "proteína", "pure": "purê", "requeijao": "requeijão", "soluvel": "solúvel",
    "suina": "suína", "suino": "suíno", "sanduiche": "sanduíche", "tonica": "tônica",
    "lazanha": "lasanha", "acucarado": "açucarado", "acucarada": "açucarada",
    "calcio": "cálcio", "chocolate": "chocolate", "pudim": "pudim", "mamao": "mamão",
    "melao": "melão", "salmao": "salmão", "pimentao": "pimentão", "jilo": "jiló",
    "maracuja.": "maracujá", "umbu": "umbu", "tamara": "tâmara", "feijoes": "feijões",
    "rapido": "rápido", "tipica": "típica", "tipico": "típico", "mingau": "mingau",
    "cuscuz": "cuscuz", "angu": "angu", "cereais": "cereais", "vegetal": "vegetal",
    "achocolatado": "achocolatado", "especificado": "especificado", "sirí": "siri",
    "industrializado": "industrializado", "industrializada": "industrializada",
    "atum": "atum", "bacalhau": "bacalhau", "tainha": "tainha", "sardinha": "sardinha",
    "caqui": "caqui", "pupunha": "pupunha", "jabuticaba": "jabuticaba",
    "pequi": "pequi", "tucuma": "tucumã", "buriti": "buriti", "bacuri": "bacuri",
    "cajá": "cajá", "caja": "cajá", "graviola": "graviola", "jenipapo": "jenipapo",
    "macaxeira": "macaxeira", "mandioquinha": "mandioquinha", "agriao": "agrião",
    "alho-poro": "alho-poró", "poro": "poró", "quiabo": "quiabo", "chuchu": "chuchu",
    "pepino": "pepino", "repolho": "repolho", "beterraba": "beterraba",
    "rucula": "rúcula", "espinafre": "espinafre", "abobrinha": "abobrinha",
    "mostarda": "mostarda", "serralha": "serralha", "taioba": "taioba",
    "jambu": "jambu", "vinagreira": "vinagreira", "cogumelo": "cogumelo",
    "caldo": "caldo", "cocada": "cocada", "pacoquinha": "paçoquinha", "pe-de-moleque": "pé-de-moleque",
    "sorvete": "sorvete", "picole": "picolé", "refrigerante": "refrigerante",
    "tapioca": "tapioca", "beiju": "beiju", "pamonha": "pamonha", "canjica": "canjica",
    "curau": "curau", "acaraje": "acarajé", "vatapa": "vatapá", "caruru": "caruru",
    "bobo": "bobó", "tacaca": "tacacá", "manicoba": "maniçoba", "pato": "pato",
    "galinha": "galinha", "frango": "frango", "peru": "peru", "codorna": "codorna",
    "lombo": "lombo", "pernil": "pernil", "toucinho": "toucinho", "bisteca": "bisteca",
    "acougue": "açougue", "musculo": "músculo", "figo": "figo", "cha-mate": "chá-mate",
    "agucar": "açúcar", "torrao": "torrão", "leite": "leite", "queijo": "queijo",
    "mussarela": "muçarela", "ricota": "ricota", "iogurte": "iogurte",
    "coalhada": "coalhada", "manteiga": "manteiga", "margarina": "margarina",
    "maionese": "maionese", "catchup": "catchup", "ketchup": "ketchup",
    "aperitivo": "aperitivo", "licor": "licor", "cachaca": "cachaça", "uisque": "uísque",
    "vodca": "vodca", "conhaque": "conhaque", "champanhe": "champanhe", "vinho": "vinho",
    "cerveja": "cerveja", "energetico": "energético", "isotonico": "isotônico",
    "lactose": "lactose", "acido": "ácido", "acidos": "ácidos", "sodio": "sódio",
    "genero": "gênero", "calorico": "calórico", "calorica": "calórica", "dietetico": "dietético",
    "dietetica": "dietética", "especial": "especial", "caseiro": "caseiro",
    "caseira": "caseira", "salgado": "salgado", "empanado": "empanado", "tipo": "tipo",
    "maca-verde": "maçã-verde", "doce": "doce", "creme": "creme", "geleia": "geleia",
    "mel": "mel", "melado": "melado", "rapadura": "rapadura", "granola": "granola",
    "aveia": "aveia", "farinha": "farinha", "farofa": "farofa", "fecula": "fécula",
    "polvilho": "polvilho", "amido": "amido", "trigo": "trigo", "centeio": "centeio",
    "milho": "milho", "arroz": "arroz", "quinoa": "quinoa", "lentilha": "lentilha",
    "grao-de-bico": "grão-de-bico", "ervilha": "ervilha", "soja": "soja",
    "amendoim": "amendoim", "castanha": "castanha", "nozes": "nozes", "avela": "avelã",
    "gergelim": "gergelim", "linhaca": "linhaça", "pistache": "pistache",
    "coco": "coco", "babacu": "babaçu", "cupuacú": "cupuaçu", "bacaba": "bacaba",
    "patauá": "patauá", "pataua": "patauá", "inaja": "inajá", "murici": "murici",
    "camu-camu": "camu-camu", "ingá": "ingá", "inga": "ingá", "sapoti": "sapoti",
    "maca-peruana": "maca-peruana", "lichia": "lichia", "kiwi": "kiwi",
    "pessegos": "pêssegos", "maracujás": "maracujás", "acerola": "acerola",
    "ate": "até", "tambem": "também", "porcao": "porção", "preparacao": "preparação",
    "acompanhamento": "acompanhamento", "ja": "já", "so": "só", "sem": "sem",
    "lingueca": "linguiça", "salsicha": "salsicha", "mortadela": "mortadela",
    "salame": "salame", "presunto": "presunto", "apresuntado": "apresuntado",
    "peito": "peito", "sobrecoxa": "sobrecoxa", "coxa": "coxa", "asa": "asa",
    "moela": "moela", "bucho": "bucho", "dobradinha": "dobradinha", "rim": "rim",
    "costela": "costela", "acem.": "acém", "contrafile": "contrafilé", "patinho": "patinho",
    "alcatra": "alcatra", "maminha": "maminha", "picanha": "picanha", "cupim": "cupim",
    "fraldinha": "fraldinha", "lagarto": "lagarto", "musculo.": "músculo",
    "carne-seca": "carne-seca", "charque": "charque", "jerked": "jerked",
    "camaroes": "camarões", "mexilhao": "mexilhão", "caranguejo": "caranguejo",
    "lagosta": "lagosta", "lula": "lula", "polvo": "polvo", "ostra": "ostra",
    "marisco": "marisco", "peixe": "peixe", "peixes": "peixes", "file.": "filé",
    "tilapia": "tilápia", "pescada": "pescada", "merluza": "merluza", "cacao": "cação",
    "pirarucu": "pirarucu", "tambaqui": "tambaqui", "tucunare": "tucunaré",
    "piau": "piau", "surubim": "surubim", "pintado": "pintado", "curimata": "curimatã",
    "curimatã": "curimatã", "traira": "traíra", "jaraqui": "jaraqui", "pacu": "pacu",
    "matrinxa": "matrinxã", "acara": "acará", "mandi": "mandi", "bagre": "bagre",
    "corvina": "corvina", "robalo": "robalo", "badejo": "badejo", "garoupa": "garoupa",
    "namorado": "namorado", "linguado": "linguado", "dourado": "dourado",
    "salmão": "salmão", "truta": "truta", "anchova": "anchova", "manjuba": "manjuba",
    "pizza": "pizza", "lanche": "lanche", "salgadinho": "salgadinho",
    "cafezinho": "cafezinho", "capuccino": "cappuccino", "cappuccino": "cappuccino",
    "bolacha": "bolacha", "biscoito": "biscoito", "rosquinha": "rosquinha",
    "torrada": "torrada", "bolo": "bolo", "torta": "torta", "tortas": "tortas",
    "empada": "empada", "empadao": "empadão", "pastel": "pastel", "coxinha": "coxinha",
    "quibe": "quibe", "esfirra": "esfirra", "risole": "risole", "enroladinho": "enroladinho",
    "pao-de-queijo": "pão-de-queijo", "brigadeiro": "brigadeiro", "quindim": "quindim",
    "manjar": "manjar", "mousse": "mousse", "pave": "pavê", "sonho": "sonho",
    "bomba": "bomba", "churro": "churro", "chiclete": "chiclete", "bala": "bala",
    "bombom": "bombom", "pirulito": "pirulito", "gelatina": "gelatina",
    "acucar-mascavo": "açúcar-mascavo", "mascavo": "mascavo", "cristal": "cristal",
    "refinado": "refinado", "sacarose": "sacarose", "frutose": "frutose",
    "glicose": "glicose", "xarope": "xarope", "vitamina": "vitamina",
    "refresco": "refresco", "suco": "suco", "nectar": "néctar", "polpa": "polpa",
    "laranja": "laranja", "limonada": "limonada", "agua-de-coco": "água-de-coco",
    "caldo-de-cana": "caldo-de-cana", "garapa": "garapa", "cana": "cana",
    "gemada": "gemada", "ovo": "ovo", "ovos": "ovos", "clara": "clara", "gema": "gema",
    "omelete": "omelete", "fritada": "fritada", "suflê": "suflê", "sufle": "suflê",
    "escondidinho": "escondidinho", "strogonoff": "strogonoff", "estrogonofe": "estrogonofe",
    "feijoada": "feijoada", "baiao": "baião", "tutu": "tutu", "virado": "virado",
    "galinhada": "galinhada", "risoto": "risoto", "paella": "paella",
    "lasanha": "lasanha", "nhoque": "nhoque", "ravioli": "ravióli", "capeleti": "capeleti",
    "talharim": "talharim", "espaguete": "espaguete", "miojo": "miojo",
    "instantaneo": "instantâneo", "instantanea": "instantânea", "conserva": "conserva",
    "enlatado": "enlatado", "congelado": "congelado", "congelada": "congelada",
    "desidratado": "desidratado", "desidratada": "desidratada", "liofilizado": "liofilizado",
    "po.": "pó", "composto": "composto", "lacteos": "lácteos", "semidesnatado": "semidesnatado",
    "desnatado": "desnatado", "integral": "integral", "fermentado": "fermentado",
    "condensado": "condensado", "evaporado": "evaporado", "bufala": "búfala",
    "cabra": "cabra", "ovelha": "ovelha", "vaca": "vaca", "humano": "humano",
    "materno": "materno", "infantil": "infantil", "formula": "fórmula",
    "prato": "prato", "minas": "minas", "parmesao": "parmesão", "provolone": "provolone",
    "cheddar": "cheddar", "catupiry": "catupiry", "requeijão": "requeijão",
    "petit": "petit", "suisse": "suisse", "danone": "danone", "danoninho": "danoninho",
    "crocante": "crocante", "gordura": "gordura", "hidrogenada": "hidrogenada",
    "vegetal.": "vegetal", "azeite": "azeite", "oliva": "oliva", "dende": "dendê",
    "banha": "banha", "bacon": "bacon", "torresmo": "torresmo", "pururuca": "pururuca",
    "cebola": "cebola", "alho": "alho", "salsa": "salsa", "cebolinha": "cebolinha",
    "coentro": "coentro", "oregano": "orégano", "manjericao": "manjericão",
    "hortela": "hortelã", "louro": "louro", "cominho": "cominho", "colorau": "colorau",
    "urucum": "urucum", "acafrao": "açafrão", "curry": "curry", "pimenta": "pimenta",
    "pimenta-do-reino": "pimenta-do-reino", "canela": "canela", "cravo": "cravo",
    "noz-moscada": "noz-moscada", "gengibre": "gengibre", "erva-doce": "erva-doce",
    "camomila": "camomila", "cidreira": "cidreira", "boldo": "boldo",
    "hibisco": "hibisco", "mate": "mate", "verde": "verde", "preto": "preto",
    "bebida": "bebida", "bebidas": "bebidas", "alcoolica": "alcoólica", "alcoolicas": "alcoólicas",
    "nao-alcoolica": "não alcoólica", "batida": "batida", "caipirinha": "caipirinha",
    "quentao": "quentão", "aguardente": "aguardente", "tonico": "tônico",
    "caracu": "caracu", "malzbier": "malzbier", "chopp": "chope", "chope": "chope",
    "guaranazinho": "guaranazinho", "mate.": "mate", "cacau": "cacau",
    "achocolatada": "achocolatada", "capim": "capim", "santo": "santo",
    "comida": "comida", "baby": "baby", "papinha": "papinha", "sopa": "sopa",
    "sopas": "sopas", "pure.": "purê", "legume": "legume", "legumes": "legumes",
    "verdura": "verdura", "verduras": "verduras", "hortalica": "hortaliça",
    "hortalicas": "hortaliças", "fruta": "fruta", "frutas": "frutas",
    "frutos": "frutos", "salada": "salada", "tempero": "tempero", "temperos": "temperos",
    "molho": "molho", "shoyu": "shoyu", "vinagre": "vinagre", "mostarda.": "mostarda",
    "ketchup.": "ketchup", "barbecue": "barbecue", "pesto": "pesto", "sugo": "sugo",
    "bechamel": "bechamel", "branco": "branco", "vermelho": "vermelho",
    "cascao": "cascão", "casca": "casca", "cascas": "cascas", "semente": "semente",
    "sementes": "sementes", "raiz": "raiz", "raizes": "raízes", "folha": "folha",
    "folhas": "folhas", "broto": "broto", "brotos": "brotos", "talo": "talo",
    "talos": "talos", "flor": "flor", "flores": "flores", "fibra": "fibra",
    "fibras": "fibras", "farelo": "farelo", "germen": "gérmen", "gluten": "glúten",
    "lacteas": "lácteas", "acucaradas": "açucaradas", "acucarados": "açucarados",
    "umidade": "umidade", "media": "média", "medio": "médio", "unica": "única",
    "unico": "único", "varios": "vários", "varias": "várias", "tres": "três",
    "familia": "família", "portugues": "português", "portuguesa": "portuguesa",
    "frances": "francês", "francesa": "francesa", "ingles": "inglês", "inglesa": "inglesa",
    "alema": "alemã", "alemao": "alemão", "japones": "japonês", "japonesa": "japonesa",
    "chines": "chinês", "chinesa": "chinesa", "arabe": "árabe", "sirio": "sírio",
    "libanes": "libanês", "mexicano": "mexicano", "italiano": "italiano",
    "italiana": "italiana", "baiano": "baiano", "mineiro": "mineiro", "mineira": "mineira",
    "paulista": "paulista", "gaucho": "gaúcho", "nordestino": "nordestino",
    "sertao": "sertão", "sertanejo": "sertanejo", "caipira": "caipira",
    "tropeiro": "tropeiro", "carreteiro": "carreteiro", "mandioca": "mandioca",
    "aipim": "aipim", "inhame": "inhame", "batata": "batata", "baroa": "baroa",
    "batata-doce": "batata-doce", "cara.": "cará", "taro": "taro", "yacon": "yacon",
    "cenoura": "cenoura", "nabo": "nabo", "rabanete": "rabanete",
    "alcachofra": "alcachofra", "aspargo": "aspargo", "palmito": "palmito",
    "berinjela": "berinjela", "jilo.": "jiló", "maxixe": "maxixe", "vagem": "vagem",
    "couve": "couve", "couve-flor": "couve-flor", "alface": "alface", "acelga": "acelga",
    "chicoria": "chicória", "almeirao": "almeirão", "escarola": "escarola",
    "agriao.": "agrião", "bertalha": "bertalha", "ora-pro-nobis": "ora-pro-nóbis",
    "tomate": "tomate", "pepininho": "pepininho", "pimentão.": "pimentão",
    "cuxa": "cuxá", "vinagrete": "vinagrete", "milanesa": "milanesa",
    "mamao.": "mamão", "banana": "banana", "abacate": "abacate", "abacaxi": "abacaxi",
    "ananas": "ananás", "abiu": "abiu", "ameixas": "ameixas", "amora": "amora",
    "araticum": "araticum", "atemoia": "atemoia", "carambola": "carambola",
    "cereja": "cereja", "damasco": "damasco", "fruta-do-conde": "fruta-do-conde",
    "fruta-pao": "fruta-pão", "goiaba": "goiaba", "jaca": "jaca", "jambo": "jambo",
    "jatoba": "jatobá", "lima": "lima", "mangaba": "mangaba", "manga": "manga",
    "mangostao": "mangostão", "marmelo": "marmelo", "melancia": "melancia",
    "mexerica": "mexerica", "morango": "morango", "nespera": "nêspera", "pera": "pera",
    "pinha": "pinha", "pitanga": "pitanga", "pitaia": "pitaia", "roma": "romã",
    "seriguela": "seriguela", "siriguela": "siriguela", "tamarindo": "tamarindo",
    "tangerina": "tangerina", "uva": "uva", "uvas": "uvas", "passa": "passa",
    "cristalizado": "cristalizado", "cristalizada": "cristalizada",
    "calda": "calda", "compota": "compota", "doce-de-leite": "doce-de-leite",
    "goiabada": "goiabada", "bananada": "bananada", "marmelada": "marmelada",
    "pessegada": "pessegada", "cajuada": "cajuada", "caju": "caju",
    "umbuzada": "umbuzada", "bolinho": "bolinho", "sequilho": "sequilho",
    "broa": "broa", "rosca": "rosca", "biscoitinho": "biscoitinho",
    "fuba.": "fubá", "polenta": "polenta", "angu.": "angu", "pirão": "pirão",
    "fubá": "fubá", "quirera": "quirera", "canjiquinha": "canjiquinha", "xerem": "xerém",
    "mungunza": "mungunzá", "cuscuz.": "cuscuz", "munguza": "munguzá",
    "baiao-de-dois": "baião-de-dois", "tropeiro.": "tropeiro", "paçoca": "paçoca",
    "pacoca.": "paçoca", "sarapatel": "sarapatel", "buchada": "buchada",
    "panelada": "panelada", "mao": "mão", "maos": "mãos", "vaca-atolada": "vaca-atolada",
    "rabada": "rabada", "ossobuco": "ossobuco", "medalhao": "medalhão",
    "lingua.": "língua", "figado.": "fígado", "coracao.": "coração", "miolo": "miolo",
    "mocoto.": "mocotó", "tripa": "tripa", "sangue": "sangue", "chouriço": "chouriço",
    "chourico": "chouriço", "morcela": "morcela", "paio": "paio", "calabresa": "calabresa",
    "toscana": "toscana", "linguica.": "linguiça", "hamburguer.": "hambúrguer",
    "nuggets": "nuggets", "steak": "steak", "kafta": "kafta", "quibe.": "quibe",
    "almondega.": "almôndega", "espetinho": "espetinho", "churrasco": "churrasco",
    "assado": "assado", "cozido": "cozido", "frito": "frito", "grelhado": "grelhado",
    "refogado": "refogado", "ensopado": "ensopado", "cru": "cru", "crua": "crua",
    "pe-de-moleque.": "pé-de-moleque", "maria-mole": "maria-mole", "suspiro": "suspiro",
    "cocada.": "cocada", "queijadinha": "queijadinha", "bem-casado": "bem-casado",
    "olho-de-sogra": "olho-de-sogra", "cajuzinho": "cajuzinho", "beijinho": "beijinho",
    "doces": "doces", "salgados": "salgados", "salgadinhos": "salgadinhos",
    "baleiro": "baleiro", "pipoca": "pipoca", "caramelo": "caramelo",
    "caramelizado": "caramelizado", "amanteigado": "amanteigado",
    "achocolatado.": "achocolatado", "bebe.": "bebê", "acucar.": "açúcar",
    "adocantes": "adoçantes", "proteico": "proteico", "proteica": "proteica",
    "hiperproteico": "hiperproteico", "suplemento": "suplemento", "tonica.": "tônica",
    "organicas": "orgânicas", "in": "in", "natura": "natura", "light": "light",
    "diet": "diet", "zero": "zero", "qualquer": "qualquer", "especificada": "especificada",
    "especificados": "especificados", "etc": "etc", "exceto": "exceto", "ou": "ou",
    "com": "com", "de": "de", "da": "da", "do": "do", "das": "das", "dos": "dos",
    "em": "em", "e": "e", "a": "a", "o": "o", "ao": "ao", "na": "na", "no": "no",
    "para": "para", "pra": "pra", "por": "por", "sabor": "sabor", "sabores": "sabores",
    "marca": "marca", "tradicional": "tradicional", "outros": "outros",
    "outras": "outras", "outro": "outro", "outra": "outra", "inteiro": "inteiro",
    "inteira": "inteira", "pedacos": "pedaços", "pedaco": "pedaço", "fatia": "fatia",
    "fatias": "fatias", "posta": "posta", "barra": "barra", "tablete": "tablete",
    "pasta": "pasta", "pastas": "pastas", "massa": "massa", "massas": "massas",
    "recheada": "recheada", "recheado": "recheado", "recheio": "recheio",
    "cobertura": "cobertura", "coberto": "coberto", "coberta": "coberta",
    "mistura": "mistura", "misto": "misto", "mista": "mista", "base": "base",
    "forma": "forma", "pronta": "pronta", "pronto": "pronto", "fresco": "fresco",
    "fresca": "fresca", "seco": "seco", "seca": "seca", "defumado": "defumado",
    "defumada": "defumada", "salgada": "salgada", "fervido": "fervido",
    "quente": "quente", "gelado": "gelado", "gelada": "gelada", "solido": "sólido",
    "liquido": "líquido", "liquida": "líquida", "cremoso": "cremoso", "cremosa": "cremosa",
    "mole": "mole", "duro": "duro", "dura": "dura", "branca": "branca",
    "amarelo": "amarelo", "amarela": "amarela", "roxo": "roxo", "roxa": "roxa",
    "rosa": "rosa", "escuro": "escuro", "escura": "escura", "claro": "claro",
    "transgenico": "transgênico", "hidrolisado": "hidrolisado", "isolado": "isolado",
    "texturizada": "texturizada", "texturizado": "texturizado", "tofu": "tofu",
    "missoshiru": "missoshiru", "sushi": "sushi", "sashimi": "sashimi",
    "yakisoba": "yakisoba", "rolinho": "rolinho", "primavera": "primavera",
    "chineque": "chineque", "cuca": "cuca", "strudel": "strudel", "apfelstrudel": "apfelstrudel",
    "agridoce": "agridoce", "oriental": "oriental", "arabe.": "árabe",
    "sirio-libanes": "sírio-libanês", "acaraje.": "acarajé", "abara": "abará",
    "cocadinha": "cocadinha", "pamonha.": "pamonha", "maniçoba": "maniçoba",
    "tacacá": "tacacá", "pato-no-tucupi": "pato-no-tucupi", "tucupi": "tucupi",
    "jambu.": "jambu", "cupuaçu": "cupuaçu", "açaí": "açaí",
    "aca": "aca", "fruta-de-conde": "fruta-de-conde", "conde": "conde",
    "quebra": "quebra", "queixo": "queixo", "filhos": "filhos", "segunda": "segunda",
    "primeira": "primeira", "terra": "terra", "sol": "sol", "boi": "boi",
    "bode": "bode", "cabrito": "cabrito", "carneiro": "carneiro", "caprino": "caprino",
    "ovino": "ovino", "bovino": "bovino", "bovina": "bovina", "porco": "porco",
    "leitao": "leitão", "javali": "javali", "coelho": "coelho", "capivara": "capivara",
    "paca": "paca", "tatu": "tatu", "jacare.": "jacaré", "tartaruga": "tartaruga",
    "ra": "rã", "avestruz": "avestruz", "aves": "aves", "ave": "ave",
    "cabeca.": "cabeça", "osso": "osso", "ossos": "ossos", "pele": "pele",
    "pes": "pés", "mocoto-de-boi": "mocotó-de-boi", "rabo": "rabo", "orelha": "orelha",
    "focinho": "focinho", "sua": "suã", "cupim.": "cupim", "drumete": "drumete",
    "fato": "fato", "kitute": "kitute", "blanquet": "blanquet", "brachola": "brachola",
    "manguito": "manguito", "seleta": "seleta", "jardineira": "jardineira",
    "waffer": "waffer", "shake": "shake", "ades": "ades", "danette": "danette",
    "coca": "coca", "cola": "cola", "fanta": "fanta", "maria": "maria",
    "bahia": "bahia", "erva": "erva", "alfajores": "alfajores", "champagne": "champanhe",
    "cheese": "cheese", "chips": "chips", "mini": "mini", "vinagreira.": "vinagreira",
}
# Proper names, written with a capital wherever they stand.
PROPER = {"minas": "Minas", "bahia": "Bahia", "coca": "Coca", "fanta": "Fanta",
          "danette": "Danette", "ades": "Ades", "maria": "Maria", "q": "Q",
          "catupiry": "Catupiry", "danone": "Danone", "danoninho": "Danoninho",
          "miojo": "Miojo", "malzbier": "Malzbier", "sprite": "Sprite",
          "nescau": "Nescau", "toddy": "Toddy", "yakult": "Yakult"}
# Feminine nouns that do not end in "a" (the first word of a food decides the ending).
FEMININE = {"carne", "couve", "alface", "vagem", "pele", "polpa", "noz", "nozes", "paçoca",
            "raiz", "flor", "mãe", "maçã", "romã", "mostarda", "sopa", "massa", "omelete",
            "lasanha", "fécula", "gema", "clara", "língua", "linguiça", "costela", "asa",
            "sobrecoxa", "coxa", "moela", "bisteca", "alcatra", "ricota", "muçarela",
            "pizza", "torta", "tortas", "empada", "coxinha", "esfirra", "pamonha",
            "canjica", "farofa", "farinha", "tapioca", "batata", "cebola", "abóbora",
            "ervilha", "lentilha", "soja", "castanha", "banana", "laranja", "goiaba",
            "manga", "uva", "pera", "amora", "cereja", "jaca", "lima", "melancia",
            "tangerina", "mexerica", "acerola", "água", "bebida", "cerveja", "cachaça",
            "vitamina", "salada", "dobradinha", "galinha", "codorna", "sardinha",
            "pescada", "merluza", "tilápia", "truta", "anchova", "lula", "ostra",
            "lagosta", "manteiga", "margarina", "maionese", "gelatina", "geleia",
            "bala", "bolacha", "rosquinha", "torrada", "rosca", "broa", "polenta",
            "mandioca", "mandioquinha", "macaxeira", "beterraba", "cenoura", "berinjela",
            "abobrinha", "acelga", "chicória", "escarola", "taioba", "salsicha",
            "mortadela", "linguiça", "calabresa", "pasta", "posta", "barra", "fatia",
            "paçoquinha", "cocada", "rapadura", "granola", "aveia", "pipoca", "bomba",
            "almôndega", "almôndegas", "sua", "suã", "picanha", "maminha", "fraldinha",
            "feijoada", "galinhada", "quiche", "sopa", "jardineira", "seleta", "panqueca",
            "carne-seca", "ave", "aves", "gordura", "banha", "cuca", "dobradinha",
            "lagarto"}
FEMININE -= {"lagarto"}
# The preparations: IBGE's text -> (masculine, feminine) as written after the food.
PREPARATIONS = {
    "NAO SE APLICA": None,
    "CRU(A)": ("cru", "crua"),
    "COZIDO(A)": ("cozido", "cozida"),
    "FRITO(A)": ("frito", "frita"),
    "ASSADO(A)": ("assado", "assada"),
    "REFOGADO(A)": ("refogado", "refogada"),
    "ENSOPADO": ("ensopado", "ensopada"),
    "GRELHADO(A)/BRASA/CHURRASCO": ("grelhado", "grelhada"),
    "MOLHO VERMELHO": ("ao molho vermelho",) * 2,
    "EMPANADO(A)/A MILANESA": ("empanado", "empanada"),
    "SOPA": ("em sopa",) * 2,
    "AO VINAGRETE": ("ao vinagrete",) * 2,
    "MOLHO BRANCO": ("ao molho branco",) * 2,
    "AO ALHO E OLEO": ("ao alho e óleo",) * 2,
    "COM MANTEIGA/OLEO": ("com manteiga ou óleo",) * 2,
    "MINGAU": ("em mingau",) * 2,
}
NUMBERS = [  # (column of IBGE's table, column written)
    (6, "energia_kcal"), (9, "carboidrato_g"), (7, "proteina_g"), (8, "lipideos_g"),
    (35, "gordura_saturada_g"), (34, "colesterol_mg"), (10, "fibra_alimentar_g"),
    (11, "calcio_mg"), (15, "ferro_mg"), (16, "sodio_mg"),
    (41, "acucares_totais_g"), (42, "acucares_adicionados_g"), (40, "gordura_trans_g"),
]
ZERO = "-"
NOT_AVAILABLE = {"", "...", ".."}


def word(w, first):
    low = w.lower()
    core = low.rstrip(".")
    text = PROPER.get(core) or ACCENTS.get(core, core)
    text += low[len(core):]
    if first and text[:1].islower():
        text = text[:1].upper() + text[1:]
    return text


def sentence(description):
    """IBGE's upper-case description in sentence case, its accents put back."""
    text = re.sub(r"\s+", " ", description).strip()
    text = text.replace("´", "'")
    text = re.sub(r"\s*,\s*", ", ", text)
    text = re.sub(r"\(\s*", "(", text)
    text = re.sub(r"\s*\)", ")", text)
    out = []
    for i, token in enumerate(re.split(r"([A-Za-zÀ-ÿ]+(?:-[A-Za-zÀ-ÿ]+)*)", text)):
        if re.match(r"[A-Za-zÀ-ÿ]", token):
            whole = token.lower()
            if whole in ACCENTS or whole in PROPER:
                out.append(word(token, not out or not "".join(out).strip()))
            else:
                parts = token.split("-")
                out.append("-".join(word(p, not "".join(out).strip() and j == 0)
                                    for j, p in enumerate(parts)))
        else:
            out.append(token)
    return "".join(out)


def feminine(food):
    first = re.split(r"[ ,(]", food, maxsplit=1)[0].lower()
    return first in FEMININE or (first.endswith("a") and first not in {"dia"}) or \
        first.endswith("as")


def shorten(food, suffix):
    """Drops the food's last words until the name fits LIMIT (the preparation stays)."""
    name = food + suffix
    words = food.split(" ")
    while len(name.encode("cp1252")) > LIMIT and len(words) > 1:
        words.pop()
        text = " ".join(words).rstrip(",")
        while text.split(" ")[-1].lower() in {"e", "ou", "de", "da", "do", "com", "em", "sem"}:
            text = " ".join(text.split(" ")[:-1]).rstrip(",")
        if text.count("(") > text.count(")"):
            text = text.rstrip(", ") + ")"
        name = text + suffix
    return name


def amount(cell):
    cell = cell.strip()
    if cell in NOT_AVAILABLE:
        return ""
    if cell == ZERO:
        return "0"
    value = cell.replace(".", "").replace(",", ".")
    float(value)  # refuses anything that is not a number
    return value


def main():
    repo = Path(__file__).resolve().parent.parent
    source = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        repo.parent / "shared" / "data" / "ibge-composicao" / \
        "tabela_composicao_pof_2008_2009.csv"
    with open(source, newline="", encoding="utf-8-sig") as f:
        rows = list(csv.reader(f, delimiter=";"))
    data = [r for r in rows[4:] if r and r[0].strip().isdigit()]
    out_rows = []
    names = {}
    for r in data:
        food = sentence(r[1])
        prep = PREPARATIONS[r[3].strip()]
        suffix = "" if prep is None else ", " + prep[1 if feminine(food) else 0]
        name = shorten(food, suffix)
        key = name.lower()
        if key in names:
            sys.exit(f"nome repetido: {name} ({names[key]} e {r[0]}/{r[2]})")
        names[key] = f"{r[0]}/{r[2]}"
        if len(name.encode("cp1252")) > LIMIT:
            sys.exit(f"nome longo demais: {name}")
        out_rows.append([r[0].strip(), r[2].strip(), name, re.sub(r"\s+", " ", r[1]).strip(),
                         r[3].strip()] + [amount(r[c]) for c, _ in NUMBERS])
    out = repo / "data" / "ibge" / "pof2008_composicao.csv"
    with open(out, "w", newline="", encoding="utf-8") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["codigo_alimento", "codigo_preparacao", "nome", "descricao_ibge",
                    "preparacao_ibge"] + [n for _, n in NUMBERS])
        w.writerows(out_rows)
    print(f"{len(out_rows)} alimentos x preparações -> {out}")


if __name__ == "__main__":
    main()
