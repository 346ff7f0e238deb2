# The chain of ascending_chain_small_stack built from its other end: every word is the left child
# of the one before.
with open("sorted.txt", "w", newline="\n") as out:
    out.writelines(f"w{i:04d}\r\n" for i in reversed(range(4096)))
with open("expected-report.txt", "w", newline="\n") as out:
    out.writelines(f"w{i:04d}\n" for i in reversed(range(4096)))
