#!/usr/bin/env python3
"""Prints the file version of a Windows program ("1.0.0.1") from its version resource."""
import struct
import sys

SIGNATURE = 0xFEEF04BD  # VS_FIXEDFILEINFO


def file_version(data):
    at = data.find(struct.pack("<I", SIGNATURE))
    if at < 0:
        return None
    _, _, high, low = struct.unpack_from("<IIII", data, at)
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        version = file_version(f.read())
    if not version:
        sys.exit("%s has no version resource" % sys.argv[1])
    print(version)
