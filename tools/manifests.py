#!/usr/bin/env python3
"""The Scoop and winget manifests of a release zip: scripts/package writes them, scripts/test
checks them and the Scoop bucket in the repository.

  manifests.py write INFO ZIP [--update-bucket]   prints the paths it wrote
  manifests.py check INFO ZIP

INFO is build/windows/package-info.txt, written by CMake from CMakeLists.txt. The manifests go
beside ZIP, which must have its SHA256SUMS beside it: DIST/scoop/deskglide.json and the winget
manifests in the folders winget-pkgs keeps them in, under DIST/winget/manifests.
"""
import copy
import hashlib
import json
import re
import subprocess
import sys
from pathlib import Path

import yaml

ROOT = Path(__file__).resolve().parent.parent
BUCKET = ROOT / "bucket" / "deskglide.json"
WINGET_MANIFEST_VERSION = "1.12.0"
LOCALE = "en-US"
EXE = "deskglide.exe"
# Start-menu entries Scoop makes, one per everyday run, so that each can get a hotkey in its
# Properties: (name, command line).
SHORTCUTS = [
    ("Deskglide", ""),
    ("Deskglide - Gather windows", "g"),
    ("Deskglide - Windows down", "v"),
    ("Deskglide - Windows up", "v-"),
    ("Deskglide - Windows right", "h"),
    ("Deskglide - Windows left", "h-"),
]
# Scoop's autoupdate finds the new hash in the release's SHA256SUMS, a sha256sum listing.
SUMS_REGEX = r"$sha256\s+\*?$basename"


def read_info(path):
    info = dict(line.split("=", 1) for line in Path(path).read_text().splitlines() if "=" in line)
    info["url"] = release_url(info, info["version"])
    return info


def release_url(info, version):
    return f"{info['homepage']}/releases/download/v{version}/deskglide-{version}-win64.zip"


