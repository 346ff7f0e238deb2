"""Generated hostile cases of each program: the files, arguments and standard input of a run.

What each run must give comes from the program's model (tests/model/), which hostile.py runs
on the same cases. Missing or unreadable files and wrong command lines are left to the
end-to-end cases.
"""

import random
from dataclasses import dataclass, field

import inputs

# The two word counts share one seed, and so one case set: they must write the same bytes.
SEEDS = {"bst_driver": 2101, "go_shopping": 1101, "word_count_driver": 3301,
         "word_count_solution": 3301, "roster_test": 4201}


@dataclass
class Case:
    name: str
    files: dict = field(default_factory=dict)  # relative path -> bytes
    args: list = field(default_factory=list)
    stdin: bytes = None  # None: standard input is /dev/null


def bst_cases(rng):
    blobs = inputs.common_blobs(rng)
    # Each blob once as the word list and once as the queries, beside the blob after it.
    cases = [Case(f"dict_{name}__queries_{query_name}", files={"scramble-dict.txt": dictionary},
                  stdin=queries)
             for (name, dictionary), (query_name, queries) in zip(blobs, blobs[1:] + blobs[:1])]
    for index in range(20):  # shared vocabulary, so that many queries are found
        vocabulary = inputs.random_words(rng, rng.randint(1, 60), max_length=5)
        dictionary = inputs.word_soup(rng, vocabulary, rng.randint(0, 300))
        queries = inputs.word_soup(rng, vocabulary + [b"\0", b"\xff"], rng.randint(0, 100))
        cases.append(Case(f"shared_vocabulary_{index}", files={"scramble-dict.txt": dictionary},
                          stdin=queries))
    return cases


def word_count_cases(rng):
    # Counts at or below 1, so that the words of each text are reported.
    cases = [Case(f"text_{name}", files={"text.txt": text},
                  args=["text.txt", rng.choice([b"0", b"1", b"-1", b"", b"abc"])])
             for name, text in inputs.common_blobs(rng)]
    soup = inputs.word_soup(rng, [b"The", b"the", b"cat.", b"CAT", b"-", b"(yes", b"yes!",
                                  b"Wait...", b"\xc3\x89t\xc3\xa9,"], 300)
    random_counts = [bytes(rng.choice(b"0123456789-+ x\t") for _ in range(rng.randint(0, 3)))
                     for _ in range(6)]
    for index, count in enumerate(inputs.HUGE_NUMBERS + random_counts):
        cases.append(Case(f"count_{index}_{count[:12].hex()}", files={"text.txt": soup},
                          args=["text.txt", count]))
    return cases


def roster_cases(rng):
    cases = [Case(f"names_{name}", files={"names.txt": content}, args=["names.txt"])
             for name, content in inputs.common_blobs(rng)]
    for index in range(25):
        pool = inputs.random_words(rng, 30) + [b"", b" ", b"\r", b"a\0b", b"\0", b"Zoe", b"adam"]
        content = b"\n".join(rng.choice(pool) for _ in range(rng.randint(1, 200)))
        content += rng.choice([b"", b"\n", b"\r\n"])
        cases.append(Case(f"names_mixed_{index}", files={"names.txt": content},
                          args=["names.txt"]))
    lines = [b"x" * rng.choice([0, 253, 254, 255, 256, 70000]) for _ in range(12)]
    cases.append(Case("names_around_254", files={"names.txt": b"\n".join(lines) + b"\nlast"},
                      args=["names.txt"]))
    return cases


PRODUCTS = [b"apple", b"pear", b"fig", b"kiwi", b"Apple"]
CUSTOMERS = [b"alice", b"bob", b"carol", b"\xc3\xa9ve"]
COMMANDS = [b"buys", b"returns", b"showcart", b"checkout", b"Buys", b"buy", b""]


def products_file(rng):
    prices = [b"0.50", b"1.25", b"0", b"-1", b"3.4e38", b"1e39", b"nan", b"inf", b"0.005",
              b"99999999999", b"abc", b"2.", b".5"]
    count = rng.choice([1, 3, 5, 19, 20, 21, 40])
    return b"".join(rng.choice(PRODUCTS + [b"p%d" % n]) + b" " + rng.choice(prices[:2] * 8 + prices)
                    + rng.choice([b"\n", b"\r\n", b" "]) for n in range(count))


def transactions(rng, count):
    out = bytearray()
    for _ in range(count):
        out += rng.choice(CUSTOMERS) + b" " + rng.choice(COMMANDS * 3 + [b"buys"] * 10)
        if rng.random() < 0.8:
            quantity = rng.choice([b"1", b"2", b"10", b"-3", b"0"] * 4 + inputs.HUGE_NUMBERS)
            out += b" " + quantity + b" " + rng.choice(PRODUCTS + [b"pear\0", b""])
        out += rng.choice([b"\n", b"\r\n", b"\n", b" ", b""])
    return bytes(out)


def shop_case(name, products, trans, via_stdin):
    files = {"products.txt": products}
    if via_stdin:
        stdin = b"products.txt -\n" + trans
    else:
        stdin = b"products.txt\ntrans.txt\n"
        files["trans.txt"] = trans
    return Case(name, files=files, stdin=stdin)


def shopping_cases(rng):
    good_products = b"apple 0.50\npear 1.25\nfig 2.00\nkiwi 0.10\n"
    cases = []
    for index in range(30):
        products = good_products if index % 3 else products_file(rng)
        trans = transactions(rng, rng.randint(0, 60))
        cases.append(shop_case(f"stream_{index}", products, trans, via_stdin=index % 2 == 0))
    for name, blob in inputs.common_blobs(rng):
        cases.append(shop_case(f"transactions_{name}", good_products, blob, via_stdin=False))
        cases.append(shop_case(f"products_{name}", blob, b"alice buys 1 apple\n", via_stdin=True))
    # Well-formed transactions only, with few products and mostly single units, so that carts
    # fill and empty and orders often come back to nothing.
    for index in range(15):
        lines = []
        for _ in range(rng.randint(1, 80)):
            customer, command = rng.choice(CUSTOMERS[:3]), rng.choice(COMMANDS[:4] + [b"buys"] * 2)
            if command in (b"buys", b"returns"):
                quantity = rng.choice([1, 1, 1, 2, 0, -1, 1000000])
                lines.append(b"%s %s %d %s" % (customer, command, quantity,
                                               rng.choice([b"apple", b"pear", b"Apple"])))
            else:
                lines.append(customer + b" " + command)
        cases.append(shop_case(f"well_formed_{index}", good_products, b"\n".join(lines) + b"\n",
                               via_stdin=index % 2 == 1))
    overflow = b"".join(b"alice buys 2147483647 apple\nalice returns %s apple\n" % q
                        for q in (b"2147483647", b"1", b"-2147483648"))
    cases.append(shop_case("quantity_overflow", good_products, overflow, via_stdin=False))
    return cases


def cases_for(program):
    rng = random.Random(SEEDS[program])
    if program == "bst_driver":
        return bst_cases(rng)
    if program in ("word_count_driver", "word_count_solution"):
        return word_count_cases(rng)
    if program == "roster_test":
        return roster_cases(rng)
    if program == "go_shopping":
        return shopping_cases(rng)
    raise SystemExit(f"no hostile cases for {program}")
