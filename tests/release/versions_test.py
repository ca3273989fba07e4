#!/usr/bin/env python3
"""One version everywhere: the version of project() in CMakeLists.txt is the
one in every deliverable's name in dist/, in vorlith.exe's version resource
(the zip's own vorlith.exe), in the .deb and the .dsc, in debian/changelog's
top entry, in the metainfo's newest <release>, in the web app's cache name
and in CHANGELOG.md's top entry; the three dated entries have one date; the
source tarball unpacks to one folder vorlith-VERSION/; SHA256SUMS holds every
file of dist/ with its right sum. Needs a release in dist/ (scripts/release):
fails without one.

usage: versions_test.py SOURCE_DIR DIST_DIR [unittest arguments]
"""
import email.utils
import hashlib
import io
import os
import re
import struct
import subprocess
import sys
import tarfile
import unittest
import xml.etree.ElementTree as ET
import zipfile

SOURCE, DIST = (os.path.abspath(a) for a in sys.argv[1:3])


def read(*path, mode="r"):
    with open(os.path.join(*path), mode, **({} if "b" in mode else {"encoding": "utf-8"})) as f:
        return f.read()


VERSION = re.search(r"^project\(vorlith VERSION (\d+\.\d+\.\d+)[ )]", read(SOURCE, "CMakeLists.txt"),
                    re.M).group(1)


def version_resource(exe: bytes) -> dict:
    """The fixed file and product versions and the version strings of a PE
    program's VS_VERSIONINFO resource."""
    out = {}
    at = exe.index(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", exe, at + 8)
    for key, ms, ls in (("fixed FileVersion", file_ms, file_ls),
                        ("fixed ProductVersion", product_ms, product_ls)):
        out[key] = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    for key in ("FileVersion", "ProductVersion"):
        name = (key + "\0").encode("utf-16-le")
        at = exe.index(name, exe.index("StringFileInfo".encode("utf-16-le"))) + len(name)
        while exe[at:at + 2] == b"\0\0":  # padding to the value's 32-bit boundary
            at += 2
        end = at
        while exe[end:end + 2] != b"\0\0":
            end += 2
        out[key] = exe[at:end].decode("utf-16-le")
    return out


class Versions(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.isdir(DIST) or not os.listdir(DIST):
            raise RuntimeError(f"no release in {DIST}: run scripts/release first")

    def test_dist_holds_each_deliverable_named_with_the_version_and_nothing_else(self):
        v = VERSION
        self.assertEqual(sorted(os.listdir(DIST)), sorted([
            "SHA256SUMS", f"vorlith-{v}-windows-x86_64.zip", f"vorlith-{v}.html", f"vorlith-{v}.tar.gz",
            f"vorlith-{v}-web.zip",
            f"vorlith-dbgsym_{v}_amd64.deb", f"vorlith_{v}.dsc", f"vorlith_{v}.tar.xz",
            f"vorlith_{v}_amd64.deb", "web"]))

    def test_vorlith_exe_in_the_zip_has_the_version_in_its_resource(self):
        with zipfile.ZipFile(os.path.join(DIST, f"vorlith-{VERSION}-windows-x86_64.zip")) as z:
            resource = version_resource(z.read("vorlith.exe"))
        self.assertEqual(resource, {"fixed FileVersion": VERSION + ".0", "fixed ProductVersion": VERSION + ".0",
                                    "FileVersion": VERSION, "ProductVersion": VERSION})

    def test_debian_packages_and_changelog_have_the_version(self):
        for deb in (f"vorlith_{VERSION}_amd64.deb", f"vorlith-dbgsym_{VERSION}_amd64.deb"):
            field = subprocess.run(["dpkg-deb", "-f", os.path.join(DIST, deb), "Version"],
                                   check=True, capture_output=True, text=True).stdout.strip()
            self.assertEqual(field, VERSION, deb)
        self.assertRegex(read(DIST, f"vorlith_{VERSION}.dsc"), rf"(?m)^Version: {re.escape(VERSION)}$")
        self.assertRegex(read(SOURCE, "debian", "changelog").splitlines()[0],
                         rf"^vorlith \({re.escape(VERSION)}\) ")

    def test_metainfo_changelog_and_debian_changelog_have_the_newest_release_on_one_date(self):
        metainfo = ET.parse(os.path.join(SOURCE, "assets", "io.github.vorlith.Vorlith.metainfo.xml"))
        newest = metainfo.getroot().find("releases/release")
        top = re.search(r"(?m)^## \[(.+?)\] - (\d{4}-\d{2}-\d{2})$", read(SOURCE, "CHANGELOG.md"))
        debian = re.search(r"(?m)^ -- .+?  (.+)$", read(SOURCE, "debian", "changelog")).group(1)
        self.assertEqual((newest.get("version"), top.group(1)), (VERSION, VERSION))
        self.assertEqual({newest.get("date"), top.group(2),
                          email.utils.parsedate_to_datetime(debian).date().isoformat()},
                         {top.group(2)})

    def test_web_app_cache_is_named_with_the_version(self):
        self.assertRegex(read(DIST, "web", "sw.js"),
                         rf"(?m)^const RELEASE = 'vorlith-{re.escape(VERSION)}-[0-9a-f]{{16}}';$")

    def test_archives_unpack_to_one_folder_named_with_the_version(self):
        with tarfile.open(os.path.join(DIST, f"vorlith-{VERSION}.tar.gz")) as tar:
            tops = {member.name.split("/")[0] for member in tar.getmembers()}
            self.assertEqual(tops, {f"vorlith-{VERSION}"})
            self.assertIn(f"vorlith-{VERSION}/CMakeLists.txt", tar.getnames())
        with zipfile.ZipFile(os.path.join(DIST, f"vorlith-{VERSION}-web.zip")) as z:  # dist/web in one folder
            files = [(entry.filename, z.read(entry)) for entry in z.infolist()]
        self.assertEqual(files, [(f"vorlith-{VERSION}-web/{name}", read(DIST, "web", name, mode="rb"))
                                 for name in sorted(os.listdir(os.path.join(DIST, "web")), key=str.encode)])

    def test_sha256sums_holds_every_file_with_its_sum(self):
        listed = dict(reversed(line.split("  ", 1)) for line in read(DIST, "SHA256SUMS").splitlines())
        files = sorted(os.path.relpath(os.path.join(top, name), DIST)
                       for top, _, names in os.walk(DIST) for name in names if name != "SHA256SUMS")
        self.assertEqual(sorted(listed), files)
        for name in files:
            self.assertEqual(listed[name], hashlib.sha256(read(DIST, name, mode="rb")).hexdigest(), name)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
