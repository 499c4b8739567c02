#!/usr/bin/python3
"""What the shipped module needs from a user's computer is what the guide
says it needs.

    module_needs.py PLATFORM MODULE GUIDE.html OBJDUMP

linux-x86_64: every library the module names is one the guide's Linux
section lists, and the C and C++ library versions it asks for are no newer
than the guide says. windows-x64: a 64-bit module that needs nothing but
Windows' own DLLs, so that no runtime has to be installed.
Prints one line per problem and exits with 1 when there is any."""

import re
import subprocess
import sys

# The C++ library version that each GCC release brought.
GLIBCXX_OF_GCC = {9: (3, 4, 26), 10: (3, 4, 28), 11: (3, 4, 29), 12: (3, 4, 30), 13: (3, 4, 31),
                  14: (3, 4, 33)}
# What the guide calls each library a Linux module may need.
LINUX_LIBRARIES = {
    "libc.so.6": "GNU C library", "libm.so.6": "GNU C library",
    "ld-linux-x86-64.so.2": "GNU C library", "libstdc++.so.6": "C++ library of GCC",
    "libgcc_s.so.1": "C++ library of GCC", "libpng16.so.16": "libpng 1.6",
    "libX11.so.6": "libX11", "libXext.so.6": "libXext",
}
# DLLs that come with a compiler or a library rather than with Windows.
NOT_WINDOWS = re.compile(r"^(lib|zlib|png)|mingw|pthread|gcc|stdc\+\+", re.I)


def objdump(tool, *args):
    return subprocess.run([tool] + list(args), capture_output=True, text=True, check=True).stdout


def text_of(html_path):
    with open(html_path, encoding="utf-8") as f:
        return " ".join(re.sub(r"<[^>]+>", " ", f.read()).split())


def version(text):
    return tuple(int(x) for x in text.split("."))


def linux_problems(module, guide, tool):
    problems = []
    glibc = re.search(r"GNU C library (\d+\.\d+) or newer", guide)
    gcc = re.search(r"C\+\+ library of GCC (\d+) or newer", guide)
    if not glibc or not gcc:
        return ["the guide names no C or C++ library version for Linux"]
    symbols = objdump(tool, "-T", module)
    wanted_c = max((version(v) for v in re.findall(r"\bGLIBC_(\d+\.\d+(?:\.\d+)?)", symbols)),
                   default=(0,))
    wanted_cxx = max((version(v) for v in re.findall(r"\bGLIBCXX_(\d+\.\d+\.\d+)", symbols)),
                     default=(0,))
    if wanted_c > version(glibc.group(1)):
        problems.append("the module needs GLIBC %s, the guide says %s" %
                        (".".join(map(str, wanted_c)), glibc.group(1)))
    allowed = GLIBCXX_OF_GCC.get(int(gcc.group(1)))
    if allowed is None or wanted_cxx > allowed:
        problems.append("the module needs GLIBCXX %s, more than GCC %s's" %
                        (".".join(map(str, wanted_cxx)), gcc.group(1)))
    for lib in re.findall(r"NEEDED\s+(\S+)", objdump(tool, "-p", module)):
        name = LINUX_LIBRARIES.get(lib)
        if name is None or name not in guide:
            problems.append("the module needs %s, which the guide does not name" % lib)
    return problems


def windows_problems(module, tool):
    problems = []
    if "pei-x86-64" not in objdump(tool, "-f", module):
        problems.append("the module is not a 64-bit Windows DLL")
    for dll in re.findall(r"DLL Name:\s*(\S+)", objdump(tool, "-p", module)):
        if NOT_WINDOWS.search(dll):
            problems.append("the module needs %s, which Windows does not have" % dll)
    return problems


def main(argv):
    platform, module, guide, tool = argv
    if platform == "linux-x86_64":
        problems = linux_problems(module, text_of(guide), tool)
    else:
        problems = windows_problems(module, tool)
    for p in problems:
        print("FAIL: " + p)
    if not problems:
        print("the module needs from the system only what the guide says")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
