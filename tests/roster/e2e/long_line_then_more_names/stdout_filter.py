# A line longer than 80 characters as its first character, the number of x in the rest and
# whatever else the rest holds.
import sys

for line in sys.stdin.buffer.read().split(b"\n")[:-1]:
    if len(line) > 80:
        rest = line[1:].replace(b"x", b"")
        line = b"%s + %d x" % (line[:1], len(line) - 1 - len(rest))
        line += b" + " + rest if rest else b""
    sys.stdout.buffer.write(line + b"\n")
