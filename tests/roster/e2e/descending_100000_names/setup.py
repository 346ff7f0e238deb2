# Names from n099999 down to n000000: each one becomes the new head, so the roster is built in
# linear time, and freeing its 100,000 nodes must not need a deep stack.
with open("names.txt", "w", newline="\n") as out:
    out.writelines(f"n{i:06d}\n" for i in reversed(range(100000)))
