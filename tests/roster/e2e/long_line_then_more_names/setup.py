# A line of 100,000 characters and one of 255, each followed by more names.
with open("names.txt", "wb") as out:
    out.write(b"M" + b"x" * 99999 + b"\nZed\nAmy\nQ" + b"x" * 254 + b"\nMo\n")
