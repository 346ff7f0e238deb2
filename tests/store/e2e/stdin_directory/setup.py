import os

os.mkdir("input")
