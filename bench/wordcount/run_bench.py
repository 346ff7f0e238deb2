#!/usr/bin/env python3
"""Times word_count_solution and word_count_driver against an equivalent LC_ALL=C mawk script.

Two corpora: a generated one (a Zipf-distributed vocabulary of made-up words, some capitalised,
some in capitals, some with trailing punctuation) and a real-text one assembled from the
documentation installed under /usr/share/doc (plain files and gzip files, chosen and ordered by a
hash of their paths, so that every run on the same machine gets the same bytes; its SHA-256 is
printed). Builds both programs with the default optimised flags and checks that both programs and
the mawk script report the same bytes.

The commands run round by round, each once per round, the order rotated from round to round, so
that other work on a shared machine and the order itself weigh on all of them alike. Each round
gives a ratio of times (the peer's over the program's); the median of those ratios is reported
with a 95% confidence interval taken from the order statistics of the rounds. Twenty-five rounds
usually bound the median within a few per cent, enough to tell apart two builds 7% apart.
--baseline DIR also times the two programs found in DIR (say, an optimised build of another
revision) in every round.

--cachegrind runs each program once per corpus under valgrind's cachegrind with cache and branch
simulation and prints instructions, first-level data-cache misses and mispredicted branches per
word: counts that, unlike times, do not depend on the load of the machine.

Finally the solution's peak memory is measured on the Zipf corpus repeated ten times (streamed
through a named pipe, so it never lands on disk): memory must grow with the distinct words only.

Usage: python3 bench/wordcount/run_bench.py [--out DIR] [--megabytes N] [--text-megabytes N]
                                            [--rounds N] [--baseline DIR] [--cachegrind]
"""

import argparse
import gzip
import hashlib
import math
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
VOCABULARY = 60000
SEED = 20261208
THRESHOLD = "1"
DOCUMENTATION = "/usr/share/doc"
PROGRAMS = ("word_count_solution", "word_count_driver")

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


def generate_zipf_corpus(path, megabytes):
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


# Prose rather than code: files named like these, compressed or not.
PROSE_NAME = re.compile(r"^(changelog|news|readme|copyright|authors|thanks|todo|bugs|faq|history)"
                        r"|\.(txt|md|rst)$", re.IGNORECASE)
# Each file gives at most this much, so that a few long changelogs do not make up the corpus.
BYTES_PER_FILE = 256 * 1024
LINE_BREAKS = bytes.maketrans(b"\r\v\f", b"\n\n\n")


def documentation_files():
    """The prose files under DOCUMENTATION, in the order of a hash of their relative paths: a
    spread over many packages that stays the same from run to run."""
    found = []
    for folder, _, names in os.walk(DOCUMENTATION):
        for name in names:
            path = os.path.join(folder, name)
            if not os.path.islink(path) and PROSE_NAME.search(name.removesuffix(".gz")):
                found.append(os.path.relpath(path, DOCUMENTATION))
    return sorted(found, key=lambda p: hashlib.sha256(p.encode()).hexdigest())


def read_text(relative_path):
    """The text of one file, decompressed where it is gzip; None for binary or unreadable."""
    path = os.path.join(DOCUMENTATION, relative_path)
    try:
        with (gzip.open if path.endswith(".gz") else open)(path, "rb") as f:
            data = f.read(BYTES_PER_FILE)
    except (OSError, EOFError):
        return None
    if b"\0" in data:
        return None
    # The peer's default field splitting knows space, tab and newline only; the programs also
    # split at carriage returns, vertical tabs and form feeds, which become newlines here.
    return data[:data.rfind(b"\n") + 1].translate(LINE_BREAKS)  # whole lines only


def assemble_text_corpus(path, megabytes):
    target = megabytes * 1000 * 1000
    written = 0
    with open(path + ".part", "wb") as out:
        for relative_path in documentation_files():
            text = read_text(relative_path)
            if not text:
                continue
            text = text[:target - written]
            out.write(text)
            written += len(text)
            if written >= target:
                break
    if written < target:
        sys.exit(f"only {written} bytes of text under {DOCUMENTATION}; {target} wanted")
    os.replace(path + ".part", path)


def build_programs(build_dir):
    subprocess.run(["cmake", "-S", REPO, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_CXX_FLAGS_RELEASE=-O3",
                    "-DBUILD_TESTING=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", *PROGRAMS], check=True,
                   stdout=subprocess.DEVNULL)
    return {name: os.path.join(build_dir, "wordcount", name) for name in PROGRAMS}


