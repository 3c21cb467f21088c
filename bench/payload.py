# A payload of incompressible files, 100 to a folder:
#   python3 bench/payload.py FOLDER FILES BYTES_EACH
import os
import sys

root, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for i in range(files):
    folder = os.path.join(root, "group%03d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%05d.dat" % i), "wb") as f:
        f.write(os.urandom(size))
