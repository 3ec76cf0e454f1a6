#!/usr/bin/env python3
"""Packs a built windows configuration into the release: the zip, its SHA-256 and a winget
manifest. Every byte follows from the build's files, the commit's time and the build machine's
packages, so two runs over the same build give the same files.

    package.py --build build/windows --out dist --epoch <commit time> --commit <id>

The version and the release's address pattern are read from the build's CMake cache (the
project's VERSION and VELKARO_RELEASE_ADDRESS). Only the Python standard library is used.
"""

import argparse
import hashlib
import json
import os
import re
import string
import struct
import subprocess
import sys
import time
import urllib.parse
import zipfile
from pathlib import Path

PRODUCT = "Velkarostrandemilquorbenix"
EXECUTABLES = {f"{PRODUCT}.exe": "app", "vlk.exe": "app/vlk"}  # name in the zip: build folder
HERE = Path(__file__).resolve().parent

# What the toolchain may link into a shipped executable, named by the Debian package that holds
# the file (and for mingw-w64's package by the file). A file of another package stops the
# packing: nothing is linked in without a name in the bill of materials.
COMPONENTS = {
    "mingw-w64 runtime": ("mingw-w64-x86-64-dev", "NOASSERTION",
                          "The C runtime start-up, libmingw32, libmingwex, the msvcrt and Windows "
                          "import libraries; ZPL-2.1, public domain and others, see licenses/"),
    "winpthreads": ("mingw-w64-x86-64-dev", "MIT AND BSD-3-Clause", "POSIX threads for Windows"),
    "libstdc++": ("g++-mingw-w64-x86-64-posix", "GPL-3.0-or-later WITH GCC-exception-3.1",
                  "The GNU C++ standard library"),
    "libgcc": ("gcc-mingw-w64-x86-64-posix", "GPL-3.0-or-later WITH GCC-exception-3.1",
               "GCC's support routines and unwinder"),
    "nlohmann/json": ("nlohmann-json3-dev", "MIT", "JSON for Modern C++, header-only"),
}
BUILD_TOOLS = {"mingw-w64 GCC": "g++-mingw-w64-x86-64-posix",
               "mingw-w64 binutils": "binutils-mingw-w64-x86-64"}


def component_of(package, file_name):
    if package == "mingw-w64-x86-64-dev":
        return "winpthreads" if file_name in ("libpthread.a", "libwinpthread.a") else "mingw-w64 runtime"
    return next((name for name, (owner, _, _) in COMPONENTS.items() if owner == package), None)


def fail(message):
    sys.exit(f"package: {message}")


def dpkg(*arguments, check=True):
    return subprocess.run(["dpkg-query", *arguments], check=check, capture_output=True,
                          text=True).stdout


def owners(paths):
    """The Debian package of each file (None: no package's), by its path as the linker names it."""
    real = {path: os.path.realpath(path) for path in paths}
    found = {}
    for line in dpkg("-S", *sorted(set(real.values())), check=False).splitlines():
        package, _, path = line.partition(": ")
        if path.startswith("/"):
            found[path] = package.split(":")[0]
    return {path: found.get(r) for path, r in real.items()}


def linked_files(map_file):
    """The files outside the build whose code the linker's map shows in the executable: archives
    with a member taken, objects loaded, and the json header's functions."""
    text = map_file.read_text(errors="replace")
    archives, _, memory_map = text.partition("\nLinker script and memory map\n")
    archives = archives.partition("\nDiscarded input sections")[0]
    files = set(re.findall(r"^(/\S+\.a)\(", archives, re.M))
    files |= set(re.findall(r"^LOAD (/\S+\.o)$", memory_map, re.M))
    return files, "_ZN8nlohmann" in memory_map


def sha(data, algorithm="sha256"):
    return hashlib.new(algorithm, data).hexdigest()


