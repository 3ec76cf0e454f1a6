#!/usr/bin/env bash
# The release package, made twice and checked. The project's own build (the windows
# configuration, as scripts/test leaves it) is packed; then the same sources, copied into another
# folder, are configured and built from nothing (only what ships), later, with another time zone,
# locale and umask, and packed too. The executables and everything scripts/package writes must be
# byte for byte the same. Then the package's contents: every file present, SHA256SUMS and the
# zip's .sha256 verify, the bill of materials parses and names each executable with its hash and
# what is linked into it, the zip's entries are sorted with the commit's time, and the winget
# manifest carries the zip's hash; the program is at most a million bytes.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
work="$(mktemp -d /tmp/velkaro-package.XXXXXX)"
trap 'rm -rf "$work"' EXIT
epoch="$(git log -1 --format=%ct)"
commit="$(git rev-parse HEAD)"
shipped=(Velkarostrandemilquorbenix vlk previews)
fail() {
  echo "check_package: FAIL $*" >&2
  exit 1
}

begin=$SECONDS
cmake --build --preset windows -j "$(nproc)" --target "${shipped[@]}" >/dev/null
python3 packaging/package.py --build build/windows --out "$work/one" --epoch "$epoch" \
  --commit "$commit" || fail "packing the project's build"

copy="$work/elsewhere/velkaro"
mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard |
  tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$copy"
(
  cd "$copy"
  umask 077
  export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$(nproc)" --target "${shipped[@]}" >/dev/null
) || fail "the second build, in $copy"
python3 "$copy/packaging/package.py" --build "$copy/build/windows" --out "$work/two" \
  --epoch "$epoch" --commit "$commit" >/dev/null || fail "packing the second build"
for exe in app/Velkarostrandemilquorbenix.exe app/vlk/vlk.exe; do
  if ! cmp "build/windows/$exe" "$copy/build/windows/$exe"; then
    cmp -l "build/windows/$exe" "$copy/build/windows/$exe" | head -n 8 || true
    x86_64-w64-mingw32-objdump -h "build/windows/$exe" | grep -E '^ +[0-9]+ ' || true
    fail "$exe differs between the two builds (offsets and bytes above; the sections' file offsets)"
  fi
done
diff -r "$work/one" "$work/two" || fail "the two packages differ"
echo "check_package: a second build in another folder, ended $((SECONDS - begin)) s after the first package, gave the same executables and package"

cd "$work/one"
zip=(*.zip)
sha256sum --quiet -c "$zip.sha256" || fail "$zip.sha256 does not verify"
python3 - "$zip" "$epoch" "$root/build/windows" "$root/resources/previews" <<'PY' || fail "the package's contents"
import hashlib, json, os, re, sys, time, zipfile
from pathlib import Path
zip_path, epoch, build, pictures = sys.argv[1], int(sys.argv[2]), Path(sys.argv[3]), Path(sys.argv[4])
version = re.search(r"-(\d+\.\d+\.\d+)-windows-x64\.zip$", zip_path).group(1)
problems = []
def need(ok, what):
    if not ok:
        problems.append(what)
archive = zipfile.ZipFile(zip_path)
infos = archive.infolist()
names = [i.filename for i in infos]
files = {n: archive.read(n) for n in names}
need(names == sorted(names), "entries not sorted")
need(all(i.date_time == time.gmtime(epoch // 2 * 2)[:6] for i in infos), "an entry without the commit's time")
exes = {"Velkarostrandemilquorbenix.exe": build / "app/Velkarostrandemilquorbenix.exe", "vlk.exe": build / "app/vlk/vlk.exe"}
expected = {"README.txt", "SHA256SUMS", "Velkarostrandemilquorbenix.spdx.json", *exes}
expected |= {f"previews/{p.name}" for p in pictures.glob("*.png")}
licenses = {n for n in names if n.startswith("licenses/")}
need(set(names) - licenses == expected, f"files: missing {sorted(expected - set(names))}, extra {sorted(set(names) - licenses - expected)}")
need(len(licenses) >= 3, f"licenses: {sorted(licenses)}")
for name, built in exes.items():
    need(files.get(name) == built.read_bytes(), f"{name} is not the build's")
# The program with every language at most 1.0 MB (a million bytes).
need(len(files.get("Velkarostrandemilquorbenix.exe", b"")) <= 1_000_000, "the program is over 1.0 MB")
sums = dict(reversed(line.split("  ", 1)) for line in files["SHA256SUMS"].decode().splitlines())
need(set(sums) == set(names) - {"SHA256SUMS"}, "SHA256SUMS does not list every other file")
need(all(hashlib.sha256(files[n]).hexdigest() == h for n, h in sums.items() if n in files), "SHA256SUMS does not verify")
need(f"Velkarostrandemilquorbenix {version}" in files["README.txt"].decode(), "README.txt without the version")
sbom = json.loads(files["Velkarostrandemilquorbenix.spdx.json"])
need(sbom["spdxVersion"] == "SPDX-2.3" and sbom["SPDXID"] == "SPDXRef-DOCUMENT", "not an SPDX 2.3 document")
packages = {p["SPDXID"]: p for p in sbom["packages"]}
need(all(p["versionInfo"] for p in packages.values()), "a package without a version")
links = {}
for r in sbom["relationships"]:
    if r["relationshipType"] == "STATIC_LINK":
        links.setdefault(r["spdxElementId"], set()).add(packages[r["relatedSpdxElement"]]["name"])
for f in sbom["files"]:
    sha = {c["algorithm"]: c["checksumValue"] for c in f["checksums"]}
    name = f["fileName"][2:]
    need(sha.get("SHA256") == hashlib.sha256(files.get(name, b"")).hexdigest(), f"{name}: hash in the SBOM")
    runtime = {"mingw-w64 runtime", "winpthreads", "libstdc++", "libgcc"}
    need(links.get(f["SPDXID"], set()) == runtime | ({"nlohmann/json"} if name == "vlk.exe" else set()),
         f"{name} links {sorted(links.get(f['SPDXID'], []))}")
need(sorted(f["fileName"] for f in sbom["files"]) == sorted(f"./{n}" for n in exes), "SBOM does not name each executable")
installer = next(Path(".").glob("winget/manifests/q/Quenorith/Velkarostrandemilquorbenix/*/*.installer.yaml")).read_text()
need(f"InstallerSha256: {hashlib.sha256(Path(zip_path).read_bytes()).hexdigest().upper()}" in installer, "winget manifest without the zip's hash")
need(f"PackageVersion: {version}\n" in installer, "winget manifest without the version")
for p in problems:
    print("  " + p)
print(f"check_package: {len(names)} files in {zip_path}; SHA256SUMS, the SBOM and the winget manifest agree" if not problems else "")
sys.exit(1 if problems else 0)
PY
echo "check_package: done in $((SECONDS - begin)) s"
