"""What a Windows program needs from the system before its first line runs: the DLLs and
functions in its import table, read with MinGW's objdump. Wine carries many DLLs that Windows
lacks, so a program that starts under Wine may still stop on Windows with "xyz.dll was not found";
only the import table tells. Also where Windows takes those DLLs from: a load-time import that is
not a KnownDLL is looked for in the program's folder first, so it must be delay-loaded."""
import re
import struct
import subprocess

OBJDUMP = "i686-w64-mingw32-objdump"

# DLLs that every Windows 7 to 11 system has in system32.
WINDOWS_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "dbghelp.dll",
    "dwmapi.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll", "kernel32.dll", "msimg32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "usp10.dll", "uxtheme.dll", "version.dll", "winhttp.dll", "winmm.dll", "ws2_32.dll",
}

# The KnownDLLs that Windows 7, 8.1, 10 and 11 all have: the values of
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs on a stock Windows 7 SP1
# (advapi32 clbcatq comdlg32 DifxApi gdi32 IERTUTIL IMAGEHLP kernel32 LPK MSCTF MSVCRT NORMALIZ NSI
# ole32 OLEAUT32 PSAPI rpcrt4 sechost Setupapi SHELL32 SHLWAPI URLMON user32 USP10 WININET WLDAP32
# WS2_32) and on Windows 10 and 11, where USP10, LPK, URLMON, WININET and IERTUTIL left the list
# and combase, gdiplus, IMM32, SHCORE and others came (the \KnownDlls listing of Windows 10 in the
# Dependencies project's issue 113 on GitHub, lucasg/Dependencies). Microsoft's "Dynamic-link
# library search order" says a DLL on that list is taken from the system folder, and any other is
# looked for in the program's folder first. Only the intersection holds on every Windows.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll", "imagehlp.dll", "kernel32.dll",
    "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll",
    "ws2_32.dll",
}
KNOWN_DLLS_SOURCE = ("HKLM\\...\\Session Manager\\KnownDLLs of Windows 7 and of Windows 10/11 "
                     "(tests/e2e/windows_imports.py)")

# DLLs that the side-by-side assembly named in the program's manifest supplies: activation context
# redirection comes before the search order (Microsoft's "Dynamic-link library search order",
# factor "Side-by-side (SxS) manifest redirection"), so they come from the system's WinSxS store.
MANIFEST_ASSEMBLIES = {"comctl32.dll": b"Microsoft.Windows.Common-Controls"}

# Functions Windows 7 lacks, with the Windows that brought each (the "Minimum supported client"
# of Microsoft's documentation). The program must look these up at run time.
NEWER_THAN_WINDOWS_7 = {
    "kernel32.dll": {
        "GetSystemTimePreciseAsFileTime": "Windows 8",
        "CreateFile2": "Windows 8",
        "CopyFile2": "Windows 8",
        "GetCurrentThreadStackLimits": "Windows 8",
        "GetOverlappedResultEx": "Windows 8",
        "WaitOnAddress": "Windows 8",
        "WakeByAddressSingle": "Windows 8",
        "WakeByAddressAll": "Windows 8",
        "SetDefaultDllDirectories": "Windows 8 (Windows 7 only with KB2533623)",
        "AddDllDirectory": "Windows 8 (Windows 7 only with KB2533623)",
        "RemoveDllDirectory": "Windows 8 (Windows 7 only with KB2533623)",
        "GetProcessMitigationPolicy": "Windows 8",
        "SetProcessMitigationPolicy": "Windows 8",
        "PrefetchVirtualMemory": "Windows 8",
        "GetCurrentPackageId": "Windows 8",
        "SetThreadDescription": "Windows 10 1607",
        "GetThreadDescription": "Windows 10 1607",
        "GetTempPath2W": "Windows 11",
        "GetTempPath2A": "Windows 11",
    },
    "user32.dll": {
        "LogicalToPhysicalPointForPerMonitorDPI": "Windows 8.1",
        "PhysicalToLogicalPointForPerMonitorDPI": "Windows 8.1",
        "EnableMouseInPointer": "Windows 8",
        "GetPointerInfo": "Windows 8",
        "GetPointerType": "Windows 8",
        "SetThreadDpiAwarenessContext": "Windows 10 1607",
        "GetThreadDpiAwarenessContext": "Windows 10 1607",
        "GetWindowDpiAwarenessContext": "Windows 10 1607",
        "GetAwarenessFromDpiAwarenessContext": "Windows 10 1607",
        "AreDpiAwarenessContextsEqual": "Windows 10 1607",
        "IsValidDpiAwarenessContext": "Windows 10 1607",
        "GetDpiForWindow": "Windows 10 1607",
        "GetDpiForSystem": "Windows 10 1607",
        "GetSystemMetricsForDpi": "Windows 10 1607",
        "AdjustWindowRectExForDpi": "Windows 10 1607",
        "SystemParametersInfoForDpi": "Windows 10 1607",
        "EnableNonClientDpiScaling": "Windows 10 1607",
        "SetProcessDpiAwarenessContext": "Windows 10 1703",
        "GetDpiFromDpiAwarenessContext": "Windows 10 1803",
        "SetThreadDpiHostingBehavior": "Windows 10 1803",
    },
    "bcrypt.dll": {
        "BCryptHash": "Windows 10",
        "BCryptCreateMultiHash": "Windows 8.1",
        "BCryptKeyDerivation": "Windows 8",
    },
    "winhttp.dll": {
        "WinHttpWebSocketCompleteUpgrade": "Windows 8",
        "WinHttpWebSocketSend": "Windows 8",
        "WinHttpWebSocketReceive": "Windows 8",
    },
    "gdi32.dll": {
        "D3DKMTGetDWMVerticalBlankEvent": "Windows 8",
    },
}