def check_version(name, exe, version, number):
    """The one version reached the executable: its version resource and manifest, and in the
    program the About dialog and the update check's user agent."""
    wide = lambda text: text.encode("utf-16-le")
    at = exe.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO
    high, low = struct.unpack_from("<II", exe, at + 8) if at >= 0 else (0, 0)
    marks = {
        "FILEVERSION": (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF) ==
                       (*map(int, version.split(".")), 0),
        "ProductVersion": re.search(re.escape(wide("ProductVersion\0")) + b"(\0\0)?" +
                                    re.escape(wide(version + "\0")), exe),
        "manifest": re.search(rb'<assemblyIdentity type="win32" name="[^"]+" version="' +
                              re.escape(f'{version}.0"'.encode()), exe),
    }
    if name == f"{PRODUCT}.exe":
        marks["About"] = wide(f"Version {version} (64-bit)") in exe
        marks["user agent"] = wide(f"{PRODUCT}/{number}\0") in exe
    missing = [mark for mark, found in marks.items() if not found]
    if missing:
        fail(f"{name} does not carry version {version} in: {', '.join(missing)}")


def bill_of_materials(version, epoch, address, executables, build):
    """SPDX 2.3: the executables, what is linked into each, and the tools that built them."""
    doc_id = sha("".join(sha(data) for data in executables.values()).encode())[:32]
    origin = re.match(r"https?://[^/]+", address).group(0)
    packages = [{"SPDXID": "SPDXRef-Package-product", "name": PRODUCT, "versionInfo": version,
                 "primaryPackagePurpose": "APPLICATION", "supplier": "Organization: Quenorith",
                 "downloadLocation": address.format(version=version, file=zip_name(version)),
                 "filesAnalyzed": False, "licenseConcluded": "NOASSERTION",
                 "licenseDeclared": "NOASSERTION", "copyrightText": "NOASSERTION"}]
    files, relationships = [], [{"spdxElementId": "SPDXRef-DOCUMENT",
                                 "relationshipType": "DESCRIBES",
                                 "relatedSpdxElement": "SPDXRef-Package-product"}]
    used, licenses = {}, {}
    for name, data in executables.items():
        file_id = "SPDXRef-File-" + re.sub(r"[^A-Za-z0-9.-]", "-", name)
        files.append({"SPDXID": file_id, "fileName": f"./{name}",
                      "checksums": [{"algorithm": "SHA1", "checksumValue": sha(data, "sha1")},
                                    {"algorithm": "SHA256", "checksumValue": sha(data)}],
                      "licenseConcluded": "NOASSERTION", "copyrightText": "NOASSERTION"})
        relationships.append({"spdxElementId": "SPDXRef-Package-product",
                              "relationshipType": "CONTAINS", "relatedSpdxElement": file_id})
        paths, uses_json = linked_files(build / EXECUTABLES[name] / f"{name}.map")
        if uses_json:
            paths.add(os.path.realpath(build / "third_party/include/nlohmann/json.hpp"))
        found = set()
        for path, package in sorted(owners(paths).items()):
            component = component_of(package, os.path.basename(path)) if package else None
            if not component:
                fail(f"{name} links {path} (package {package}), which has no name in "
                     f"packaging/package.py")
            found.add(component)
            licenses[package] = Path(f"/usr/share/doc/{package}/copyright").resolve()
        for component in sorted(found):
            used[component] = True
            relationships.append({"spdxElementId": file_id, "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": spdx_id(component)})
    for name in sorted(used):
        package, declared, summary = COMPONENTS[name]
        packages.append(debian_package(name, package, summary, declared))
    for name, package in sorted(BUILD_TOOLS.items()):
        packages.append(debian_package(name, package, "Used to build the executables",
                                       "NOASSERTION"))
        relationships.append({"spdxElementId": spdx_id(name), "relationshipType": "BUILD_TOOL_OF",
                              "relatedSpdxElement": "SPDXRef-Package-product"})
    document = {
        "spdxVersion": "SPDX-2.3", "dataLicense": "CC0-1.0", "SPDXID": "SPDXRef-DOCUMENT",
        "name": zip_name(version)[:-4],
        "documentNamespace": f"{origin}/spdx/{zip_name(version)[:-4]}-{doc_id}",
        "creationInfo": {"created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch)),
                         "creators": ["Organization: Quenorith",
                                      f"Tool: {PRODUCT}-package-{version}"]},
        "packages": packages, "files": files, "relationships": relationships}
    return (json.dumps(document, indent=2) + "\n").encode(), licenses


def spdx_id(name):
    return "SPDXRef-Package-" + re.sub(r"[^A-Za-z0-9.-]", "-", name.replace("+", "x"))