def sha256(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def winget_paths(info, dist):
    """The three winget manifests, in winget-pkgs' layout: manifests/p/Publisher/Name/version."""
    package_id = info["package_id"]
    folder = Path(dist, "winget", "manifests", package_id[0].lower(), *package_id.split("."),
                  info["version"])
    return {
        "version": folder / f"{package_id}.yaml",
        "installer": folder / f"{package_id}.installer.yaml",
        "defaultLocale": folder / f"{package_id}.locale.{LOCALE}.yaml",
    }


# ---- writing


def scoop_manifest(info, zip_hash):
    autoupdate_url = release_url(info, "$version")
    return {
        "version": info["version"],
        "description": info["description"],
        "homepage": info["homepage"],
        "license": info["license"],
        "architecture": {"64bit": {"url": info["url"], "hash": zip_hash}},
        "bin": EXE,
        "shortcuts": [[EXE, name, args] if args else [EXE, name] for name, args in SHORTCUTS],
        # An exclude.txt beside the exe (one kept from an earlier version) stays across updates.
        # Where there is none, Scoop makes a folder of that name, which reads as no list, so the
        # one in the user's %APPDATA%\Deskglide is read, which no update touches.
        "persist": "exclude.txt",
        "checkver": {"github": info["homepage"]},
        "autoupdate": {
            "architecture": {
                "64bit": {
                    "url": autoupdate_url,
                    "hash": {"url": "$baseurl/SHA256SUMS", "regex": SUMS_REGEX},
                }
            }
        },
    }


def winget_manifests(info, zip_hash):
    head = {"PackageIdentifier": info["package_id"], "PackageVersion": info["version"]}
    tail = {"ManifestVersion": WINGET_MANIFEST_VERSION}
    return {
        "version": {**head, "DefaultLocale": LOCALE, "ManifestType": "version", **tail},
        "installer": {
            **head,
            "InstallerType": "zip",
            "NestedInstallerType": "portable",
            "NestedInstallerFiles": [
                {"RelativeFilePath": EXE, "PortableCommandAlias": "deskglide"}
            ],
            # The package folder on the PATH in place of a link to the exe in winget's Links
            # folder, so that the exe is started where it lies.
            "ArchiveBinariesDependOnPath": True,
            "Installers": [
                {"Architecture": "x64", "InstallerUrl": info["url"],
                 "InstallerSha256": zip_hash.upper()}
            ],
            "ManifestType": "installer",
            **tail,
        },
        "defaultLocale": {
            **head,
            "PackageLocale": LOCALE,
            "Publisher": info["publisher"],
            "PackageName": info["name"],
            "PackageUrl": info["homepage"],
            "License": info["license"],
            "LicenseUrl": f"{info['homepage']}/blob/v{info['version']}/LICENSE",
            "ShortDescription": info["description"],
            "Moniker": "deskglide",
            "ManifestType": "defaultLocale",
            **tail,
        },
    }


def winget_yaml(kind, manifest):
    header = ("# yaml-language-server: $schema=https://aka.ms/winget-manifest."
              f"{kind}.{WINGET_MANIFEST_VERSION}.schema.json\n\n")
    # safe_dump quotes a string that would read back as another type, such as a version 1.10.
    body = yaml.safe_dump(manifest, sort_keys=False, allow_unicode=True, width=1000)
    return header + body


def scoop_json(manifest):
    return json.dumps(manifest, indent=4, ensure_ascii=False) + "\n"


def released(version):
    """The bucket manifest committed with the tag vVERSION, or None when there is no such tag."""
    shown = subprocess.run(["git", "-C", str(ROOT), "show", f"v{version}:bucket/deskglide.json"],
                           capture_output=True, text=True)
    return shown.stdout if shown.returncode == 0 else None


def write(info_path, zip_path, update_bucket):
    info = read_info(info_path)
    zip_hash = sha256(zip_path)
    dist = Path(zip_path).parent
    scoop = scoop_json(scoop_manifest(info, zip_hash))
    written = {dist / "scoop" / "deskglide.json": scoop}
    for kind, manifest in winget_manifests(info, zip_hash).items():
        written[winget_paths(info, dist)[kind]] = winget_yaml(kind, manifest)
    if update_bucket:
        at_tag = released(info["version"])
        if at_tag is not None and at_tag != scoop:
            sys.exit(f"bucket: version {info['version']} is released (tag v{info['version']}) with "
                     "another zip; raise the version in CMakeLists.txt before updating the bucket")
        written[BUCKET] = scoop
    for path, text in written.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8", newline="\n")
        print(path)


# ---- checking: each check returns the faults it finds, in words


def get(manifest, dotted):
    """The field at a dotted path (a number picks from a list), or None."""
    value = manifest
    for key in dotted.split("."):
        if isinstance(value, list) and key.isdigit() and int(key) < len(value):
            value = value[int(key)]
        elif isinstance(value, dict) and key in value:
            value = value[key]
        else:
            return None
    return value


def expect(manifest, wanted):
    """Faults where a field of MANIFEST (a dotted path) is missing or not as WANTED says."""
    faults = []
    for field, value in wanted.items():
        actual = get(manifest, field)
        if actual is None:
            faults.append(f"{field} is missing")
        elif callable(value):
            if not value(actual):
                faults.append(f"{field} is wrong: {actual!r}")
        elif actual != value:
            faults.append(f"{field} is {actual!r}, not {value!r}")
    return faults


def scoop_faults(manifest, info, zip_hash, sums):
    """Faults of a Scoop manifest of the version INFO names. Without ZIP_HASH (an older release)
    the hash must only look like one."""
    wanted = {
        "version": info["version"],
        "description": info["description"],
        "homepage": info["homepage"],
        "license": info["license"],
        "architecture.64bit.url": release_url(info, info["version"]),
        "architecture.64bit.hash": zip_hash or (lambda h: re.fullmatch("[0-9a-f]{64}", h)),
        "bin": EXE,
        "persist": "exclude.txt",
        "checkver.github": info["homepage"],
        "autoupdate.architecture.64bit.url": release_url(info, "$version"),
        "autoupdate.architecture.64bit.hash.url": "$baseurl/SHA256SUMS",
        "autoupdate.architecture.64bit.hash.regex": SUMS_REGEX,
    }
    faults = expect(manifest, wanted)
    shortcuts = manifest.get("shortcuts")
    shortcuts = [s for s in shortcuts if isinstance(s, list)] if isinstance(shortcuts, list) else []
    runs = {tuple(s[2:3]) for s in shortcuts if s[:1] == [EXE] and len(s) > 1}
    for args in ("g", "v", "v-", "h", "h-"):
        if (args,) not in runs:
            faults.append(f"shortcuts: no Start-menu entry for {EXE} {args}")
    if sums is not None:
        # Scoop's autoupdate, as it reads the SHA256SUMS the release publishes beside the zip.
        name = Path(release_url(info, info["version"])).name
        pattern = SUMS_REGEX.replace("$sha256", "([0-9a-fA-F]{64})").replace("$basename",
                                                                               re.escape(name))
        found = re.search(pattern, sums)
        if not found or found.group(1).lower() != zip_hash:
            faults.append(f"autoupdate: SHA256SUMS gives no hash of {name} that matches the zip")
    return faults


def winget_faults(manifests, info, zip_hash):
    head = {"PackageIdentifier": info["package_id"], "PackageVersion": info["version"],
            "ManifestVersion": WINGET_MANIFEST_VERSION}
    wanted = {
        "version": {"DefaultLocale": LOCALE},
        "installer": {
            "InstallerType": "zip",
            "NestedInstallerType": "portable",
            "NestedInstallerFiles": lambda files: len(files) == 1,
            "NestedInstallerFiles.0.RelativeFilePath": EXE,
            "NestedInstallerFiles.0.PortableCommandAlias": "deskglide",
            "ArchiveBinariesDependOnPath": True,
            "Installers": lambda installers: len(installers) == 1,
            "Installers.0.Architecture": "x64",
            "Installers.0.InstallerUrl": info["url"],
            "Installers.0.InstallerSha256": zip_hash.upper(),
        },
        "defaultLocale": {
            "PackageLocale": LOCALE,
            "Publisher": info["publisher"],
            "PackageName": info["name"],
            "License": info["license"],
            "ShortDescription": info["description"],
        },
    }
    faults = []
    for kind, manifest in manifests.items():
        fields = {**head, "ManifestType": kind, **wanted[kind]}
        faults += [f"winget {kind}: {fault}" for fault in expect(manifest, fields)]
    part = r"[^.\s\\/:*?\"<>|]{1,32}"
    if not re.fullmatch(rf"{part}(\.{part}){{1,7}}", info["package_id"]):
        faults.append(f"winget: {info['package_id']!r} is no package identifier")
    return faults


def mutants(manifest, fields):
    """Copies of MANIFEST, each with one of FIELDS (dotted paths) dropped."""
    for field in fields:
        mutant = copy.deepcopy(manifest)
        parent, _, last = field.rpartition(".")
        (get(mutant, parent) if parent else mutant).pop(last, None)
        yield field, mutant


# What each winget manifest must carry, for the check of the checks.
WINGET_REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "InstallerType", "NestedInstallerType",
                  "NestedInstallerFiles", "ArchiveBinariesDependOnPath", "Installers", "ManifestType",
                  "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                      "PackageName", "License", "ShortDescription", "ManifestType",
                      "ManifestVersion"],
}


