#!/usr/bin/python3
"""Checks the built velmor.exe against what the Windows 95 and NT 4.0 loaders and an 80386
need, none of which Wine checks: imports, instructions, image headers, size.

    check_image.py OBJDUMP velmor.exe velmor.map libvelmorcore.a

Prints every finding and exits 1 when there is one."""
import re
import struct
import subprocess
import sys

SIZE_LIMIT = 144 * 1024

# Functions the program may import: each is documented as present on both Windows 95 and
# Windows NT 4.0 (Win32 SDK reference of the time). A new import is checked against that
# documentation before it joins this list.
ALLOWED_IMPORTS = {
    "KERNEL32.DLL": {
        "ExitProcess", "GetModuleHandleA",  # the entry point
        "GetVersion", "GetSystemTime",
        "GetPrivateProfileIntA", "WritePrivateProfileStringA",
        "lstrcpynA",
    },
    "USER32.DLL": {
        # windows, classes, the message loop and timer
        "RegisterClassA", "CreateWindowExA", "DestroyWindow", "DefWindowProcA",
        "CallWindowProcA", "GetWindowLongA", "SetWindowLongA", "SetClassLongA",
        "ShowWindow", "UpdateWindow", "MoveWindow", "SetWindowPos", "GetWindowRect",
        "GetWindowPlacement", "GetWindow", "InvalidateRect", "SetForegroundWindow",
        "SetWindowPlacement",  # there since Windows 3.0: the minimised box's place
        "GetForegroundWindow",
        "GetFocus", "SetFocus", "SetCapture", "EnableWindow", "IsIconic",
        "SendMessageA", "PostMessageA",
        "GetMessageA", "TranslateMessage", "DispatchMessageA", "PostQuitMessage",
        "SetTimer", "KillTimer",
        # menus, dialogs, message box
        "CreatePopupMenu", "AppendMenuA", "CheckMenuItem", "TrackPopupMenuEx",
        "DialogBoxParamA", "EndDialog", "GetDlgItem", "GetDlgCtrlID", "SendDlgItemMessageA",
        "MapDialogRect",  # there since 16-bit Windows too: the dialog's units in pixels, for the map
        "MessageBoxA",
        # resources, cursor, system values
        "LoadBitmapA", "LoadCursorA", "LoadIconA", "SetCursor", "ShowCursor", "GetCursorPos",
        "GetSystemMetrics", "SystemParametersInfoA", "GetSysColor",
        "GetSysColorBrush",  # new in Windows 95 and NT 4.0 (not in NT 3.51)
        # drawing and rectangles
        "GetDC", "ReleaseDC", "FillRect", "DrawTextA",
        "GetWindowDC", "DrawIconEx",  # the minimised box; DrawIconEx since Windows 95 and NT 3.51
        "DrawStateA",  # new in Windows 95 and NT 4.0: the stone texture, a bitmap in one call
        "InflateRect", "PtInRect", "SetRectEmpty",
        "wsprintfA",  # the program's only text formatting; no buffer size, so callers bound it
    },
    "GDI32.DLL": {
        "CreateFontIndirectA", "GetStockObject", "SelectObject", "DeleteObject",
        "SetBkColor", "SetTextColor", "TextOutA",
        "CreatePolygonRgn", "CombineRgn", "PtInRegion",
    },
    "SHELL32.DLL": {
        "SHAppBarMessage", "Shell_NotifyIconA",  # the Windows 95 and NT 4.0 shell
    },
}

