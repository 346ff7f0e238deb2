# Each line as the number of its leading blanks and the rest, compared with expected-listing.
import sys

lines = sys.stdin.buffer.read().split(b"\n")[:-1]
reduced = b"".join(b"%d %s\n" % (len(line) - len(line.lstrip(b" ")), line.lstrip(b" "))
                   for line in lines)
with open("expected-listing", "rb") as expected:
    same = reduced == expected.read()
print("listings and answers as expected" if same else "listings or answers differ")