def check(info_path, zip_path):
    info = read_info(info_path)
    zip_hash = sha256(zip_path)
    dist = Path(zip_path).parent
    try:
        sums = (dist / "SHA256SUMS").read_text()
        scoop_text = (dist / "scoop" / "deskglide.json").read_text()
        scoop = json.loads(scoop_text)
        winget = {kind: yaml.safe_load(path.read_text())
                  for kind, path in winget_paths(info, dist).items()}
    except (OSError, ValueError, yaml.YAMLError) as error:
        sys.exit(f"manifests: {error}; run scripts/package")
    faults = []
    if Path(info["url"]).name != Path(zip_path).name:
        faults.append(f"the manifests download {info['url']}, not {Path(zip_path).name}")
    faults += [f"scoop: {fault}" for fault in scoop_faults(scoop, info, zip_hash, sums)]
    faults += winget_faults(winget, info, zip_hash)
    if not faults:
        faults += check_faults(scoop, winget, info, zip_hash, sums)
    faults += bucket_faults(info, zip_hash, scoop_text)
    faults += readme_faults(info)
    for fault in faults:
        print(f"manifests: {fault}", file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"manifests: Scoop and winget for {info['version']}, sha256 {zip_hash}, "
          f"and {BUCKET.relative_to(ROOT)} pass")


