#!/usr/bin/env python3
"""Writes the benchmark inputs into OUT_DIR, the same bytes on every run (fixed seed).

  scramble-dict.txt  100,000 distinct words in random order, one per line
  queries.txt        1,000,000 query words, about half of them in the word list, 10 per line
  names.txt          20,000 names (surname and given name), one per line, some repeated
  products.txt       20 products with prices
  transactions.txt   1,000,000 transactions of 1,000 customers
"""

import os
import random
import sys

LETTERS = "abcdefghijklmnopqrstuvwxyz"


def made_up_words(rng, count, taken=()):
    words, seen = [], set(taken)
    while len(words) < count:
        word = "".join(rng.choice(LETTERS) for _ in range(rng.randint(3, 12)))
        if word not in seen:
            seen.add(word)
            words.append(word)
    return words


def write_lines(path, lines):
    with open(path, "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


def dictionary_and_queries(rng, out_dir):
    words = made_up_words(rng, 100_000)
    absent = made_up_words(rng, 50_000, taken=words)
    write_lines(os.path.join(out_dir, "scramble-dict.txt"), words)
    queries = [rng.choice(words) if rng.random() < 0.5 else rng.choice(absent)
               for _ in range(1_000_000)]
    write_lines(os.path.join(out_dir, "queries.txt"),
                [" ".join(queries[i:i + 10]) for i in range(0, len(queries), 10)])


def names(rng, out_dir):
    surnames = [w.capitalize() for w in made_up_words(rng, 4_000)]
    given = [w.capitalize() for w in made_up_words(rng, 600)]
    write_lines(os.path.join(out_dir, "names.txt"),
                [f"{rng.choice(surnames)}, {rng.choice(given)}" for _ in range(20_000)])


def shop(rng, out_dir):
    products = made_up_words(rng, 20)
    write_lines(os.path.join(out_dir, "products.txt"),
                [f"{name} {rng.randint(1, 9999) / 100:.2f}" for name in products])
    customers = [f"customer{n:04d}" for n in range(1_000)]
    lines = []
    for _ in range(1_000_000):
        customer, roll = rng.choice(customers), rng.random()
        if roll < 0.80:
            lines.append(f"{customer} buys {rng.randint(1, 5)} {rng.choice(products)}")
        elif roll < 0.95:
            lines.append(f"{customer} returns {rng.randint(1, 3)} {rng.choice(products)}")
        elif roll < 0.98:
            lines.append(f"{customer} showcart")
        else:
            lines.append(f"{customer} checkout")
    write_lines(os.path.join(out_dir, "transactions.txt"), lines)


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(20261208)
    dictionary_and_queries(rng, out_dir)
    names(rng, out_dir)
    shop(rng, out_dir)


if __name__ == "__main__":
    main()
