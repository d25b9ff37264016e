#!/usr/bin/env python3
"""Checks the winget manifest set in deploy/winget/ against winget's published schema 1.10.0
and against what the installer itself writes and returns: the package and product names, the
version, the Apps & Features entry's key, and an ExpectedReturnCodes row for every non-zero
exit code. Prints each problem and exits 1 when there is any."""
import json
import pathlib
import re
import sys

import jsonschema
import yaml

root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2]
folder = root / "deploy" / "winget"
schemas = folder / "schema-1.10.0"
problems = []


def fact(name):
    text = (root / "identity" / "ProductFacts.h").read_text()
    return re.search(r'\b' + name + r'\s*=\s*"([^"]*)"', text).group(1)


def exit_codes():
    text = (root / "install" / "ExitCode.h").read_text()
    return {int(n) for n in re.findall(r"^\s*exit\w+\s*=\s*(\d+)", text, re.M)} - {0}


manifests = {}
for path in sorted(folder.glob("*.yaml")):
    document = yaml.safe_load(path.read_text())
    kind = document.get("ManifestType")
    schema_file = schemas / f"manifest.{kind}.1.10.0.json"
    if not schema_file.exists():
        problems.append(f"{path.name}: no schema for ManifestType {kind!r}")
        continue
    validator = jsonschema.Draft7Validator(json.loads(schema_file.read_text()))
    for error in validator.iter_errors(document):
        where = "/".join(str(p) for p in error.absolute_path) or "(top)"
        problems.append(f"{path.name}: {where}: {error.message}")
    manifests[kind] = document

for kind in ("version", "installer", "defaultLocale"):
    if kind not in manifests:
        problems.append(f"no {kind} manifest in {folder}")

if not problems:
    maker, product, version = fact("makerName"), fact("productName"), fact("productVersion")
    key = fact("uninstallKeyName")
    identifier = f"{maker}.{product}"
    for kind, document in manifests.items():
        if document["PackageIdentifier"] != identifier:
            problems.append(f"{kind}: PackageIdentifier {document['PackageIdentifier']} is not {identifier}")
        if str(document["PackageVersion"]) != version:
            problems.append(f"{kind}: PackageVersion {document['PackageVersion']} is not the product's {version}")

    installer = manifests["installer"]
    # The entry the installer writes: the module's four-part version read from disk.
    display_version = ".".join((version.split(".") + ["0"] * 4)[:4])
    expected_entry = {"DisplayName": product, "Publisher": maker, "DisplayVersion": display_version,
                      "ProductCode": key, "InstallerType": "exe"}
    entries = installer.get("AppsAndFeaturesEntries", [])
    if [dict(e, DisplayVersion=str(e.get("DisplayVersion"))) for e in entries] != [expected_entry]:
        problems.append(f"AppsAndFeaturesEntries {entries} is not the entry written: {expected_entry}")
    if installer.get("ProductCode") != key:
        problems.append(f"ProductCode {installer.get('ProductCode')} is not the entry's key {key}")
    if installer.get("Scope") != "machine" or installer.get("InstallerType") != "exe":
        problems.append("the installer is an exe installed for the machine")

    listed = {row["InstallerReturnCode"] for row in installer.get("ExpectedReturnCodes", [])}
    if listed != exit_codes():
        problems.append(f"ExpectedReturnCodes {sorted(listed)} are not the installer's non-zero codes {sorted(exit_codes())}")

    switches = installer.get("InstallerSwitches", {})
    if "/VERYSILENT" not in switches.get("Silent", "") or "<LOGPATH>" not in switches.get("Log", ""):
        problems.append(f"InstallerSwitches {switches} lack /VERYSILENT or the log's <LOGPATH>")

for problem in problems:
    print(problem)
print("winget manifests: " + ("FAILED" if problems else "valid against schema 1.10.0"))
sys.exit(1 if problems else 0)
