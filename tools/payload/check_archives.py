#!/usr/bin/env python3
"""Checks the generated product archives with Python's own ZIP reader, and the two command-line
tools end to end: kv_payload must be reproducible and peversion must read what it wrote."""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

EXPECTED = {
    "vst3.zip": [
        ("Strandline2.vst3\\Contents\\", zipfile.ZIP_STORED),
        ("Strandline2.vst3\\desktop.ini", zipfile.ZIP_DEFLATED),
        ("Strandline2.vst3\\Plugin.ico", zipfile.ZIP_DEFLATED),
        ("Strandline2.vst3\\Contents\\Resources\\moduleinfo.json", zipfile.ZIP_DEFLATED),
        ("Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3", zipfile.ZIP_DEFLATED),
    ],
    "clap.zip": [
        ("Strandline2.clap", zipfile.ZIP_DEFLATED),
    ],
    "aax.zip": [
        ("Strandline2.aaxplugin\\Contents\\", zipfile.ZIP_STORED),
        ("Strandline2.aaxplugin\\desktop.ini", zipfile.ZIP_DEFLATED),
        ("Strandline2.aaxplugin\\Plugin.ico", zipfile.ZIP_DEFLATED),
        ("Strandline2.aaxplugin\\Contents\\x64\\Strandline2.aaxplugin", zipfile.ZIP_DEFLATED),
    ],
}

DESKTOP_INI = b"[.ShellClassInfo]\r\nIconResource=Plugin.ico,0\r\nIconFile=Plugin.ico\r\nIconIndex=0\r\n"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


def is_pe32_plus_dll(data):
    if len(data) < 0x40 or data[:2] != b"MZ":
        return False
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, = struct.unpack_from("<H", data, pe + 4)
    characteristics, = struct.unpack_from("<H", data, pe + 22)
    magic, = struct.unpack_from("<H", data, pe + 24)
    return data[pe:pe + 4] == b"PE\0\0" and machine == 0x8664 and magic == 0x20B and characteristics & 0x2000


def check_archive(path, modules_out):
    name = os.path.basename(path)
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        check([(i.filename, i.compress_type) for i in infos] == EXPECTED[name], name + ": entries or methods differ")
        check(archive.comment == b"", name + ": has a comment")
        check(archive.testzip() is None, name + ": CRC mismatch")
        for info in infos:
            check(info.create_system == 0, name + ": " + info.filename + " not made on MS-DOS/FAT")
            check(info.flag_bits & 0x08 == 0, name + ": " + info.filename + " uses a data descriptor")
        module = infos[-1]
        ratio = module.compress_size / module.file_size
        print("%s: %d bytes, module %d -> %d bytes (%.1f%%)" % (name, os.path.getsize(path), module.file_size,
                                                               module.compress_size, 100 * ratio))
        check(0.50 <= ratio <= 0.65, name + ": module deflates to %.1f%%" % (100 * ratio))
        data = archive.read(module)
        check(is_pe32_plus_dll(data), name + ": module is not a PE32+ DLL")
        module_path = os.path.join(modules_out, name + ".module")
        with open(module_path, "wb") as f:
            f.write(data)
        for info in infos:
            if info.filename.endswith("desktop.ini"):
                check(archive.read(info) == DESKTOP_INI, name + ": desktop.ini differs")
        return module_path


def read_all(folder):
    return {n: open(os.path.join(folder, n), "rb").read() for n in EXPECTED}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--archives", required=True, help="folder holding vst3.zip, clap.zip, aax.zip")
    parser.add_argument("--generator", help="kv_payload, to check it is reproducible")
    parser.add_argument("--peversion", help="peversion, to check it reads the modules")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as temp:
        modules = [check_archive(os.path.join(args.archives, n), temp) for n in EXPECTED]

        if args.peversion:
            listed = subprocess.run([args.peversion] + modules + [args.archives], capture_output=True, text=True)
            check(listed.returncode == 0, "peversion failed")
            expected = "".join("2.3.0.0\t%s\n" % m for m in modules) + "\t%s\n" % args.archives
            check(listed.stdout == expected, "peversion printed:\n" + listed.stdout)

        if args.generator:
            outputs = [os.path.join(temp, "first"), os.path.join(temp, "second")]
            for out in outputs:
                run = subprocess.run([args.generator, out, "--module-bytes", "120000"], capture_output=True)
                check(run.returncode == 0, "kv_payload failed: " + run.stderr.decode())
            check(read_all(outputs[0]) == read_all(outputs[1]), "kv_payload is not reproducible")
            bad = subprocess.run([args.generator, outputs[0], "--module-bytes", "lots"], capture_output=True)
            check(bad.returncode != 0, "kv_payload accepted a bad size")

    print("%d passed, %d failed" % (1 if not failures else 0, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
