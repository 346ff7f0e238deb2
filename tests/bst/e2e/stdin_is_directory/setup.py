import os

os.mkdir("queries")
