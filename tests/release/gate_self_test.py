#!/usr/bin/env python3
"""The release gate must refuse what it is there to refuse.

usage: gate_self_test.py GATE ALLOWED_IMPORTS ALLOWED_DLLS EXE [--dlls-only]

It first passes the real program with the real lists (or the refusals below prove
nothing), then must fail for each list with something taken out, a budget of one byte,
and each copy of the program with one of its protections taken away, a DLL hidden where
a careless reader would not look, or (32-bit) code put where it runs that may register an
exception handler.
"""
import importlib.machinery
import os
import struct
import subprocess
import sys
import tempfile
import types

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT = 0x40, 0x20, 0x100
NO_SEH, TERMINAL_SERVER_AWARE = 0x400, 0x8000


def gate(*args):
    run = subprocess.run([GATE, *args, *EXTRA], capture_output=True, text=True)
    return run.returncode, run.stdout


def load_gate():
    """The gate's own reader of the headers, to find where to change a copy."""
    loader = importlib.machinery.SourceFileLoader("release_gate", GATE)
    module = types.ModuleType(loader.name)
    loader.exec_module(module)
    return module


def without(path, drop, add=""):
    kept = [line for line in open(path, encoding="utf-8") if not drop(line)] + [add]
    out = os.path.join(WORK, f"list{len(os.listdir(WORK))}.txt")
    open(out, "w", encoding="utf-8").writelines(kept)
    return out


def patched(*changes):
    data = bytearray(ORIGINAL)
    for change in changes:
        before = bytes(data)
        change(data)
        if bytes(data) == before:
            sys.exit(f"{change.__name__}: the copy came out unchanged, so its refusal proves nothing")
    out = os.path.join(WORK, f"copy{len(os.listdir(WORK))}.exe")
    open(out, "wb").write(data)
    return out


def at_optional(offset, size):
    return IMAGE.u32(0x3C) + 24 + offset, size


def clear_characteristic(bit):
    def clear_flag(data):
        at, _ = at_optional(70, 2)
        struct.pack_into("<H", data, at, struct.unpack_from("<H", data, at)[0] & ~bit)
    return clear_flag


def writable_text(data):
    at = IMAGE.u32(0x3C) + 24 + IMAGE.u16(IMAGE.u32(0x3C) + 20) + 36  # the first section: .text
    struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] | 0x80000000)


def no_relocations(data):
    at, _ = at_optional((112 if IMAGE.wide else 96) + 5 * 8, 8)
    struct.pack_into("<II", data, at, 0, 0)


# 32-bit code put where the program starts (and a return after it), and the refusal it
# must meet: ways to write fs:[0], the head of the exception-handler chain, or to reach it
# where a careless reader would not look.
REFUSED_CODE = [
    ("mov %eax,%fs:0x0", "writes the head"),
    ("mov %esp,%fs:0x0", "writes the head"),
    ("pop %fs:0x0", "writes the head"),
    ("mov %ecx,%fs:(%eax)", "writes the head"),
    ("vmovdqu32 %zmm0,%fs:0x0{%k1}", "writes the head"),  # a masked AVX-512 store
    ("call 1f; ret; .byte 0xb8; 1: mov %eax,%fs:0x0", "writes the head"),  # behind data
    # Past a return, where no branch leads but the function goes on (as to a landing pad).
    ("ret; mov %eax,%fs:0x0", "writes the head"),
    ("mov %fs:0x18,%eax; mov %ecx,(%eax)", "writes the thread block through"),  # its self-pointer
    ("mov %fs:0x18,%eax; mov %eax,%edx; mov %ecx,(%edx)", "passes on a value"),
    ("mov %fs:0x18,%eax; call *%ebx", "where the gate does not follow it"),
    ("push %fs:0x18", "uses the thread block other than"),
    ("push %fs; pop %es; mov %eax,%es:0x0", "loads a segment register"),
    ("mov $0x3b,%eax; mov %eax,%ds", "loads a segment register"),
    ("ljmp $0x33,$0x401000", "another code segment"),
]
# Reading the thread block registers nothing: the start-up code reads the stack base
# through its self-pointer, then puts something else in the register.
READ_CODE = ("mov %fs:0x0,%edx; mov %fs:0x18,%eax; mov 0x4(%eax),%ecx; cmp (%edx),%ecx;"
             " mov %ecx,%eax; xor %edx,%edx")


