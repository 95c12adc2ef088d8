#!/usr/bin/env python3
"""Household measures delivered with the TACO table.

Reads the candidate household measures of the 597 TACO foods, with their audit columns
(taco_medidas_candidatas_detalhe.csv, built from IBGE's "Tabela de Medidas Referidas para os
Alimentos Consumidos no Brasil", POF 2008-2009), keeps the measures that the shipping rule
below accepts and writes data/taco/medidas.csv, which the program installs with the table.

    python3 scripts/taco_medidas.py [FOLDER]

FOLDER holds the candidate file (default: ../shared/data/ibge-medidas beside the
repository). Only the Python standard library is used; the build and the tests do not run
this step, they read its output.

Shipping rule
-------------
* Every "exact" row ships.
* A "probable" row ships only when its audit line shows that the weight was measured for the
  same food with the same utensil; all of:
  1. the TACO food was matched to the POF food by its name (rule "nome"): not to a generic
     food (PEIXE DE MAR for a fish species, CARNE BOVINA for a cut) nor by part of its name
     (ABACAXI for "Abacaxi, polpa, congelada");
  2. the POF row's state (raw, cooked, fried...) is known and is the TACO food's: read
     from the row's preparation code or source text, or from the POF food's other rows;
     rows of no known state ("natural") or of an ambiguous one are left out, and so is a
     row with a state that the TACO name does not give;
  3. the food of the source text (before " - ") is the TACO food: each of its words is a word
     of the TACO name ("Angu" is not "Milho, fubá, cru"; "Pastel de carne" is not "Pastel,
     de queijo, frito");
  4. the utensil of the source text (after " - ") is the measure itself, not a fraction, a
     multiple or another utensil ("Arroz - prato fundo raso" does not weigh a Caneca; "2
     colheres de sopa cheias" does not weigh a Colher de servir).
* "none" rows carry no measure.
* Within a food the measure names are unique ignoring case: two rows of one name with the same
  weight are one measure; a name with two different weights is left out altogether (it
  cannot be told which one the nutritionist means).

Nothing is invented: names and weights are the candidate file's. The food name written is
the one the program stores for the TACO food (spaces cleaned, the footnote marks and the two
names over 60 characters replaced as the table's installation does); the tests check every
name against the installed table.
"""

import csv
import hashlib
import os
import sys
import unicodedata
from collections import Counter, OrderedDict

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CANDIDATES = "taco_medidas_candidatas_detalhe.csv"
TACO_CSV = os.path.join(REPO, "data", "taco", "taco4_nutrientes_rotulo.csv")
OUTPUT = os.path.join(REPO, "data", "taco", "medidas.csv")

# The names the installation of the TACO table stores in place of the file's (after its
# spaces are cleaned): the same list as TacoSetup() in src/ingredients/SuppliedTables.cpp.
RENAMED_FOODS = {
    "Cana, aguardente 1": "Cana, aguardente",
    "Cerveja, pilsen 2": "Cerveja, pilsen",
    "Margarina, com óleo interesterificado, com sal (65%de lipídeos)":
        "Margarina, óleo interesterificado, com sal (65% de lipídeos)",
    "Margarina, com óleo interesterificado, sem sal (65% de lipídeos)":
        "Margarina, óleo interesterificado, sem sal (65% de lipídeos)",
}

STOP_WORDS = {"de", "da", "do", "das", "dos", "com", "sem", "e", "em", "a", "o", "ao", "na",
              "no", "para", "tipo"}
# Word forms folded together on both sides: gender and number of the state words, and
# the synonyms of the matching (galinha is frango, a bovine or pork item is one word).
FOLDED = {
    "crua": "cru", "crus": "cru", "cruas": "cru",
    "cozida": "cozido", "cozidos": "cozido", "cozidas": "cozido",
    "frita": "frito", "fritos": "frito", "fritas": "frito",
    "assada": "assado", "assados": "assado", "assadas": "assado",
    "grelhada": "grelhado", "grelhados": "grelhado", "grelhadas": "grelhado",
    "refogada": "refogado", "refogados": "refogado", "refogadas": "refogado",
    "torrada": "torrado", "torrados": "torrado", "torradas": "torrado",
    "ensopada": "ensopado",
    "galinha": "frango", "bovina": "bovino", "boi": "bovino", "suina": "suino",
    "porco": "suino",
}


