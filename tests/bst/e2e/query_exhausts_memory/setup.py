# A query word larger than the address space the run may use, after one that can be answered.
with open("queries", "wb") as out:
    out.write(b"c\n" + b"q" * 16777217)