def assembled(source):
    """The bytes of 32-bit assembly (AT&T, statements split by "; "), and a return after them."""
    open(os.path.join(WORK, "code.s"), "w").write(source.replace("; ", "\n") + "\nret\n")
    subprocess.run(["i686-w64-mingw32-as", "--32", "-o", "code.o", "code.s"], cwd=WORK, check=True)
    subprocess.run(["i686-w64-mingw32-objcopy", "-O", "binary", "-j", ".text", "code.o", "code.bin"],
                   cwd=WORK, check=True)
    return open(os.path.join(WORK, "code.bin"), "rb").read()


def code_at(place, source):
    """source, assembled, at the RVA place() gives."""
    def put_code(data):
        code, at = assembled(source), IMAGE.offset(place())
        data[at:at + len(code)] = code
    return put_code


def at_entry(source):
    return code_at(lambda: IMAGE.entry, source)


def first_delay_stub():
    """The code a delay-loaded function's address slot holds at first: no unwind table
    describes it, and only that address, held in the program, leads there."""
    table = IMAGE.u32(next(at for at, *_ in IMAGE.delay_descriptors()) + 12)
    return IMAGE.u32(IMAGE.offset(table)) - IMAGE.image_base


def renamed(old, new):
    """Every DLL name old (NUL-ended) in the file becomes new, no longer than old."""
    def rename(data):
        whole = old.encode() + b"\0"
        data[:] = data.replace(whole, new.encode("latin-1").ljust(len(whole), b"\0"))
    return rename


def static_import(dll, change):
    """change(data, descriptor offset) for the import descriptor of dll in the original."""
    def of_static(data):
        rva = IMAGE.directory[1][0]
        while IMAGE.u32(IMAGE.offset(rva, 20) + 12):
            at = IMAGE.offset(rva, 20)
            if IMAGE.text(IMAGE.u32(at + 12)).upper() == dll:
                change(data, at)
            rva += 20
    return of_static


def empty_tables(data, at):
    for table in struct.unpack_from("<I", data, at)[0], struct.unpack_from("<I", data, at + 16)[0]:
        struct.pack_into("<I", data, IMAGE.offset(table, 4), 0)


def unreadable_name_table(data, at):
    struct.pack_into("<I", data, at, 0x7FFFFFF0)


def delay_import_emptied(dll):
    def empty_delay_table(data):
        for at, name, _ in IMAGE.delay_descriptors():
            if name == dll:
                struct.pack_into("<I", data, at + 16, 0)
    return empty_delay_table


def delay_import_to_section_end(dll):
    """The delay-load descriptor of dll moved to 30 bytes before the end of the first section
    whose raw data ends in zeros: at an address no multiple of four, its last two bytes (of
    a zero time stamp) past the raw data, where the loader maps zeros."""
    def move_to_section_end(data):
        at = next(at for at, name, _ in IMAGE.delay_descriptors() if name == dll)
        end = next(raw + rsize for *_, raw, rsize, _ in IMAGE.sections
                   if rsize >= 32 and not any(data[raw + rsize - 32:raw + rsize]))
        data[end - 30:end], data[at:at + 32] = data[at:at + 30], bytes(32)
    return move_to_section_end


def manifest_text(old, new):
    def edit_manifest(data):
        data[:] = data.replace(old.encode(), new.encode())
    return edit_manifest


def no_manifest_resource(data):
    base = IMAGE.offset(IMAGE.directory[2][0], 16)
    for i in range(sum(struct.unpack_from("<HH", data, base + 12))):
        if struct.unpack_from("<I", data, base + 16 + 8 * i)[0] == 24:  # RT_MANIFEST
            struct.pack_into("<I", data, base + 16 + 8 * i, 23)


