# Words that arrive sorted make the counting tree a chain of 4,096 levels. A walk that nested once
# per level would keep at least a pointer, 8 bytes, per level on the stack: 32 KiB, the limit,
# before anything else on it.
with open("sorted.txt", "w", newline="\n") as out:
    out.writelines(f"W{i:04d},\n" for i in range(4096))
with open("expected-report.txt", "w", newline="\n") as out:
    out.writelines(f"w{i:04d}\n" for i in reversed(range(4096)))
