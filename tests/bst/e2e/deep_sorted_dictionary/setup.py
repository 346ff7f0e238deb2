# A sorted word list of 4,096 words builds a chain of that height. A walk that nested once per
# level would keep at least a pointer, 8 bytes, per level on the stack: 32 KiB, the limit, before
# anything else on it. The expected listings are written in the form the filter reduces them to:
# the number of leading blanks, then the rest.
n = 4096
words = [f"w{i:04d}" for i in range(n)]
heading = [f"0 number of nodes: {n}"]
listing = (heading + [f"{3 * i} {words[i]}" for i in reversed(range(n))]
           + heading + [f"0 {word}" for word in words]
           + heading + [f"0 {word}" for word in reversed(words)]
           + ["0 found:      w0000", "0 found:      w4095", "0 not found:  w4096",
              "0 found:      w2048"])
with open("scramble-dict.txt", "w", newline="\n") as out:
    out.writelines(word + "\n" for word in words)
with open("expected-listing", "w", newline="\n") as out:
    out.writelines(line + "\n" for line in listing)