# Instructions an 80386 lacks, by the processor that brought them.
NEWER_MNEMONICS = {
    "486": {"bswap", "cmpxchg", "xadd", "invlpg", "invd", "wbinvd", "cpuid"},
    "Pentium": {"cmpxchg8b", "rdtsc", "rdmsr", "wrmsr", "rsm"},
    "Pentium Pro": {"fcomi", "fcomip", "fucomi", "fucomip", "ud2", "rdpmc",
                    "sysenter", "sysexit", "nopw", "nopl"},
    "MMX": {"emms", "movd", "movq"},
    "SSE or later": {"sfence", "lfence", "mfence", "ldmxcsr", "stmxcsr", "fxsave", "fxrstor",
                     "prefetchnta", "prefetcht0", "prefetcht1", "prefetcht2", "prefetchw",
                     "movnti", "clflush", "fisttp", "popcnt", "lzcnt", "tzcnt", "movbe",
                     "crc32", "pause", "monitor", "mwait"},
}
NEWER_PREFIXES = (("cmov", "Pentium Pro"), ("fcmov", "Pentium Pro"))
MEDIA_REGISTER = re.compile(r"%(x|y|z)?mm\d")
INSTRUCTION_PREFIXES = {"rep", "repz", "repe", "repnz", "repne", "lock",
                        "cs", "ds", "es", "ss", "fs", "gs", "data16", "addr16"}


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def check_imports(headers, findings):
    dll = None
    for line in headers.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).upper()
            if dll not in ALLOWED_IMPORTS:
                findings.append(f"imports from {named.group(1)}, not one of "
                                "KERNEL32, USER32, GDI32, SHELL32")
            continue
        entry = re.match(r"\t([0-9a-f]+)\t\s*(\d+)\s+(\S+)", line)
        if not dll or not entry:
            continue
        name = entry.group(3)
        if name == "<none>":
            findings.append(f"imports ordinal {entry.group(2)} of {dll}, not a name")
        elif dll in ALLOWED_IMPORTS and name not in ALLOWED_IMPORTS[dll]:
            findings.append(f"imports {dll} {name}, which is not on the list of functions "
                            "present on Windows 95 and NT 4.0")


def header_value(headers, field):
    match = re.search(rf"^{field}\s+(\S+)", headers, re.M)
    return match.group(1) if match else None


def check_headers(headers, findings):
    for kind in ("Subsystem", "OSystem"):
        version = (header_value(headers, f"Major{kind}Version"),
                   header_value(headers, f"Minor{kind}Version"))
        if version != ("4", "0"):
            findings.append(f"{kind} version {'.'.join(map(str, version))}, not 4.0")
    tls = re.search(r"^Entry 9 ([0-9a-f]+) ([0-9a-f]+)", headers, re.M)
    if tls and int(tls.group(1), 16):
        findings.append(f"has a TLS directory at {tls.group(1)} (the Windows 95 loader "
                        "does not run its callbacks)")


def check_sections(image, findings):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    _, sections, _, symbols, symbolCount, optionalSize = struct.unpack_from("<HHIIIH", image, pe + 4)
    if symbols or symbolCount:
        findings.append(f"has a symbol table ({symbolCount} symbols at {symbols:#x})")
    fileAlignment = struct.unpack_from("<I", image, pe + 24 + 36)[0]
    table = pe + 24 + optionalSize
    for i in range(sections):
        name, _, _, rawSize, rawOffset = struct.unpack_from("<8sIIII", image, table + 40 * i)
        name = name.rstrip(b"\0").decode()
        if rawSize % fileAlignment or rawOffset % fileAlignment:
            findings.append(f"section {name}: raw size {rawSize:#x} at {rawOffset:#x} is not "
                            f"a multiple of the file alignment {fileAlignment:#x}")
    if len(image) > SIZE_LIMIT:
        findings.append(f"{len(image)} bytes, more than {SIZE_LIMIT}")


def read_map(mapFile):
    """Symbol addresses from the link map, and where the constructor lists start."""
    functions, lists = [], None
    try:
        lines = open(mapFile, encoding="latin-1").readlines()
    except OSError:
        lines = []
    for line in lines:
        match = re.match(r"\s+0x([0-9a-f]{8})\s+([^ =].*?)\s*$", line)
        if match:
            functions.append((int(match.group(1), 16), match.group(2)))
        start = re.match(r"\s+0x([0-9a-f]{8})\s+___CTOR_LIST__ = \.", line)
        if start:
            lists = int(start.group(1), 16)
    functions.sort()
    return functions, lists


