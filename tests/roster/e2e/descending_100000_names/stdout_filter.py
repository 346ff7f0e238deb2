# The headings and the first and last names of each list as they are, then the number of lines
# and of names out of order.
import sys

lines = sys.stdin.buffer.read().split(b"\n")[:-1]
unordered = 0
previous = None
for line in lines:
    if line.startswith(b"n"):
        if previous is not None and line <= previous:
            unordered += 1
        previous = line
    else:
        previous = None
kept = [line for number, line in enumerate(lines, 1)
        if number <= 4 or 100001 <= number <= 100007 or number >= 200004]
sys.stdout.buffer.write(b"".join(line + b"\n" for line in kept))
sys.stdout.buffer.write(b"%d lines, %d out of order\n" % (len(lines), unordered))
