"""Generated hostile cases of each program, each with the output that a model of it expects.

A model is a plain re-implementation of the documented output in a few lines of Python; it
catches wrong answers on the odd inputs that the hand-written end-to-end cases do not reach.
Missing or unreadable files and wrong command lines are left to the end-to-end cases.
"""

import random
from dataclasses import dataclass, field

import inputs
import shop_model

SEEDS = {"bst_driver": 2101, "go_shopping": 1101, "word_count_driver": 3301,
         "word_count_solution": 3401, "roster_test": 4201}


@dataclass
class Expected:
    """What the program must end with and write."""
    status: int
    stdout: bytes
    stderr: bytes

    def mismatches(self, status, stdout, stderr):
        found = []
        if status != self.status:
            found.append(f"status {status}, model says {self.status}")
        if stdout != self.stdout:
            found.append(f"stdout differs from the model, which expects {self.stdout[:200]!r}")
        if stderr != self.stderr:
            found.append(f"stderr differs from the model, which expects {self.stderr[:200]!r}")
        return found


@dataclass
class Case:
    name: str
    expected: Expected
    files: dict = field(default_factory=dict)  # relative path -> bytes
    args: list = field(default_factory=list)
    stdin: bytes = None  # None: standard input is /dev/null


def words_of(text):
    """Words as the standard extraction of a string delimits them."""
    return text.split()  # bytes.split() breaks at exactly the six white-space bytes


# bst_driver ---------------------------------------------------------------------------------

def tree_listings(words):
    """The three listings of an unbalanced search tree built from `words` in order."""
    left, right, root = {}, {}, None
    for word in words:
        if root is None:
            root = word
            continue
        node = root
        while word != node:
            side = left if word < node else right
            if node not in side:
                side[node] = word
                break
            node = side[node]
    count = b"number of nodes: %d\n" % len(set(words))
    drawing, pre, post = [], [], []
    if root is not None:
        stack = [(root, 0, False)]  # reverse in-order: right, node, left
        while stack:
            node, level, visited = stack.pop()
            if visited:
                drawing.append(b"   " * level + node + b"\n")
                continue
            if node in left:
                stack.append((left[node], level + 1, False))
            stack.append((node, level, True))
            if node in right:
                stack.append((right[node], level + 1, False))
        stack = [root]
        while stack:
            node = stack.pop()
            pre.append(node + b"\n")
            stack += [side[node] for side in (right, left) if node in side]
        stack = [(root, False)]
        while stack:
            node, visited = stack.pop()
            if visited:
                post.append(node + b"\n")
                continue
            stack.append((node, True))
            stack += [(side[node], False) for side in (right, left) if node in side]
    return count + b"".join(drawing) + count + b"".join(pre) + count + b"".join(post)


def bst_expected(dictionary, queries):
    words = words_of(dictionary)
    known = set(words)
    answers = b"".join((b"found:      " if query in known else b"not found:  ") + query + b"\n"
                       for query in words_of(queries))
    return Expected(0, tree_listings(words) + answers, b"")


def bst_cases(rng):
    blobs = inputs.common_blobs(rng)
    small = [blob for blob in blobs if len(blob[1]) < 100000]
    cases = []
    for name, dictionary in blobs:
        query_name, queries = rng.choice(small)
        cases.append(Case(f"dict_{name}__queries_{query_name}",
                          files={"scramble-dict.txt": dictionary}, stdin=queries,
                          expected=bst_expected(dictionary, queries)))
    for name, queries in blobs:
        dictionary = rng.choice(small)[1]
        cases.append(Case(f"queries_{name}", files={"scramble-dict.txt": dictionary},
                          stdin=queries, expected=bst_expected(dictionary, queries)))
    for index in range(80):  # shared vocabulary, so that many queries are found
        vocabulary = inputs.random_words(rng, rng.randint(1, 60), max_length=5)
        dictionary = inputs.word_soup(rng, vocabulary, rng.randint(0, 300))
        queries = inputs.word_soup(rng, vocabulary + [b"\0", b"\xff"], rng.randint(0, 100))
        cases.append(Case(f"shared_vocabulary_{index}", files={"scramble-dict.txt": dictionary},
                          stdin=queries, expected=bst_expected(dictionary, queries)))
    return cases


# word_count_driver and word_count_solution ----------------------------------------------------

PUNCTUATION = bytes(list(range(33, 48)) + list(range(58, 65)) + list(range(91, 97))
                    + list(range(123, 127)))


def normalised(word):
    if word[-1:] and word[-1] in PUNCTUATION:
        word = word[:-1]
    return word.lower()  # bytes.lower() folds only the ASCII capitals


