"""What a Windows program needs from the system before its first line runs: the DLLs and
functions in its import table, read with MinGW's objdump. Wine carries many DLLs that Windows
lacks, so a program that starts under Wine may still stop on Windows with "xyz.dll was not found";
only the import table tells."""
import re
import subprocess

OBJDUMP = "i686-w64-mingw32-objdump"

# DLLs that every Windows 7 to 11 system has in system32.
WINDOWS_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "dbghelp.dll",
    "dwmapi.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll", "kernel32.dll", "msimg32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "usp10.dll", "uxtheme.dll", "version.dll", "winhttp.dll", "winmm.dll", "ws2_32.dll",
}

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


def faults(path, beside=()):
    """Why the program at path would not start on a bare Windows 7 to 11: one line for each DLL
    that is neither Windows' own nor shipped beside it (names in lower case), and for each
    function imported at load time that Windows 7 lacks. Empty when it starts everywhere."""
    found = []
    for dll, functions in sorted(imports(path).items()):
        if dll not in WINDOWS_DLLS and dll not in beside:
            found.append("%s: Windows has no such DLL (imports %s)" % (dll, ", ".join(functions[:6])))
            continue
        for function in functions:
            since = NEWER_THAN_WINDOWS_7.get(dll, {}).get(function)
            if since:
                found.append("%s!%s: new in %s; look it up at run time" % (dll, function, since))
    return found
