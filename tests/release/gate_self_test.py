#!/usr/bin/env python3
"""The release gate must refuse what it is there to refuse.

usage: gate_self_test.py GATE ALLOWED_IMPORTS ALLOWED_DLLS EXE [--dlls-only]

It first passes the real program with the real lists (or the refusals below prove
nothing), then must fail for each list with something taken out, a budget of one byte,
and each copy of the program with one of its protections taken away.
"""
import os
import struct
import subprocess
import sys
import tempfile


def gate(*args):
    run = subprocess.run([GATE, *args, *EXTRA], capture_output=True, text=True)
    return run.returncode, run.stdout


def without(path, drop, add=""):
    kept = [line for line in open(path, encoding="utf-8") if not drop(line)] + [add]
    out = os.path.join(WORK, f"list{len(os.listdir(WORK))}.txt")
    open(out, "w", encoding="utf-8").writelines(kept)
    return out


def patched(change):
    data = bytearray(open(EXE, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    change(data, pe, optional)
    out = os.path.join(WORK, f"copy{len(os.listdir(WORK))}.exe")
    open(out, "wb").write(data)
    return out


def clear_characteristic(bit):
    def change(data, pe, optional):
        value = struct.unpack_from("<H", data, optional + 70)[0]
        struct.pack_into("<H", data, optional + 70, value & ~bit)
    return change


def writable_text(data, pe, optional):
    section = optional + struct.unpack_from("<H", data, pe + 20)[0]  # the first: .text
    flags = struct.unpack_from("<I", data, section + 36)[0]
    struct.pack_into("<I", data, section + 36, flags | 0x80000000)


def no_relocations(data, pe, optional):
    wide = struct.unpack_from("<H", data, optional)[0] == 0x20B
    struct.pack_into("<II", data, optional + (112 if wide else 96) + 5 * 8, 0, 0)


GATE, IMPORTS, DLLS, EXE = sys.argv[1:5]
EXTRA = sys.argv[5:]
failures = []
with tempfile.TemporaryDirectory() as WORK:
    code, output = gate(IMPORTS, DLLS, "1000000000", EXE)
    if code != 0:
        sys.exit(f"the gate refused the real program with the real lists:\n{output}")
    data = open(EXE, "rb").read()
    wide = struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 24)[0] == 0x20B
    cases = [
        ("the DLL list without WinHTTP (named only in the delay-load table)",
         IMPORTS, without(DLLS, lambda l: l.startswith("WINHTTP.DLL ")), EXE),
        ("WinHTTP listed for start-up loading",
         IMPORTS, without(DLLS, lambda l: l.startswith("WINHTTP.DLL "), "WINHTTP.DLL static\n"), EXE),
        ("a budget of one byte", IMPORTS, DLLS, EXE, "1"),
        ("no DYNAMIC_BASE", IMPORTS, DLLS, patched(clear_characteristic(0x40))),
        ("no NX_COMPAT", IMPORTS, DLLS, patched(clear_characteristic(0x100))),
        ("no relocations", IMPORTS, DLLS, patched(no_relocations)),
        ("a writable code section", IMPORTS, DLLS, patched(writable_text)),
    ]
    if wide:
        cases.append(("no HIGH_ENTROPY_VA", IMPORTS, DLLS, patched(clear_characteristic(0x20))))
    if "--dlls-only" not in EXTRA:
        cases.append(("the function list without GetVersionExA",
                      without(IMPORTS, lambda l: l.startswith("KERNEL32.DLL GetVersionExA ")),
                      DLLS, EXE))
    for what, imports, dlls, exe, *budget in cases:
        code, output = gate(imports, dlls, budget[0] if budget else "1000000000", exe)
        if code == 0:
            failures.append(f"the gate passed {what}:\n{output}")
        else:
            print(f"refused as it should, {what}: {output.splitlines()[0]}")
if failures:
    sys.exit("\n".join(failures))