GATE, IMPORTS, DLLS, EXE = sys.argv[1:5]
EXTRA = sys.argv[5:]
ORIGINAL = open(EXE, "rb").read()
IMAGE = load_gate().Pe(ORIGINAL)
failures = []
with tempfile.TemporaryDirectory() as WORK:
    code, output = gate(IMPORTS, DLLS, "1000000000", EXE)
    if code != 0:
        sys.exit(f"the gate refused the real program with the real lists:\n{output}")
    delayed = {dll for dll, _ in IMAGE.delay_imports()}
    if not {"WINHTTP.DLL", "VERSION.DLL"} <= delayed:
        sys.exit(f"the program should delay-load WinHTTP and version.dll, not {sorted(delayed)}")
    copies = [
        ("no DYNAMIC_BASE", "DYNAMIC_BASE", clear_characteristic(DYNAMIC_BASE)),
        ("no NX_COMPAT", "NX_COMPAT", clear_characteristic(NX_COMPAT)),
        ("no TERMINAL_SERVER_AWARE", "TERMINAL_SERVER_AWARE", clear_characteristic(TERMINAL_SERVER_AWARE)),
        ("no relocations", "no relocations", no_relocations),
        ("a writable code section", "writable and executable", writable_text),
        ("a start-up DLL renamed (GDI32 to GDX32) and its name table emptied",
         "names GDX32.DLL for start-up", renamed("GDI32.dll", "GDX32.dll"), static_import("GDI32.DLL", empty_tables)),
        ("a start-up DLL whose name table cannot be read",
         "GDI32.DLL whose function names cannot be read", static_import("GDI32.DLL", unreadable_name_table)),
        ("WinHTTP delay-loaded as winhttp.drv", "names WINHTTP.DRV", renamed("winhttp.dll", "winhttp.drv")),
        ("WinHTTP delay-loaded as winhttp.ocx", "names WINHTTP.OCX", renamed("winhttp.dll", "winhttp.ocx")),
        ("WinHTTP delay-loaded by a name with no suffix", "names WINHTTP for", renamed("winhttp.dll", "winhttp")),
        ("a delay-loaded DLL renamed (version to versiom) and its name table emptied",
         "names VERSIOM.DLL for delay", renamed("version.dll", "versiom.dll"), delay_import_emptied("VERSION.DLL")),
        ("a delay-loaded DLL renamed (version to versiom) and moved to the end of a section",
         "names VERSIOM.DLL for delay", delay_import_to_section_end("VERSION.DLL"), renamed("version.dll", "versiom.dll")),
        ("a delay-loaded DLL named with a space", "delay import whose DLL name cannot be read",
         renamed("winhttp.dll", "win ttp.dll")),
        ("a delay-loaded DLL named with a byte over 0x7F", "delay import whose DLL name cannot be read",
         renamed("winhttp.dll", "winhttp\xe9dll")),
        ("a manifest that names other common controls", "manifest does not declare",
         manifest_text("Microsoft.Windows.Common-Controls", "Microsoft.Windows.Common-Kontrols")),
        ("a manifest that names common controls version 5", "manifest does not declare",
         manifest_text('version="6.0.0.0"', 'version="5.8.0.0"')),
        ("no manifest resource", "no manifest resource", no_manifest_resource),
    ]
    if IMAGE.wide:
        copies.append(("no HIGH_ENTROPY_VA", "HIGH_ENTROPY_VA", clear_characteristic(HIGH_ENTROPY_VA)))
    else:
        copies.append(("no NO_SEH", "NO_SEH", clear_characteristic(NO_SEH)))
        copies += [(f"the code {source}", why, at_entry(source)) for source, why in REFUSED_CODE]
        copies.append(("fs:[0] written in a delay-load stub", "writes the head",
                       code_at(first_delay_stub, "mov %eax,%fs:0x0")))
        code, output = gate(IMPORTS, DLLS, "1000000000", patched(at_entry(READ_CODE)))
        if code != 0:
            failures.append(f"the gate refused code that only reads the thread block:\n{output}")
    cases = [(what, why, IMPORTS, DLLS, patched(*changes)) for what, why, *changes in copies]
    cases += [
        ("the DLL list without WinHTTP (named only in the delay-load table)", "names WINHTTP.DLL",
         IMPORTS, without(DLLS, lambda l: l.startswith("WINHTTP.DLL ")), EXE),
        ("WinHTTP listed for start-up loading", "names WINHTTP.DLL for delay",
         IMPORTS, without(DLLS, lambda l: l.startswith("WINHTTP.DLL "), "WINHTTP.DLL static\n"), EXE),
        ("a budget of one byte", "over the budget", IMPORTS, DLLS, EXE, "1"),
    ]
    if "--dlls-only" not in EXTRA:
        cases.append(("the function list without GetVersionExA", "GetVersionExA",
                      without(IMPORTS, lambda l: l.startswith("KERNEL32.DLL GetVersionExA ")),
                      DLLS, EXE))
    for what, why, imports, dlls, exe, *budget in cases:
        code, output = gate(imports, dlls, budget[0] if budget else "1000000000", exe)
        reason = next((line for line in output.splitlines() if why in line), None)
        if code == 0 or reason is None:
            failures.append(f"the gate {'passed' if code == 0 else 'refused for another reason'}"
                            f" {what}:\n{output}")
        else:
            print(f"refused as it should, {what}: {reason}")
if failures:
    sys.exit("\n".join(failures))
