import os

os.mkdir("transactions.txt")
