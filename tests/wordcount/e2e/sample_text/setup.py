import os
import shutil

examples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "..",
                        "examples")
shutil.copy(os.path.join(examples, "sample-text.txt"), ".")
