import os

os.mkdir("names.d")
