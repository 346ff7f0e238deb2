"""A model of go_shopping: what it writes for a products file and a transactions stream.

Reading follows the standard stream extractions the program uses (a word; an int with optional
sign, failing on overflow; a float, failing on overflow), and an extraction that ends exactly at
the end of the input counts as a success. Money is single precision, as in the program, so
every product and sum is rounded to a float as the program rounds it.
"""

import re
import struct

SPACE = b" \t\n\r\v\f"
INT_MAX = 2**31 - 1
SEPARATOR = b"-" * 47 + b"\n"
CAPACITY = 20
FLOAT = re.compile(rb"[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")
FLOAT_MAX = 3.4028234663852886e38


def single(value):
    """`value` rounded to single precision."""
    return struct.unpack("f", struct.pack("f", value))[0]


class Stream:
    """The extractions of an input stream over `data`; each returns None when it fails."""

    def __init__(self, data):
        self.data, self.at = data, 0

    def skip_space(self):
        while self.at < len(self.data) and self.data[self.at] in SPACE:
            self.at += 1

    def word(self):
        self.skip_space()
        start = self.at
        while self.at < len(self.data) and self.data[self.at] not in SPACE:
            self.at += 1
        return self.data[start:self.at] if self.at > start else None

    def integer(self):
        self.skip_space()
        match = re.compile(rb"[+-]?").match(self.data, self.at)
        self.at = match.end()
        digits = re.compile(rb"\d*").match(self.data, self.at)
        self.at = digits.end()
        if not digits.group():
            return None
        value = int(match.group() + digits.group())
        return value if -INT_MAX - 1 <= value <= INT_MAX else None

    def price(self):
        self.skip_space()
        match = FLOAT.match(self.data, self.at)
        if not match:
            return None
        self.at = match.end()
        value = float(match.group())
        return single(value) if value <= FLOAT_MAX else None

    def ignore_line(self):
        end = self.data.find(b"\n", self.at)
        self.at = len(self.data) if end < 0 else end + 1


def catalogue(text):
    """(name, price) pairs loaded from a products file; loading ends at the first bad pair."""
    products, stream = [], Stream(text)
    while len(products) < CAPACITY:
        name, price = stream.word(), None
        if name is not None:
            price = stream.price()
        if price is None or price <= 0:
            break
        products.append((name, price))
    return products


def money(value):
    return b"%.2f" % value


def printed_cart(customer, orders, prices):
    if not orders:
        return b""
    lines, total = [], None
    for name, quantity in orders:
        lines.append(b"%5d X %s @ $%sea" % (quantity, name, money(prices[name])))
        cost = single(single(quantity) * prices[name])
        total = cost if total is None else single(total + cost)
    return (SEPARATOR + b"Shopping Cart for " + customer + b"\n" + b"\n".join(lines)
            + b"\n\nTotal:  $" + money(total) + b"\n" + SEPARATOR)


class Store:
    def __init__(self, products):
        self.prices = {}
        for name, price in products:
            self.prices.setdefault(name, price)
        self.carts = []  # [customer, [[product, quantity], ...]], newest cart first
        self.out = bytearray()

    def cart_of(self, customer):
        return next((cart for cart in self.carts if cart[0] == customer), None)

    def show_or_checkout(self, customer, command):
        cart = self.cart_of(customer)
        if cart is None:
            self.out += b"Sorry, but no cart for " + customer + b" exists.\n"
            return
        self.out += printed_cart(cart[0], cart[1], self.prices)
        if command == b"showcart":
            self.out += b"\n"
        else:
            self.out += b"\n\nThanks for shopping with us, " + customer + b"!\n"
            self.carts.remove(cart)

    def buy_or_return(self, customer, command, quantity, product):
        cart = self.cart_of(customer)
        if cart is None:
            cart = [customer, []]
            self.carts.insert(0, cart)
        buying = command == b"buys"
        if product not in self.prices:
            self.out += (b"Sorry, " + customer + b", but we don't carry " + product + b".\n"
                         if buying else b"Sorry, " + customer + b", but you couldn't have bought "
                         + product + b" because we don't carry it!\n")
        elif quantity <= 0:
            self.out += b"Sorry, only positive quantities can be %s!\n" % (
                b"bought" if buying else b"returned")
        else:
            self.add(cart[1], product, quantity if buying else -quantity)

    def add(self, orders, product, change):
        order = next((order for order in orders if order[0] == product), None)
        if order is None:
            if change > 0:
                orders.append([product, change])
            else:
                self.out += b"Cannot return more of the product than was bought!\n"
            return
        quantity = order[1] + change
        if quantity < 0:
            self.out += b"Cannot return more of the product than was bought!\n"
        elif quantity > INT_MAX:
            self.out += b"Sorry, that would be more of the product than one cart can hold!\n"
        elif quantity == 0:
            orders.remove(order)
        else:
            order[1] = quantity

    def close(self):
        self.out += b"These are the carts that weren't checked out.\n\n\n"
        for index, (customer, orders) in enumerate(self.carts):
            self.out += (b"\n\n" if index else b"") + printed_cart(customer, orders, self.prices)
            self.out += b"\n" if index else b""
        self.out += b"\n\nThanks for shopping with us!\n"


PRODUCTS_PROMPT = b"Enter products file name:  "
TRANSACTIONS_PROMPT = b"Enter transactions file name (\"-\" for standard input):  "
WELCOME = b"Welcome to our online store!\n"


def run(products_text, transactions):
    """(stdout, stderr, status) of a run whose products file and transaction stream exist."""
    store = Store(catalogue(products_text))
    if not store.prices:
        return WELCOME, PRODUCTS_PROMPT + b"Store remains empty...exiting.\n", 1
    err = bytearray(PRODUCTS_PROMPT + TRANSACTIONS_PROMPT)
    stream = Stream(transactions)
    while True:
        customer = stream.word()
        command = stream.word() if customer is not None else None
        if command is None:
            store.close()
            return WELCOME + bytes(store.out), bytes(err), 0
        if command in (b"showcart", b"checkout"):
            store.show_or_checkout(customer, command)
        elif command in (b"buys", b"returns"):
            quantity = stream.integer()
            product = stream.word() if quantity is not None else None
            if product is None:
                err += b"Input error...skipping line\n"
                stream.ignore_line()
            else:
                store.buy_or_return(customer, command, quantity, product)
        else:
            err += b"Illegal command \"" + command + b"\"...skipping line.\n"
            stream.ignore_line()
