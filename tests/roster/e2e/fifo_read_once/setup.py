# The names come through a FIFO whose writer removes its name while it still holds its end open:
# the one reading takes both names, and a second opening would find no file instead of waiting
# for a writer that never comes. A writer whose reader never comes gives up after 30 seconds.
import os
import subprocess
import sys

os.mkfifo("names")
writer = """
import os, signal
signal.alarm(30)
end = os.open("names", os.O_WRONLY)
os.remove("names")
os.write(end, b"Smith\\nadams\\n")
"""
subprocess.Popen([sys.executable, "-c", writer], stdin=subprocess.DEVNULL,
                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
