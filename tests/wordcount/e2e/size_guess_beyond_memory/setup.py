# 3 MB of 100-byte words: room for the number of words its size suggests would not fit in the
# address space the run may use, the words themselves do.
with open("words.txt", "wb") as out:
    out.write((b"w" * 100 + b"\n") * 30000)