def count_argument(text):
    """atoi, with values beyond the int range clamped to the nearest bound."""
    text = text.lstrip(inputs.WHITESPACE)
    sign = -1 if text[:1] == b"-" else 1
    if text[:1] in (b"-", b"+"):
        text = text[1:]
    digits = len(text) - len(text.lstrip(b"0123456789"))
    value = sign * int(text[:digits] or b"0")
    return max(-2**31, min(2**31 - 1, value))


def word_count_expected(text, count):
    counts = {}
    for word in words_of(text):
        key = normalised(word)
        counts[key] = counts.get(key, 0) + 1
    threshold = count_argument(count)
    report = b"".join(word + b"\n" for word in sorted(counts, reverse=True)
                      if counts[word] > threshold)
    return Expected(0, report, b"")


def word_count_cases(rng):
    cases = []
    for name, text in inputs.common_blobs(rng):
        count = rng.choice(inputs.HUGE_NUMBERS + [b"0", b"1", b"2", b"3", b"-5"])
        cases.append(Case(f"text_{name}__count_{count[:12].hex()}", files={"text.txt": text},
                          args=["text.txt", count],
                          expected=word_count_expected(text, count)))
    soup = inputs.word_soup(rng, [b"The", b"the", b"cat.", b"CAT", b"-", b"(yes", b"yes!",
                                  b"Wait...", b"\xc3\x89t\xc3\xa9,"], 300)
    for index in range(120):
        count = bytes(rng.choice(b"0123456789-+ x\t") for _ in range(rng.randint(0, 6)))
        cases.append(Case(f"random_threshold_{index}", files={"text.txt": soup},
                          args=["text.txt", count],
                          expected=word_count_expected(soup, count)))
    return cases


# roster_test --------------------------------------------------------------------------------

def roster_expected(content):
    lines = content.split(b"\n")
    if lines[-1] == b"":
        lines.pop()
    names = sorted(line.split(b"\0")[0] for line in lines)
    listing = b"".join(name + b"\n" for name in names) or b"List is empty!\n"
    return Expected(0, b"Using the member function add: \n\n" + listing
                    + b"\nUsing the member function operator+=: \n\n" + listing, b"")


def roster_cases(rng):
    cases = []
    for name, content in inputs.common_blobs(rng):
        cases.append(Case(f"names_{name}", files={"names.txt": content}, args=["names.txt"],
                          expected=roster_expected(content)))
    for index in range(100):
        pool = inputs.random_words(rng, 30) + [b"", b" ", b"\r", b"a\0b", b"\0", b"Zoe", b"adam"]
        content = b"\n".join(rng.choice(pool) for _ in range(rng.randint(1, 200)))
        content += rng.choice([b"", b"\n", b"\r\n"])
        cases.append(Case(f"names_mixed_{index}", files={"names.txt": content}, args=["names.txt"],
                          expected=roster_expected(content)))
    lines = [b"x" * rng.choice([0, 253, 254, 255, 256, 70000]) for _ in range(12)]
    content = b"\n".join(lines) + b"\nlast"
    cases.append(Case("names_around_254", files={"names.txt": content}, args=["names.txt"],
                      expected=roster_expected(content)))
    return cases


# go_shopping --------------------------------------------------------------------------------

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
        stream = b"\n" + trans  # what follows the two file names on standard input
    else:
        stdin = b"products.txt\ntrans.txt\n"
        stream = trans
        files["trans.txt"] = trans
    stdout, stderr, status = shop_model.run(products, stream)
    return Case(name, files=files, stdin=stdin, expected=Expected(status, stdout, stderr))


def shopping_cases(rng):
    good_products = b"apple 0.50\npear 1.25\nfig 2.00\nkiwi 0.10\n"
    cases = []
    for index in range(120):
        products = good_products if index % 3 else products_file(rng)
        trans = transactions(rng, rng.randint(0, 60))
        cases.append(shop_case(f"stream_{index}", products, trans, via_stdin=index % 2 == 0))
    for name, blob in inputs.common_blobs(rng):
        cases.append(shop_case(f"transactions_{name}", good_products, blob, via_stdin=False))
        cases.append(shop_case(f"products_{name}", blob, b"alice buys 1 apple\n", via_stdin=True))
    for index in range(60):  # well-formed transactions only, so that carts fill and empty
        lines = []
        for _ in range(rng.randint(1, 80)):
            customer, command = rng.choice(CUSTOMERS[:3]), rng.choice(COMMANDS[:4] + [b"buys"] * 4)
            if command in (b"buys", b"returns"):
                quantity = rng.choice([1, 2, 3, 5, 0, -1, 1000000])
                lines.append(b"%s %s %d %s" % (customer, command, quantity, rng.choice(PRODUCTS)))
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
