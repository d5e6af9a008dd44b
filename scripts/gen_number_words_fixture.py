#!/usr/bin/python3
"""Writes tests/fixtures/number_words.tsv: digit strings and their Russian
words, taken from Debian's python3-num2words (lang 'ru') as a source that
shares no code with ours.

Run once with the system interpreter (the package lives there):
    /usr/bin/python3 scripts/gen_number_words_fixture.py

Where num2words and the program's rules part, the program's rules hold; each
difference is applied below as a rule of its own, never by asking our code:
  * zero: num2words says "ноль"; the program has no word for zero, so a run
    of zeros gives the empty text.
  * leading zeros: num2words takes an int; the program takes the digit run as
    found, and leading zeros change nothing, so rows with them are written
    with the words of the number without them.
"""

import os
import random

from num2words import num2words

SEED = 20240305
RANDOM_ROWS = 1400
MAX_DIGITS = 15


def words(digits: str) -> str:
    value = int(digits)
    if value == 0:
        return ""  # no word for zero
    return num2words(value, lang="ru")


def random_inputs(rng: random.Random):
    for _ in range(RANDOM_ROWS):
        length = rng.randint(1, MAX_DIGITS)
        digits = [str(rng.randint(0, 9)) for _ in range(length)]
        # Empty triads in the middle, and teen endings, are where the scale
        # words go wrong; make them common.
        for end in range(length, 0, -3):
            roll = rng.random()
            if roll < 0.25:
                for i in range(max(0, end - 3), end):
                    digits[i] = "0"
            elif roll < 0.40 and end >= 2:
                digits[end - 2] = "1"
        text = "".join(digits)
        if rng.random() < 0.9:
            text = text.lstrip("0") or "0"
        yield text


def main():
    rng = random.Random(SEED)
    inputs = [str(n) for n in range(0, 1100)]
    inputs += list(random_inputs(rng))
    inputs += ["00", "000", "007", "000000000000007", "0042", "000001000", "999999999999999"]

    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "tests", "fixtures", "number_words.tsv")
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("# digits<TAB>words, from python3-num2words (ru) with the differences\n")
        out.write("# listed in scripts/gen_number_words_fixture.py; regenerate with it.\n")
        for text in inputs:
            out.write(f"{text}\t{words(text)}\n")


if __name__ == "__main__":
    main()
