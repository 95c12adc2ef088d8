#!/usr/bin/env python3
"""Trans fat of the TACO foods, delivered with the TACO table.

Reads TACO's fatty-acid table (taco4_acidos_graxos.csv, made from NEPA's spreadsheet
Taco_4a_edicao_2011.xls, sheet "AGtaco3") and writes data/taco/gordura_trans.csv, which
the program installs into the TACO table as the trans fat of each food.

    python3 scripts/taco_gordura_trans.py [CSV]

CSV is the fatty-acid table (default: ../shared/data/taco/derived/taco4_acidos_graxos.csv
beside the repository). Only the Python standard library is used; the build and the tests
do not run this step, they read its output.

Rule
----
gordura trans (g/100 g) = 18:1t + 18:2t, the two trans fatty acids TACO gives, summed
exactly as printed (decimal arithmetic, no rounding). "Tr" (trace) counts as 0. A food
whose two cells are both "NA" or empty gets no value (not known, never 0); so does a food
that is not in the fatty-acid table at all (it is left out of the file). The sugars have
no column in TACO: the file carries none.

The food is identified by its TACO id; its name is taken from the delivered composition
table (data/taco/taco4_nutrientes_rotulo.csv), since the fatty-acid sheet spells two
names differently ("Palmito, Juçara, ...", "Lambari, fresco,cru"). The name written is
the one the program stores for the TACO food (inner runs of
white space made one space, ends trimmed, the footnote marks and the two names over 60
characters replaced as the table's installation does); the tests check every name
against the installed table.
"""

import csv
import re
import sys
from decimal import Decimal
from pathlib import Path

RENAMED = {
    "Cana, aguardente 1": "Cana, aguardente",
    "Cerveja, pilsen 2": "Cerveja, pilsen",
    "Margarina, com óleo interesterificado, com sal (65%de lipídeos)":
        "Margarina, óleo interesterificado, com sal (65% de lipídeos)",
    "Margarina, com óleo interesterificado, sem sal (65% de lipídeos)":
        "Margarina, óleo interesterificado, sem sal (65% de lipídeos)",
}
NO_VALUE = {"", "NA", "*"}


def stored_name(description):
    name = re.sub(r"\s+", " ", description).strip()
    return RENAMED.get(name, name)


def amount(cell):
    cell = cell.strip()
    if cell in NO_VALUE:
        return None
    if cell == "Tr":
        return Decimal(0)
    return Decimal(cell)


def main():
    repo = Path(__file__).resolve().parent.parent
    source = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        repo.parent / "shared" / "data" / "taco" / "derived" / "taco4_acidos_graxos.csv"
    with open(repo / "data" / "taco" / "taco4_nutrientes_rotulo.csv", newline="",
              encoding="utf-8") as f:
        names = {row["id"]: row["descricao"] for row in csv.DictReader(f)}
    rows = []
    with open(source, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            parts = [amount(row["ag_18_1t_g"]), amount(row["ag_18_2t_g"])]
            known = [p for p in parts if p is not None]
            if not known:
                continue
            total = sum(known, Decimal(0))
            rows.append((row["id"], stored_name(names[row["id"]]), format(total, "f")))
    out = repo / "data" / "taco" / "gordura_trans.csv"
    with open(out, "w", newline="", encoding="utf-8") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["taco_id", "alimento", "gordura_trans_g"])
        w.writerows(rows)
    print(f"{len(rows)} alimentos com gordura trans -> {out}")


if __name__ == "__main__":
    main()