def check_faults(scoop, winget, info, zip_hash, sums):
    """The checks themselves: good manifests with a field dropped or another hash must fail."""
    faults = []
    scoop_fields = ["version", "description", "homepage", "license", "architecture.64bit.url",
                    "architecture.64bit.hash", "bin", "shortcuts", "checkver",
                    "autoupdate.architecture.64bit.hash"]
    for field, mutant in mutants(scoop, scoop_fields):
        if not scoop_faults(mutant, info, zip_hash, sums):
            faults.append(f"check: a Scoop manifest without {field} passes")
    for kind in winget:
        for field, mutant in mutants(winget[kind], WINGET_REQUIRED[kind]):
            if not winget_faults({**winget, kind: mutant}, info, zip_hash):
                faults.append(f"check: a winget {kind} manifest without {field} passes")
    wrong = "0" * 64
    if not scoop_faults({**scoop, "architecture": {"64bit": {"url": info["url"], "hash": wrong}}},
                        info, zip_hash, sums):
        faults.append("check: a Scoop manifest with another hash passes")
    other = copy.deepcopy(winget)
    other["installer"]["Installers"][0]["InstallerSha256"] = wrong.upper()
    if not winget_faults(other, info, zip_hash):
        faults.append("check: a winget installer with another hash passes")
    return faults


def readme_faults(info):
    """README.md (the install commands) and CONTRIBUTING.md (the release steps) cannot take the
    homepage and the identifier from CMake: they must agree with it."""
    package_id = info["package_id"]
    folder = "/".join(["manifests", package_id[0].lower(), *package_id.split(".")]) + "/"
    wanted = {"README.md": (f"scoop bucket add deskglide {info['homepage']}\n",
                            f"winget install {package_id}\n"),
              "CONTRIBUTING.md": (folder,)}
    return [f"{name}: no {words.strip()!r}, as CMakeLists.txt has it"
            for name, texts in wanted.items() for words in texts
            if words not in (ROOT / name).read_text()]


def bucket_faults(info, zip_hash, fresh):
    """The bucket names the version this commit builds, with this zip, or else an earlier
    release exactly as its tag committed it."""
    name = BUCKET.relative_to(ROOT)
    mend = f"run scripts/package --update-bucket and commit {name}"
    try:
        text = BUCKET.read_text()
        version = str(json.loads(text).get("version"))
    except (OSError, ValueError, AttributeError) as error:
        return [f"{name}: {error}", f"{name}: to mend it, {mend}"]
    at_tag = released(version)
    if version == info["version"]:
        faults = scoop_faults(json.loads(text), info, zip_hash, None)
        if not faults and text != fresh:
            faults = ["differs from the manifest scripts/package writes"]
        if at_tag is not None:
            mend = (f"raise the version in CMakeLists.txt: {version} is released (tag v{version}) "
                    "with another zip, and the bucket keeps naming it")
    elif at_tag is None:
        faults = [f"names {version}, neither the version this commit builds ({info['version']}) "
                  f"nor a release (no tag v{version})"]
    else:
        faults = [] if text == at_tag else [f"differs from the one released with v{version}"]
        mend = f"git checkout v{version} -- {name}"
    if faults:
        faults.append(f"to mend it, {mend}")
    return [f"{name}: {fault}" for fault in faults]


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) >= 3 and args[0] == "write":
        write(args[1], args[2], "--update-bucket" in args[3:])
    elif len(args) == 3 and args[0] == "check":
        check(args[1], args[2])
    else:
        sys.exit(__doc__)
