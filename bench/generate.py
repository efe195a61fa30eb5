#!/usr/bin/env python3
"""Writes a synthetic KAMBRIX distribution folder of a given size class.

    generate.py SIZE FOLDER      SIZE: typical | large | small

The content is deterministic: every file is a slice of one pseudo-random pool
seeded by a constant, so two runs give the same bytes. A folder that already
holds a complete distribution of the same parameters (FOLDER.generated says
so) is left as it is.
"""
import hashlib
import json
import os
import random
import shutil
import sys

MB = 1024 * 1024

# What each size holds: program files and their total, stations (each with a
# .cfg and an info page), pictures, run files, sample data files and their total.
SIZES = {
    "typical": dict(programs=30, program_bytes=40 * MB, stations=60, pictures=200,
                    picture_bytes=200 * 20 * 1024, runs=5, samples=2000, sample_bytes=100 * MB),
    "large": dict(programs=300, program_bytes=400 * MB, stations=500, pictures=5000,
                  picture_bytes=5000 * 20 * 1024, runs=20, samples=50000, sample_bytes=2048 * MB),
    "small": dict(programs=5, program_bytes=2 * MB, stations=3, pictures=2,
                  picture_bytes=2 * 20 * 1024, runs=1, samples=200000, sample_bytes=200000 * 1024),
}
# Sample data files of the small size are all exactly 1 KB.
EXACT = {"small"}

POOL_BYTES = 32 * MB
DATA_FOLDER = "DATA2004"
SYSTEM_NAME = "Benchmark"


def sizes(count, total, exact, salt):
    """`count` sizes adding up to `total`, spread from 0.5 to 1.5 of the mean."""
    if count == 0:
        return []
    mean = total // count
    if exact:
        return [mean] * count
    rng = random.Random(salt)
    out = [max(1, int(mean * (0.5 + rng.random()))) for _ in range(count)]
    out[-1] = max(1, out[-1] + total - sum(out))
    return out


def station_names(count):
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    digits = "0123456789" + letters
    names = []
    for a in letters:
        for b in digits:
            for c in digits:
                names.append(a + b + c)
                if len(names) == count:
                    return names
    raise ValueError("too many stations")


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in SIZES:
        sys.exit("usage: generate.py typical|large|small FOLDER")
    name, folder = sys.argv[1], sys.argv[2]
    params = dict(SIZES[name], name=name, version=1)
    stamp = json.dumps(params, sort_keys=True)
    stamp_path = folder.rstrip("/") + ".generated"
    if os.path.exists(stamp_path) and open(stamp_path).read() == stamp:
        return
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(stamp_path):
        os.remove(stamp_path)

    pool = random.Random(20040101).randbytes(POOL_BYTES)

    def write(relative, size_or_bytes):
        path = os.path.join(folder, *relative.split("/"))
        if isinstance(size_or_bytes, bytes):
            data = size_or_bytes
        else:
            digest = hashlib.blake2b(relative.encode(), digest_size=8).digest()
            start = int.from_bytes(digest, "little") % (POOL_BYTES - size_or_bytes)
            data = pool[start:start + size_or_bytes]
        with open(path, "wb") as out:
            out.write(data)

    p = params
    for sub in ("prog", "config/MSinfo/pic", DATA_FOLDER):
        os.makedirs(os.path.join(folder, *sub.split("/")), exist_ok=True)

    programs = ["sarnok.exe", "delviq.exe"] + [
        f"modul{i:03d}.{('dll', 'exe', 'hlp')[i % 3]}" for i in range(p["programs"] - 2)]
    for program, size in zip(programs, sizes(len(programs), p["program_bytes"], False, 1)):
        write("prog/" + program, size)
    write("Install.dat", crlf(programs))

    stations = station_names(p["stations"])
    for station in stations:
        write(f"config/{station}.cfg", 1024)
        write(f"config/MSinfo/{station}.html",
              crlf([f"<html><head><title>Målestation {station}</title></head><body>"] +
                   [f"<p>Måling {i} ved station {station}</p>" for i in range(100)] +
                   ["</body></html>"]))
    for i in range(p["runs"]):
        write(f"config/maaling{i:02d}.run", 2048)
    write("config/logo.bmp", 64 * 1024)
    write(f"config/{SYSTEM_NAME}.bib", crlf([
        f"C:\\KAMBRIX\\{DATA_FOLDER}\\", "COM2,19200", "vm04", "I12345678,+CBST=71", "04001",
        "Målested Søndervang ÆØÅ æøå", stations[0]]))

    for i, size in enumerate(sizes(p["pictures"], p["picture_bytes"], False, 2)):
        write(f"config/MSinfo/pic/billede{i:05d}.png", size)
    for i, size in enumerate(sizes(p["samples"], p["sample_bytes"], name in EXACT, 3)):
        write(f"{DATA_FOLDER}/{i:07d}.dat", size)

    with open(stamp_path, "w") as out:
        out.write(stamp)


if __name__ == "__main__":
    main()
