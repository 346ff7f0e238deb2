# A word larger than the address space the run may use, after transactions that are answered.
with open("transactions.txt", "wb") as out:
    out.write(b"alice buys 2 apple\nalice showcart\n" + b"z" * 16777217)