def debian_package(name, package, summary, declared):
    fields = dpkg("-W", "-f", "${Version}\t${Architecture}", package).split("\t")
    quoted = lambda text: urllib.parse.quote(text, safe="")
    return {"SPDXID": spdx_id(name), "name": name, "versionInfo": fields[0],
            "supplier": "Organization: Debian", "downloadLocation": "NOASSERTION",
            "filesAnalyzed": False, "licenseConcluded": "NOASSERTION",
            "licenseDeclared": declared, "copyrightText": "NOASSERTION",
            "summary": summary,
            "sourceInfo": f"Debian 12 package {package} {fields[0]} of the build machine",
            "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                              "referenceLocator": f"pkg:deb/debian/{quoted(package)}@"
                                                  f"{quoted(fields[0])}?arch={fields[1]}"}]}


def zip_name(version):
    return f"{PRODUCT}-{version}-windows-x64.zip"


def write_zip(path, entries, epoch):
    """Entries sorted by name, each with the commit's time (UTC) and a fixed mode."""
    # A zip's clock starts in 1980 and counts every other second.
    stamp = time.gmtime(max(epoch, 315532800) // 2 * 2)[:6]
    with zipfile.ZipFile(path, "w") as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 3
            info.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, entries[name], compresslevel=9)


def main():
    options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    options.add_argument("--build", type=Path, required=True)
    options.add_argument("--out", type=Path, required=True)
    options.add_argument("--epoch", type=int, required=True, help="the last commit's time")
    options.add_argument("--commit", required=True)
    args = options.parse_args()
    cache = dict(re.findall(r"^(\w+):\w+=(.*)$", (args.build / "CMakeCache.txt").read_text(), re.M))
    version, address = cache["CMAKE_PROJECT_VERSION"], cache["VELKARO_RELEASE_ADDRESS"]
    # The services' number, worked out here apart from the build (cmake/version.cmake), so that
    # the check below sees a build that sends the services another one.
    major, minor, patch = map(int, version.split("."))
    number = major * 100000 + minor * 1000 + patch

    executables = {name: (args.build / folder / name).read_bytes()
                   for name, folder in EXECUTABLES.items()}
    for name, data in executables.items():
        check_version(name, data, version, number)
    sbom, licenses = bill_of_materials(version, args.epoch, address, executables, args.build)
    date = time.strftime("%Y-%m-%d", time.gmtime(args.epoch))
    fields = {"version": version, "zip": zip_name(version), "commit": args.commit, "date": date}
    readme = string.Template((HERE / "README.txt").read_text()).substitute(fields)
    entries = dict(executables)
    entries["README.txt"] = readme.replace("\n", "\r\n").encode()  # Notepad before 1809
    entries[f"{PRODUCT}.spdx.json"] = sbom
    for picture in sorted((args.build / "app/previews").glob("*.png")):
        entries[f"previews/{picture.name}"] = picture.read_bytes()
    for package, copyright_file in sorted(licenses.items()):
        entries[f"licenses/{copyright_file.parent.name}.txt"] = copyright_file.read_bytes()
    entries["SHA256SUMS"] = "".join(f"{sha(entries[name])}  {name}\n"
                                    for name in sorted(entries)).encode()

    args.out.mkdir(parents=True, exist_ok=True)
    package = args.out / zip_name(version)
    write_zip(package, entries, args.epoch)
    digest = sha(package.read_bytes())
    (args.out / f"{package.name}.sha256").write_text(f"{digest}  {package.name}\n")
    fields.update(sha256=digest.upper(), url=address.format(version=version, file=package.name))
    manifests = args.out / f"winget/manifests/q/Quenorith/{PRODUCT}/{version}"
    manifests.mkdir(parents=True, exist_ok=True)
    for template in sorted((HERE / "winget").glob("*.yaml")):
        text = string.Template(template.read_text()).substitute(fields)
        (manifests / template.name.replace("PRODUCT", f"Quenorith.{PRODUCT}")).write_text(text)
    print(f"{os.path.relpath(package)}: {package.stat().st_size} bytes, {len(entries)} files")
    for name in executables:
        print(f"  {sha(entries[name])}  {name}")
    print(f"{os.path.relpath(package)}.sha256:\n  {digest}  {package.name}")
    print(f"{os.path.relpath(manifests)}/: the winget manifest")


if __name__ == "__main__":
    main()
