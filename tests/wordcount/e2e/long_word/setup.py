word = "Q" * 100000
lowered = "q" * 100000
with open("long.txt", "w", newline="\n") as out:
    out.write(f"{word}! short {lowered}\n{word}.\n")
with open("expected-report.txt", "w", newline="\n") as out:
    out.write(lowered + "\n")