def timed(command, output_path):
    """Runs `command` (a shell line); returns (wall seconds, CPU seconds, peak KiB, page faults).
    CPU time (user + system of every process the command runs) is less disturbed than wall time
    by other work on a shared machine; page faults (minor ones, each a page of fresh memory
    mapped) count what the system time largely goes on. The peak is measured by /usr/bin/time,
    since a process started from this one would count this one's memory as its own until it runs
    the command."""
    with open(output_path, "wb") as out, tempfile.TemporaryFile("w+") as peak:
        start = time.perf_counter()
        process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", f"/dev/fd/{peak.fileno()}",
                                    "bash", "-c", command], stdout=out, pass_fds=[peak.fileno()],
                                   env=dict(os.environ, LC_ALL="C"))
        _, status, usage = os.wait4(process.pid, 0)
        elapsed = time.perf_counter() - start
        process.returncode = os.waitstatus_to_exitcode(status)
        if process.returncode != 0:
            sys.exit(f"{command} ended with status {process.returncode}")
        peak.seek(0)
        return (elapsed, usage.ru_utime + usage.ru_stime, int(peak.read().split()[-1]),
                usage.ru_minflt)


def median_interval(values):
    """The median of `values` and a distribution-free 95% confidence interval for it: the order
    statistics whose ranks lie 1.96 standard deviations of a fair binomial around the middle."""
    ordered = sorted(values)
    n = len(ordered)
    half_width = 1.96 * math.sqrt(n) / 2
    low = max(0, math.floor(n / 2 - half_width))
    high = min(n - 1, math.ceil(n / 2 + half_width) - 1)
    return statistics.median(ordered), ordered[low], ordered[high]


def run_rounds(rounds, commands, output_paths):
    """Runs every command once per round, starting each round one command further on; returns
    the (wall, CPU, peak, page faults) of each command, one per round."""
    names = list(commands)
    runs = {name: [] for name in names}
    for round_index in range(rounds):
        print(f"  round {round_index + 1} of {rounds}", end="\r", flush=True)
        start = round_index % len(names)
        for name in names[start:] + names[:start]:
            runs[name].append(timed(commands[name], output_paths[name]))
    print()
    return runs


def report_timings(runs, baseline, driver_goal):
    """Prints the medians of each command and the medians of the per-round ratios."""
    for name, results in runs.items():
        wall = statistics.median(r[0] for r in results)
        cpu = statistics.median(r[1] for r in results)
        peak = max(r[2] for r in results)
        faults = statistics.median(r[3] for r in results)
        print(f"  {name:30s} wall {wall:7.3f} s  cpu {cpu:7.3f} s  peak {peak / 1024:8.1f} MiB"
              f"  page faults {faults:8.0f}")

    def ratio(numerator, denominator, goal=""):
        for index, kind in ((0, "wall"), (1, "cpu ")):
            per_round = [n[index] / d[index] for n, d in zip(runs[numerator], runs[denominator])]
            middle, low, high = median_interval(per_round)
            print(f"  {numerator} / {denominator}, {kind}: {middle:.3f} "
                  f"(95% {low:.3f} to {high:.3f}){goal}")

    ratio("mawk script", "word_count_solution", "  goal at least 1.7")
    ratio("word_count_driver", "word_count_solution", f"  goal at most {driver_goal}")
    if baseline:
        for program in PROGRAMS:
            ratio(f"baseline {program}", program)


def check_outputs(output_paths, names):
    """Exits unless every named command printed exactly what the mawk script printed."""
    with open(output_paths["mawk script"], "rb") as f:
        expected = f.read()
    for name in names:
        with open(output_paths[name], "rb") as f:
            if f.read() != expected:
                sys.exit(f"{name}: output differs from the mawk output")
    print(f"  outputs of {', '.join(names)} equal the mawk output ({expected.count(10)} lines)")


CACHEGRIND_FIGURES = {"instructions": r"I\s+refs:\s+([\d,]+)",
                      "D1 misses": r"D1\s+misses:\s+([\d,]+)",
                      "mispredictions": r"Mispredicts:\s+([\d,]+)"}


