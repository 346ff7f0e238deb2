with open("products.txt", "w", newline="\n") as out:
    out.writelines(f"p{i} {i}.25\n" for i in range(1, 22))
with open("transactions.txt", "w", newline="\n") as out:
    out.write("zoe buys 1 p20\nzoe buys 1 p21\n")
