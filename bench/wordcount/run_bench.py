#!/usr/bin/env python3
"""Times word_count_solution and word_count_driver against an equivalent mawk script and wc -w.

Generates a deterministic corpus (a Zipf-distributed vocabulary of made-up words, some
capitalised, some in capitals, some with trailing punctuation), builds both programs with the
default optimised flags, checks that both programs and the mawk script report the same bytes,
prints median wall and CPU times, ratios and peak memory, and finally measures the solution's peak
memory on the corpus repeated ten times (streamed through a named pipe, so it never lands on disk).

The commands run round by round (each command once per round, in turn), so that other work on a
shared machine slows all of them alike; the medians of the rounds are reported. --baseline DIR also
times the two programs found in DIR (say, an optimised build of another revision) in every round,
so that a change can be judged against it under the same load.

Usage: python3 bench/wordcount/run_bench.py [--out DIR] [--megabytes N] [--repeats N]
                                            [--baseline DIR]
"""

import argparse
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
VOCABULARY = 60000
SEED = 20261208
THRESHOLD = "1"

# Same normalisation, threshold and order as the programs: strip one trailing punctuation
# character, lower-case, count; print the words counted more than k times, descending bytewise.
MAWK_PROGRAM = r"""
{
    for (i = 1; i <= NF; i++) {
        w = $i
        if (w ~ /[[:punct:]]$/) w = substr(w, 1, length(w) - 1)
        count[tolower(w)]++
    }
}
END { for (w in count) if (count[w] > k) print w }
"""


def made_up_words(rng, n):
    """Returns n distinct pronounceable lower-case words of one to four syllables, shortest
    first, so that the frequent ranks get the short words as in natural text."""
    onsets = ["b", "br", "c", "ch", "d", "dr", "f", "fl", "g", "gr", "h", "j", "k", "l", "m",
              "n", "p", "pl", "qu", "r", "s", "sh", "st", "t", "th", "tr", "v", "w", "z"]
    vowels = ["a", "e", "i", "o", "u", "ai", "ea", "ou", "y"]
    codas = ["", "", "", "n", "r", "s", "t", "l", "m", "ng", "ck"]
    words, seen = [], set()
    while len(words) < n:
        syllables = rng.choice([1, 2, 2, 3, 3, 4])
        word = "".join(rng.choice(onsets) + rng.choice(vowels) + rng.choice(codas)
                       for _ in range(syllables))
        if word not in seen:
            seen.add(word)
            words.append(word)
    words.sort(key=len)
    return words


def surface_forms(words):
    """Spellings of each word with their share of its Zipf weight (rank r weighs 1/r)."""
    punctuation = ",.;:!?)\"'"
    forms, weights = ["-"], [0.002]  # a dash between spaces counts as the empty word
    for rank, word in enumerate(words, start=1):
        weight = 1.0 / rank
        mark = punctuation[rank % len(punctuation)]
        variants = [(word, 0.80), (word.capitalize(), 0.10), (word.upper(), 0.03),
                    (word + mark, 0.05), (word.capitalize() + mark, 0.02)]
        for form, share in variants:
            forms.append(form)
            weights.append(weight * share)
    return forms, weights


def generate_corpus(path, megabytes):
    rng = random.Random(SEED)
    forms, weights = surface_forms(made_up_words(rng, VOCABULARY))
    cumulative, total = [], 0.0
    for weight in weights:
        total += weight
        cumulative.append(total)
    target = megabytes * 1000 * 1000
    written = 0
    with open(path + ".part", "w", encoding="ascii", newline="") as out:
        while written < target:
            tokens = rng.choices(forms, cum_weights=cumulative, k=120000)
            text = "\n".join(" ".join(tokens[i:i + 12]) for i in range(0, len(tokens), 12))
            text += "\n"
            out.write(text)
            written += len(text)
    os.replace(path + ".part", path)


def build_programs(build_dir):
    subprocess.run(["cmake", "-S", REPO, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -g"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "word_count_solution",
                    "word_count_driver"], check=True, stdout=subprocess.DEVNULL)
    return {name: os.path.join(build_dir, "wordcount", name)
            for name in ("word_count_solution", "word_count_driver")}


