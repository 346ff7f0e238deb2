# A word larger than the address space the run may use.
with open("big.txt", "wb") as out:
    out.write(b"the the\n" + b"w" * 16777217)
