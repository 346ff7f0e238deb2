import os

os.mkdir("products.txt")