def timed(command, output_path):
    """Runs `command` (a shell line) under /usr/bin/time; returns (wall seconds, CPU seconds,
    peak KiB). CPU time (user + system) is less disturbed by other work on a shared machine."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as report:
        with open(output_path, "wb") as out:
            subprocess.run(["/usr/bin/time", "-v", "-o", report.name, "bash", "-c", command],
                           check=True, stdout=out, env=dict(os.environ, LC_ALL="C"))
        text = report.read()
    clock = re.search(r"Elapsed \(wall clock\) time.*: (?:(\d+):)?(\d+):([\d.]+)", text)
    hours, minutes, seconds = clock.groups()
    elapsed = int(hours or 0) * 3600 + int(minutes) * 60 + float(seconds)
    cpu = sum(float(re.search(rf"{kind} time \(seconds\): ([\d.]+)", text).group(1))
              for kind in ("User", "System"))
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1))
    return elapsed, cpu, peak


def medians_of_rounds(repeats, commands, output_paths):
    """Runs every command once per round for `repeats` rounds; returns, per command name, the
    median wall and CPU times and the largest peak memory."""
    runs = {name: [] for name in commands}
    for round_number in range(1, repeats + 1):
        print(f"round {round_number} of {repeats}", flush=True)
        for name, command in commands.items():
            runs[name].append(timed(command, output_paths[name]))
    return {name: (statistics.median(r[0] for r in results),
                   statistics.median(r[1] for r in results),
                   max(r[2] for r in results))
            for name, results in runs.items()}


def peak_on_repeated_corpus(program, corpus, copies, scratch):
    """Peak KiB of `program` reading `copies` back-to-back copies of the corpus from a pipe."""
    fifo = os.path.join(scratch, "repeated.fifo")
    if os.path.exists(fifo):
        os.remove(fifo)
    os.mkfifo(fifo)

    def feed():
        with open(fifo, "wb") as sink:
            for _ in range(copies):
                with open(corpus, "rb") as source:
                    shutil.copyfileobj(source, sink, 1 << 20)

    writer = threading.Thread(target=feed)
    writer.start()
    _, _, peak = timed(f"'{program}' '{fifo}' {THRESHOLD}", os.devnull)
    writer.join()
    os.remove(fifo)
    return peak


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "bench", "out", "wordcount"))
    parser.add_argument("--megabytes", type=int, default=200)
    parser.add_argument("--repeats", type=int, default=5)
    parser.add_argument("--baseline", help="a folder holding word_count_solution and "
                        "word_count_driver to time alongside the programs built here")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    corpus = os.path.join(args.out, f"corpus-{args.megabytes}mb-seed{SEED}.txt")
    if not os.path.exists(corpus):
        print(f"generating {corpus}", flush=True)
        generate_corpus(corpus, args.megabytes)
    print(f"corpus: {os.path.getsize(corpus) / 1e6:.1f} MB, threshold {THRESHOLD}", flush=True)
    programs = build_programs(os.path.join(args.out, "build"))

    mawk = f"mawk -v k={THRESHOLD} '{MAWK_PROGRAM}' '{corpus}' | sort -r"
    commands = {
        "word_count_solution": f"'{programs['word_count_solution']}' '{corpus}' {THRESHOLD}",
        "word_count_driver": f"'{programs['word_count_driver']}' '{corpus}' {THRESHOLD}",
        "mawk script": mawk,
        "wc -w": f"wc -w < '{corpus}'",
    }
    checked = ["word_count_solution", "word_count_driver"]
    if args.baseline:
        for program in ("word_count_solution", "word_count_driver"):
            path = os.path.join(os.path.abspath(args.baseline), program)
            commands[f"baseline {program}"] = f"'{path}' '{corpus}' {THRESHOLD}"
            checked.append(f"baseline {program}")
    outputs = {name: os.path.join(args.out, name.replace(" ", "_") + ".out")
               for name in commands}
    results = medians_of_rounds(args.repeats, commands, outputs)
    print(f"medians of {args.repeats} rounds:")
    for name, (wall, cpu, peak) in results.items():
        print(f"{name:30s} wall {wall:7.2f} s  cpu {cpu:7.2f} s  peak {peak / 1024:8.1f} MiB")

    with open(outputs["mawk script"], "rb") as f:
        expected = f.read()
    for name in checked:
        with open(outputs[name], "rb") as f:
            same = f.read() == expected
        print(f"{name} output equals the mawk output: {'yes' if same else 'NO'}")
        if not same:
            sys.exit(1)
    print(f"report lines: {expected.count(10)}")

    def ratio(numerator, denominator, goal):
        wall = results[numerator][0] / results[denominator][0]
        cpu = results[numerator][1] / results[denominator][1]
        print(f"{numerator} / {denominator}: wall {wall:.2f}, cpu {cpu:.2f}{goal}")

    ratio("mawk script", "word_count_solution", " (goal at least 1.3, aim 1.5)")
    ratio("word_count_driver", "word_count_solution", " (goal at most 1.3)")
    ratio("wc -w", "word_count_solution", "")
    if args.baseline:
        ratio("baseline word_count_solution", "word_count_solution", "")
        ratio("baseline word_count_driver", "word_count_driver", "")

    repeated = peak_on_repeated_corpus(programs["word_count_solution"], corpus, 10, args.out)
    single = results["word_count_solution"][2]
    print(f"word_count_solution peak memory: corpus {single / 1024:.1f} MiB, "
          f"corpus x10 {repeated / 1024:.1f} MiB, growth {100.0 * (repeated - single) / single:.1f}% "
          f"(goal under 10%)")


if __name__ == "__main__":
    main()
