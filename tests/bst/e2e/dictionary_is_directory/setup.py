import os

os.mkdir("scramble-dict.txt")