def imports(path):
    """{dll name in lower case: [function names]} of the PE file at path."""
    out = subprocess.run([OBJDUMP, "-p", path], capture_output=True, text=True, timeout=60, check=True).stdout
    table = {}
    current = None
    for line in out.splitlines():
        name = re.match(r"\s*DLL Name: (\S+)", line)
        if name:
            current = table.setdefault(name.group(1).lower(), [])
            continue
        if current is None:
            continue
        entry = re.match(r"\s*[0-9a-f]+\s+(\d+)\s+(\S+)\s*$", line)
        if entry:
            current.append(entry.group(2))
        elif not line.strip() or line.lstrip().startswith("vma:"):
            continue
        else:
            current = None
    return table


class _Image:
    """The sections of a 32-bit PE file, to read what lies at a relative virtual address."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        count, optional_size = struct.unpack_from("<H12xH", self.data, pe + 6)
        first = pe + 24 + optional_size
        self.sections = []
        for i in range(count):
            size, address, raw_size, raw = struct.unpack_from("<IIII", self.data, first + 40 * i + 8)
            self.sections.append((address, max(size, raw_size), raw))

    def offset(self, rva):
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return raw + rva - address
        return None

    def dword(self, rva):
        offset = self.offset(rva)
        return struct.unpack_from("<I", self.data, offset)[0] if offset is not None else None

    def text(self, rva):
        offset = self.offset(rva)
        if offset is None:
            return None
        end = self.data.find(b"\0", offset, offset + 256)
        return self.data[offset:end] if end > offset else None


def delay_imports(path):
    """{dll name in lower case: [function names]} loaded on first use through the delay-load
    helper. GNU ld leaves the delay-import directory empty, so the descriptors (eight words: the
    attribute 1, then the addresses of the name, the handle, the address table and the name
    table, and zeros) are found by their shape."""
    image = _Image(path)
    table = {}
    for offset in range(0, len(image.data) - 32, 4):
        attributes, name, handle, iat, names, bound, unload, stamp = struct.unpack_from("<8I", image.data, offset)
        if attributes != 1 or bound or unload or stamp or not (name and handle and iat and names):
            continue
        dll = image.text(name)
        if not dll or not re.fullmatch(rb"[A-Za-z0-9_.-]+\.dll", dll, re.I) or image.offset(names) is None:
            continue
        functions = []
        entry = names
        while True:
            thunk = image.dword(entry)
            if not thunk:
                break
            if thunk & 0x80000000:
                functions.append("#%d" % (thunk & 0xFFFF))
            else:
                function = image.text(thunk + 2)
                if function is None:
                    break
                functions.append(function.decode("ascii", "replace"))
            entry += 4
        table[dll.decode("ascii").lower()] = functions
    return table


def manifest_assemblies(path):
    """The assembly names of the dependencies in the manifest the program carries."""
    with open(path, "rb") as f:
        data = f.read()
    found = set()
    for manifest in re.findall(rb"<assembly.*?</assembly>", data, re.S):
        for dependency in re.findall(rb"<dependentAssembly>(.*?)</dependentAssembly>", manifest, re.S):
            found.update(re.findall(rb'name="([^"]+)"', dependency))
    return found


def table_faults(loaded, delayed=None, assemblies=(), beside=()):
    """The faults of import tables: loaded at start, delayed on first use ({dll: [functions]}),
    with the program's manifest dependencies and the DLLs shipped beside it."""
    found = []
    both = [(dll, functions, True) for dll, functions in loaded.items()]
    both += [(dll, functions, False) for dll, functions in (delayed or {}).items()]
    for dll, functions, at_start in sorted(both):
        if dll in beside:
            continue
        if dll not in WINDOWS_DLLS:
            found.append("%s: Windows has no such DLL (imports %s)" % (dll, ", ".join(functions[:6])))
            continue
        if at_start and dll not in KNOWN_DLLS and MANIFEST_ASSEMBLIES.get(dll) not in assemblies:
            found.append("%s: imported at load time but not a KnownDLL on every Windows 7 to 11, so Windows "
                         "looks for it in the program's folder first; delay-load it from the system folder "
                         "(KnownDLLs: %s)" % (dll, KNOWN_DLLS_SOURCE))
        for function in functions:
            since = NEWER_THAN_WINDOWS_7.get(dll, {}).get(function)
            if since:
                found.append("%s!%s: new in %s; look it up at run time" % (dll, function, since))
    return found


def faults(path, beside=()):
    """Why the program at path would not start, or would start someone else's DLL, on a bare
    Windows 7 to 11: one line for each DLL that is neither Windows' own nor shipped beside it
    (names in lower case), each Windows DLL imported at load time that Windows may take from the
    program's folder, and each function, imported at load time or delay-loaded, that Windows 7
    lacks. Empty when it starts everywhere with the system's DLLs."""
    return table_faults(imports(path), delay_imports(path), manifest_assemblies(path), beside)
