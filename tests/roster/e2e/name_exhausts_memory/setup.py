# A name larger than the address space the run may use.
with open("names.txt", "wb") as out:
    out.write(b"alice\n" + b"n" * 16777217)