def function_at(functions, address):
    name = "?"
    for start, symbol in functions:
        if start > address:
            break
        name = symbol
    return name


def newer_processor(mnemonic, operands):
    for processor, names in NEWER_MNEMONICS.items():
        if mnemonic in names:
            return processor
    for prefix, processor in NEWER_PREFIXES:
        if mnemonic.startswith(prefix):
            return processor
    if MEDIA_REGISTER.search(operands):
        return "MMX or SSE"
    if mnemonic == "(bad)":
        return "undecodable"
    return None


def read_symbols(objdump, exe):
    """Symbol addresses from the image's own table, for an image linked without a map."""
    headers = run(objdump, "-p", exe)
    code = int(header_value(headers, "ImageBase"), 16) + int(header_value(headers, "BaseOfCode"), 16)
    functions = []
    for line in run(objdump, "-t", "-C", exe).splitlines():
        # functions (type 20) of the first section, the code
        match = re.match(r"\[\s*\d+\]\(sec\s+1\).*\(ty\s+20\).* 0x([0-9a-f]+) (.+)$", line)
        if match:
            functions.append((code + int(match.group(1), 16), match.group(2)))
    return sorted(functions)


def check_code(objdump, exe, mapFile, findings):
    functions, lists = read_map(mapFile)
    if not functions:
        functions = read_symbols(objdump, exe)
    # the constructor and destructor lists close the code section: data, not code; an
    # empty constructor list is the marker -1 followed at once by the end 0
    stop = ["--stop-address", hex(lists)] if lists else []
    listing = run(objdump, "-d", "--no-show-raw-insn", *stop, exe)
    seen = {}
    for line in listing.splitlines():
        match = re.match(r"\s*([0-9a-f]+):\t(\S+)\s*(.*)", line)
        if not match:
            continue
        words = [match.group(2)] + match.group(3).split()
        while words and words[0] in INSTRUCTION_PREFIXES:
            words.pop(0)
        if not words:
            continue
        mnemonic, operands = words[0], " ".join(words[1:])
        processor = newer_processor(mnemonic, operands)
        if processor:
            where = function_at(functions, int(match.group(1), 16))
            seen.setdefault((mnemonic, processor), []).append(where)
    for (mnemonic, processor), places in sorted(seen.items()):
        names = sorted(set(places))
        shown = ", ".join(names[:6]) + (f" and {len(names) - 6} more" if len(names) > 6 else "")
        findings.append(f"{len(places)} x {mnemonic} ({processor}) in {len(names)} "
                        f"function(s): {shown}")
    if lists:
        words = run(objdump, "-s", "--start-address", hex(lists),
                    "--stop-address", hex(lists + 8), exe)
        if "ffffffff 00000000" not in words:
            findings.append("static constructors are listed, and nothing runs them")


def check_library(objdump, library, findings):
    # a static constructor in the program's code would never run: no start-up code calls it
    for line in run(objdump, "-h", library).splitlines():
        if re.search(r"\s\.(ctors|init_array)\b", line):
            findings.append(f"the program's code has a static constructor ({line.split()[1]})")


def main():
    objdump, exe, mapFile, library = sys.argv[1:5]
    image = open(exe, "rb").read()
    headers = run(objdump, "-p", exe)
    findings = []
    check_imports(headers, findings)
    check_headers(headers, findings)
    check_sections(image, findings)
    check_code(objdump, exe, mapFile, findings)
    check_library(objdump, library, findings)
    for finding in findings:
        print(f"{exe}: {finding}")
    if not findings:
        print(f"{exe}: {len(image)} bytes; imports, instructions and headers fit "
              "Windows 95 and NT 4.0 on an 80386")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
