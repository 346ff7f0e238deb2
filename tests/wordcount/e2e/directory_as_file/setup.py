import os

os.mkdir("words.d")
