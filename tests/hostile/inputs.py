"""Hostile text blobs shared by every program's generator.

Everything is drawn from the random.Random the caller passes in, so a fixed seed gives the
same inputs on every run and every machine.
"""

WHITESPACE = b" \t\n\r\v\f"
HUGE_NUMBERS = [
    b"0", b"-0", b"+0", b"1", b"-1", b"+7", b"2147483647", b"2147483648", b"-2147483648",
    b"-2147483649", b"4294967296", b"99999999999999999999", b"-99999999999999999999",
    b"1e308", b"0x7fffffff", b"3.99", b"007", b" 5", b"2x", b"abc", b"", b"--1", b"+-3",
    b"1" * 400,
]
# More than three of the largest buffer a program reads through: the word scanner's 64 KiB block.
BIG = 200 * 1024


def random_bytes(rng, size):
    """Any byte values at all, NUL and the bytes above 127 included."""
    return rng.randbytes(size)


def nul_heavy(rng, size):
    """Mostly NUL bytes with a few letters and line breaks between them."""
    pool = b"\0" * 6 + b"ab\nZ \r"
    return bytes(rng.choice(pool) for _ in range(size))


def whitespace_only(rng, size):
    return bytes(rng.choice(WHITESPACE) for _ in range(size))


def long_word(rng, size):
    """One word of `size` bytes without any white space in it."""
    letters = b"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,;!?-'"
    unit = bytes(rng.choice(letters) for _ in range(256))
    return (unit * (size // len(unit) + 1))[:size]


def word_soup(rng, vocabulary, count, separators=WHITESPACE, line_end=b"\n"):
    """`count` words from `vocabulary`, separated by random white space, in lines."""
    out = bytearray()
    for _ in range(count):
        out += rng.choice(vocabulary)
        if rng.random() < 0.15:
            out += line_end
        else:
            out += bytes(rng.choice(separators) for _ in range(rng.randint(1, 3)))
    return bytes(out)


def random_words(rng, count, max_length=12):
    """Made-up words mixing cases, digits, punctuation and bytes above 127."""
    alphabet = b"abcdefghijklmnopqrstuvwxyzABCDEFGHIJ0123456789!.,?-()'\"\xc3\xa9\xe2\x80\x94\x7f"
    return [bytes(rng.choice(alphabet) for _ in range(rng.randint(1, max_length)))
            for _ in range(count)]


def common_blobs(rng):
    """(name, bytes) pairs every text-reading program should survive."""
    vocabulary = random_words(rng, 40)
    blobs = [
        ("empty", b""),
        ("one_newline", b"\n"),
        ("whitespace_only", whitespace_only(rng, 3000)),
        ("nul_heavy", nul_heavy(rng, 4000)),
        ("long_word", long_word(rng, BIG)),
        ("long_line", word_soup(rng, vocabulary, BIG // 5, separators=b" \t", line_end=b" ")[:BIG]),
        ("crlf_lines", word_soup(rng, vocabulary, 500, separators=b" ", line_end=b"\r\n")),
        ("lone_cr_lines", word_soup(rng, vocabulary, 500, separators=b" ", line_end=b"\r")),
        ("no_final_newline", word_soup(rng, vocabulary, 50).rstrip(WHITESPACE)),
        ("huge_numbers", b"\n".join(HUGE_NUMBERS) + b"\n"),
        ("high_bytes", bytes(range(128, 256)) * 20),
        ("all_bytes", bytes(range(256)) * 8),
        ("sorted_words", b"\n".join(sorted(set(random_words(rng, 1000, 8)))) + b"\n"),
        ("reverse_sorted_words",
         b"\n".join(sorted(set(random_words(rng, 1000, 8)), reverse=True)) + b"\n"),
    ]
    for index in range(12):
        blobs.append((f"random_bytes_{index}", random_bytes(rng, rng.choice([1, 7, 100, 5000]))))
    for index in range(10):
        blobs.append((f"soup_{index}", word_soup(rng, vocabulary, rng.randint(1, 800))))
    assert all(len(blob) == BIG for name, blob in blobs if name.startswith("long_"))
    return blobs
