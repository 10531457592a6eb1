#!/usr/bin/env python3
"""Writes examples/line-section-history.csv: a line section of 30 girders
inspected in three campaigns (2012, 2018, 2024), and its template.

Each girder has one of four spans of the line, a chord angle from L 63×5 to
L 90×7 and diagonals from L 50×5 to L 63×5, an installation year, and a
thinning rate of its own for each member kind (0,02 … 0,15 mm a year). The
thickness measured at a campaign is the nominal one less the rate times the
years since installation, with a measuring scatter of ±0,1 mm, never more
than at the campaign before. Most girders hold for decades; a few are to be
replaced within some years, and one (34-35) has reached its chord's limit.
The random numbers are seeded: the file is the same on every run.

    python3 tools/line-section-history.py [EXAMPLES_DIR]
"""
import random
import sys
from pathlib import Path

# The spans of the line: the form's inputs but the sections.
SPANS = [
    {"txtLp": "24", "txtl": "60", "txtG": "0,35", "txtGg": "0,65", "txtMn": "2,35", "txtMp": "4,1",
     "txtMv": "6,875", "txtLpp": "1,6", "txtH": "1,25", "txtB": "0,9"},
    {"txtLp": "26", "txtl": "65", "txtG": "0,38", "txtGg": "0,7", "txtMn": "2,6", "txtMp": "4,6",
     "txtMv": "7,5", "txtLpp": "1,8", "txtH": "1,3", "txtB": "0,9"},
    {"txtLp": "20", "txtl": "50", "txtG": "0,3", "txtGg": "0,55", "txtMn": "1,9", "txtMp": "3,5",
     "txtMv": "5,8", "txtLpp": "1,4", "txtH": "1,2", "txtB": "0,8"},
    {"txtLp": "24", "txtl": "60", "txtG": "0,35", "txtGg": "0,65", "txtMn": "2,2", "txtMp": "4,0",
     "txtMv": "6,5", "txtLpp": "1,6", "txtH": "1,25", "txtB": "0,9"},
]
WIRES = {"txtl1": "3", "txtl2": "8", "txtl3": "16", "txtl4": "21", "txtgp1": "1,45", "txtgp2": "2,1",
         "txtgp3": "1,45", "txtgp4": "1,2", "txtgpp1": "2,9", "txtgpp2": "4,2", "txtgpp3": "2,9", "txtgpp4": "2,4"}
CHORDS = [("L 63×5", 50), ("L 70×6", 60), ("L 75×6", 60), ("L 80×6", 60), ("L 90×7", 70)]
DIAGONALS = [("L 50×5", 50), ("L 56×5", 50), ("L 63×5", 50)]
CAMPAIGNS = ["2012-06-14", "18.06.2018", "2024-06-20"]  # both forms of a date, as engineers write them
INSPECTORS = ["Иванов", "Петров", "Сидорова"]

HEADER = (["Участок", "Опора", "Км", "Дата осмотра", "Год установки", "Уголок пояса", "t пояса, мм",
           "Уголок раскосов", "t раскосов, мм"] + list(SPANS[0]) + list(WIRES) + ["Проверил", "Примечание"])


def mm(tenths):
    return f"{tenths // 10},{tenths % 10}"


def girders(rng):
    for n in range(30):
        support = f"{12 + 2 * n}-{13 + 2 * n}"
        km = 104.2 + 0.3 * n
        span = SPANS[rng.randrange(len(SPANS))]
        chord, chord_t = CHORDS[rng.randrange(len(CHORDS))]
        diagonal, diagonal_t = DIAGONALS[rng.randrange(len(DIAGONALS))]
        installed = rng.randint(1978, 2002)
        chord_rate = rng.uniform(0.02, 0.05)
        diagonal_rate = rng.uniform(0.02, 0.04)
        if n in (4, 17, 26):  # corroding fast: due within some years
            chord, chord_t = CHORDS[3 + n % 2]
            installed = rng.randint(1998, 2002)
            chord_rate = rng.uniform(0.09, 0.11) if n != 4 else 0.075
        if n == 11:  # the limit already reached
            chord, chord_t, installed, chord_rate = "L 63×5", 50, 1990, 0.068
        yield support, km, span, (chord, chord_t, chord_rate), (diagonal, diagonal_t, diagonal_rate), installed


def main():
    examples = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "examples")
    rng = random.Random(2024)
    rows = []
    for support, km, span, chord, diagonal, installed in girders(rng):
        last = {}
        for campaign, date in enumerate(CAMPAIGNS):
            year = int(date[:4]) if date[4] == "-" else int(date[-4:])
            cells = {"Участок": "Перегон Озерная — Лесная", "Опора": support, "Км": f"{km:.1f}".replace(".", ","),
                     "Дата осмотра": date, "Год установки": str(installed), "Проверил": INSPECTORS[campaign],
                     "Примечание": ""}
            for name, (angle, nominal, rate) in (("пояса", chord), ("раскосов", diagonal)):
                tenths = round(nominal - rate * (year - installed) * 10 + rng.uniform(-1, 1))
                tenths = max(10, min(tenths, nominal, last.get(name, nominal)))
                last[name] = tenths
                cells["Уголок " + name] = angle
                cells["t " + name + ", мм"] = mm(tenths)
            if campaign == 2 and chord[2] > 0.1:
                cells["Примечание"] = "коррозия пояса, пятна ржавчины"
            cells.update(span)
            cells.update(WIRES)
            rows.append([cells[column] for column in HEADER])
    with open(examples / "line-section-history.csv", "w", encoding="utf-8", newline="") as out:
        for row in [HEADER] + rows:
            out.write(";".join(row) + "\n")
    with open(examples / "line-section-history-template.csv", "w", encoding="utf-8", newline="") as out:
        for row in [HEADER, rows[0]]:
            out.write(";".join(row) + "\n")


main()