def cachegrind_per_word(command, words):
    """Runs `command` under cachegrind with cache and branch simulation; returns its figures
    divided by the number of words."""
    result = subprocess.run(["valgrind", "--tool=cachegrind", "--cache-sim=yes",
                             "--branch-sim=yes", "--cachegrind-out-file=/dev/null", *command],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                            check=True, env=dict(os.environ, LC_ALL="C"))
    return {figure: int(re.search(pattern, result.stderr).group(1).replace(",", "")) / words
            for figure, pattern in CACHEGRIND_FIGURES.items()}


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
    peak = timed(f"'{program}' '{fifo}' {THRESHOLD}", os.devnull)[2]
    writer.join()
    os.remove(fifo)
    return peak


def describe(corpus):
    """Prints the corpus's size, words, distinct normalised words and SHA-256; returns the
    number of words."""
    with open(corpus, "rb") as f:
        data = f.read()
    # bytes.split() splits on the same six white-space bytes as the programs.
    words = data.split()
    punctuation = rb"""!"#$%&'()*+,-./:;<=>?@[\]^_`{|}~"""
    distinct = {(w[:-1] if w[-1] in punctuation else w).lower() for w in words}
    print(f"{os.path.basename(corpus)}: {len(data) / 1e6:.1f} MB, {len(words)} words, "
          f"{len(distinct)} distinct, sha256 {hashlib.sha256(data).hexdigest()[:16]}",
          flush=True)
    return len(words)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "bench", "out", "wordcount"))
    parser.add_argument("--megabytes", type=int, default=24, help="size of the Zipf corpus")
    parser.add_argument("--text-megabytes", type=int, default=20,
                        help="size of the real-text corpus")
    parser.add_argument("--rounds", type=int, default=25)
    parser.add_argument("--baseline", help="a folder holding word_count_solution and "
                        "word_count_driver to time alongside the programs built here")
    parser.add_argument("--cachegrind", action="store_true",
                        help="also give cachegrind's figures per word")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    zipf = os.path.join(args.out, f"zipf-{args.megabytes}mb-seed{SEED}.txt")
    if not os.path.exists(zipf):
        generate_zipf_corpus(zipf, args.megabytes)
    text = os.path.join(args.out, f"text-{args.text_megabytes}mb.txt")
    if not os.path.exists(text):
        assemble_text_corpus(text, args.text_megabytes)
    programs = build_programs(os.path.join(args.out, "build"))
    baseline = os.path.abspath(args.baseline) if args.baseline else None

    # The driver's bound is looser on real text, whose longer words cost its vector more.
    for corpus, driver_goal in ((zipf, 1.3), (text, 1.45)):
        words = describe(corpus)
        commands = {name: [path, corpus, THRESHOLD] for name, path in programs.items()}
        if baseline:
            for program in PROGRAMS:
                commands[f"baseline {program}"] = [os.path.join(baseline, program), corpus,
                                                   THRESHOLD]
        shell_lines = {name: " ".join(f"'{part}'" for part in command)
                       for name, command in commands.items()}
        shell_lines["mawk script"] = f"mawk -v k={THRESHOLD} '{MAWK_PROGRAM}' '{corpus}' | sort -r"
        outputs = {name: os.path.join(args.out, name.replace(" ", "_") + ".out")
                   for name in shell_lines}
        runs = run_rounds(args.rounds, shell_lines, outputs)
        check_outputs(outputs, list(commands))
        print(f"  medians of {args.rounds} rounds, threshold {THRESHOLD}:")
        report_timings(runs, baseline, driver_goal)
        if args.cachegrind:
            commands["mawk (without sort)"] = ["mawk", "-v", f"k={THRESHOLD}", MAWK_PROGRAM, corpus]
            for name, command in commands.items():
                figures = cachegrind_per_word(command, words)
                print(f"  {name:30s} per word: " +
                      ", ".join(f"{value:7.1f} {figure}" for figure, value in figures.items()),
                      flush=True)

    repeated = peak_on_repeated_corpus(programs["word_count_solution"], zipf, 10, args.out)
    single = timed(" ".join(f"'{part}'" for part in [programs["word_count_solution"], zipf,
                                                     THRESHOLD]), os.devnull)[2]
    print(f"word_count_solution peak memory: corpus {single / 1024:.1f} MiB, "
          f"corpus x10 {repeated / 1024:.1f} MiB, growth {100.0 * (repeated - single) / single:.1f}% "
          f"(goal under 10%)")


if __name__ == "__main__":
    main()
