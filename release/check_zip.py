#!/usr/bin/env python3
"""Opens a release zip as a Windows user gets it: the four files in one folder named for the
release, the program and the module built for the zip's architecture with no symbols or debug
information left, the help page in both languages and a readme with Windows line ends.
Usage: check_zip.py Scrivane-<version>-win32.zip|win64.zip"""
import os
import struct
import sys
import zipfile

MACHINES = {"win32": 0x14C, "win64": 0x8664}


def pe_problems(name, data, machine):
    """What is wrong with a PE file: its machine, a symbol table, or sections of debug information.
    A name longer than eight characters ("/n") is at offset n of the string table after the symbols."""
    at = struct.unpack_from("<I", data, 0x3C)[0]
    if data[at:at + 4] != b"PE\0\0":
        return [f"{name} is no PE file"]
    got, sections, _, table, symbols, optional = struct.unpack_from("<HHIIIH", data, at + 4)
    strings = data[table + 18 * symbols:] if table else b""
    names = []
    for i in range(sections):
        raw = data[at + 24 + optional + 40 * i:][:8].rstrip(b"\0")
        if raw.startswith(b"/"):
            start = int(raw[1:])
            raw = strings[start:strings.find(b"\0", start)]
        names.append(raw.decode("latin-1"))
    problems = []
    if got != machine:
        problems.append(f"{name} is for machine {got:#x}, expected {machine:#x}")
    if symbols:
        problems.append(f"{name} keeps {symbols} symbols")
    return problems + [f"{name} keeps section {s}" for s in names if s.startswith(".debug")]


def main(path):
    release = os.path.basename(path)[:-len(".zip")]
    machine = MACHINES[release.rsplit("-", 1)[1]]
    with zipfile.ZipFile(path) as z:
        files = {i.filename: i for i in z.infolist() if not i.is_dir()}
        want = {f"{release}/{n}" for n in ("Scrivane.exe", "Scrivane.dll", "Scrivane.htm", "ReadMe.txt")}
        problems = [f"files {sorted(files)}, expected {sorted(want)}"] if set(files) != want else []
        for name in sorted(set(files) & want):
            data = z.read(name)
            print(f"{name}: {len(data)} bytes, {files[name].compress_size} packed")
            if name.endswith((".exe", ".dll")):
                problems += pe_problems(name, data, machine)
            elif name.endswith(".htm"):
                text = data.decode("utf-8")
                problems += [f"help page lacks {w!r}" for w in ("Stand-by in TaskTray", "タスクトレイに格納") if w not in text]
            elif b"\n" in data.replace(b"\r\n", b""):
                problems.append("the readme has Unix line ends")
    for p in problems:
        print("FAIL:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