def words(text):
    """Lower case, accents folded, punctuation dropped, stop words out, forms folded."""
    text = unicodedata.normalize("NFKD", text.lower())
    text = "".join(c for c in text if not unicodedata.combining(c))
    text = "".join(c if c.isalnum() or c == "/" else " " for c in text)
    out = []
    for w in text.split():
        if w in STOP_WORDS:
            continue
        w = FOLDED.get(w, w)
        if len(w) > 3 and w.endswith("s"):  # plural
            w = w[:-1]
        out.append(FOLDED.get(w, w))
    return out


def utensils(pof_measure):
    """The word lists that name a POF measure: "COLHER DE ARROZ/SERVIR" is both "colher
    arroz" and "colher servir"; a volume or "(N. E.)" in parentheses is not part of it."""
    name = pof_measure.split("(")[0].strip()
    parts = name.split("/")
    head = words(parts[0])
    names = [head]
    for alternative in parts[1:]:
        names.append(head[:-1] + words(alternative))
    return names


def split_source(source):
    """("food", "utensil") of a source text "Food - utensil", or None without " - "."""
    for sep in (" - ", " -", "- "):
        if sep in source:
            food, utensil = source.split(sep, 1)
            return food, utensil
    return None


def probable_reason(row):
    """Why a probable row is left out, or None when it ships."""
    if row["regra"] != "nome":
        return "outro alimento (genérico ou nome parcial)"
    taco_state, pof_state = row["estado_taco"], row["estado_pof"]
    if row["estado_origem"] not in ("prep", "fonte", "inherited") or taco_state != pof_state:
        return "estado não comprovado"
    parts = split_source(row["descricao_fonte"])
    if parts is None:
        return "fonte sem alimento e utensílio"
    food, utensil = parts
    taco_words = set(words(row["taco_descricao"]))
    if not words(food) or not set(words(food)) <= taco_words:
        return "peso de outro alimento"
    measured = words(utensil)
    if not any(measured[: len(u)] == u for u in utensils(row["descricao_medida"])):
        return "peso de outro utensílio ou fração"
    return None


def stored_names():
    names = {}
    with open(TACO_CSV, encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f):
            name = " ".join(row["descricao"].split())
            names[row["id"]] = RENAMED_FOODS.get(name, name)
    return names


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(REPO), "shared", "data", "ibge-medidas")
    path = os.path.join(folder, CANDIDATES)
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f))
    names = stored_names()

    left_out = Counter()
    accepted = OrderedDict()  # (taco id, name in lower case) -> rows of that measure
    for row in rows:
        confidence = row["confianca"]
        if confidence == "none":
            continue
        if confidence == "probable":
            reason = probable_reason(row)
            if reason:
                left_out["provável: " + reason] += 1
                continue
        elif confidence != "exact":
            raise SystemExit("confiança desconhecida: " + confidence)
        accepted.setdefault((row["taco_id"], row["medida"].lower()), []).append(row)

    out = []
    for (taco_id, _), same in accepted.items():
        weights = {float(r["gramas"]) for r in same}
        if len(weights) > 1:
            left_out["mesmo nome com pesos diferentes"] += len(same)
            continue
        left_out["repetida (mesmo nome e peso)"] += len(same) - 1
        row = same[0]
        out.append((int(taco_id), names[taco_id], row["medida"], row["gramas"]))
    out.sort(key=lambda r: r[0])

    with open(OUTPUT, "w", encoding="utf-8", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["taco_id", "alimento", "medida", "gramas"])
        for r in out:
            w.writerow(r)

    foods = len({r[0] for r in out})
    print(f"entrada: {path} (sha256 {digest})")
    print(f"alimentos com medidas: {foods}; medidas: {len(out)}")
    for reason, count in left_out.most_common():
        print(f"  fora: {count:5d}  {reason}")


if __name__ == "__main__":
    main()
