#!/usr/bin/env python3
"""Checks the winget manifest set the builder wrote for a setup file: each file against the
fields, patterns and enumerations of winget's manifest schema 1.28.0, the values a
deployment of the kit relies on, and the installer's hash against the setup file itself.
Writes a report of the checks as GoogleTest's XML does, for the suite's summary.

usage: check_manifest.py <manifest folder> <setup file> <report.xml>
"""
import hashlib
import pathlib
import sys
import xml.sax.saxutils

import jsonschema
import yaml

IDENTIFIER = r"^[^\.\s\\/:\*\?\"<>\|\x01-\x1f]{1,32}(\.[^\.\s\\/:\*\?\"<>\|\x01-\x1f]{1,32}){1,7}$"
VERSION = {"type": "string", "pattern": r"^[^\\/:\*\?\"<>\|\x01-\x1f]+$", "maxLength": 128}
LOCALE = {"type": "string", "pattern": r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$"}
URL = {"type": "string", "pattern": r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$", "maxLength": 2048}
SWITCH = {"type": "string", "minLength": 1, "maxLength": 512}
RESPONSES = ["packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse", "missingDependency",
             "diskFull", "insufficientMemory", "invalidParameter", "noNetwork", "contactSupport",
             "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated", "cancelledByUser",
             "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported", "custom"]


def manifest(kind, properties, required):
    common = {"PackageIdentifier": {"type": "string", "pattern": IDENTIFIER, "maxLength": 128},
              "PackageVersion": VERSION, "ManifestType": {"const": kind},
              "ManifestVersion": {"const": "1.28.0"}}
    return {"type": "object", "properties": {**common, **properties},
            "required": ["PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion"] + required}


def text(longest):
    return {"type": "string", "minLength": 1, "maxLength": longest}


SCHEMAS = {
    "version": manifest("version", {"DefaultLocale": LOCALE}, ["DefaultLocale"]),
    "defaultLocale": manifest("defaultLocale", {
        "PackageLocale": LOCALE, "Publisher": text(256), "PublisherUrl": URL, "PackageName": text(256),
        "License": text(512), "ShortDescription": text(256)},
        ["PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"]),
    "installer": manifest("installer", {
        "InstallerType": {"enum": ["msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa",
                                   "portable", "font"]},
        "Scope": {"enum": ["user", "machine"]},
        "InstallModes": {"type": "array", "uniqueItems": True, "maxItems": 3,
                         "items": {"enum": ["interactive", "silent", "silentWithProgress"]}},
        "InstallerSwitches": {"type": "object", "properties": {
            name: SWITCH for name in ["Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log",
                                      "Upgrade", "Repair"]}},
        "ExpectedReturnCodes": {"type": "array", "maxItems": 128, "items": {
            "type": "object", "required": ["InstallerReturnCode", "ReturnResponse"], "properties": {
                "InstallerReturnCode": {"type": "integer", "not": {"enum": [0]}, "minimum": -2147483648,
                                        "maximum": 4294967295},
                "ReturnResponse": {"enum": RESPONSES}}}},
        "ElevationRequirement": {"enum": ["elevationRequired", "elevationProhibited", "elevatesSelf"]},
        "ProductCode": text(255),
        "AppsAndFeaturesEntries": {"type": "array", "maxItems": 128, "items": {"type": "object", "properties": {
            "DisplayName": text(256), "Publisher": text(256), "DisplayVersion": text(128),
            "ProductCode": text(255)}}},
        "Installers": {"type": "array", "minItems": 1, "maxItems": 1024, "items": {
            "type": "object", "required": ["Architecture", "InstallerUrl", "InstallerSha256"], "properties": {
                "Architecture": {"enum": ["x86", "x64", "arm", "arm64", "neutral"]},
                "InstallerUrl": URL,
                "InstallerSha256": {"type": "string", "pattern": "^[A-Fa-f0-9]{64}$"}}}}},
        ["Installers"]),
}


def main():
    folder, setup, report = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
    results = []

    def check(name, holds, detail=""):
        results.append((name, bool(holds), detail))

    files = {kind: folder / f"Morvessa.Quendral{suffix}.yaml"
             for kind, suffix in [("version", ""), ("defaultLocale", ".locale.zh-CN"), ("installer", ".installer")]}
    documents = {}
    for kind, path in files.items():
        raw = path.read_bytes() if path.exists() else b""
        documents[kind] = yaml.safe_load(raw.decode("utf-8")) if raw else {}
        errors = [e.message for e in jsonschema.Draft7Validator(SCHEMAS[kind]).iter_errors(documents[kind])]
        check(f"{kind} file follows the 1.28.0 schema", raw and not errors, "; ".join(errors))
        check(f"{kind} file names its schema", f"winget-manifest.{kind}.1.28.0.schema.json".encode() in raw)

    installer = documents["installer"]
    check("one package, one version in all three files",
          {(d.get("PackageIdentifier"), d.get("PackageVersion")) for d in documents.values()} ==
          {("Morvessa.Quendral", "1.3")})
    check("the default locale has its file", documents["version"].get("DefaultLocale") ==
          documents["defaultLocale"].get("PackageLocale"))
    check("switches for silent installs into a folder, with a log",
          installer.get("InstallerSwitches") == {"Silent": "/S", "SilentWithProgress": "/S",
                                                 "InstallLocation": "/D=<INSTALLPATH>", "Log": "/LOG=<LOGPATH>"})
    codes = {c["InstallerReturnCode"]: c["ReturnResponse"] for c in installer.get("ExpectedReturnCodes", [])}
    check("every exit code of the setup has its response",
          {code: codes.get(code) for code in (1, 2, 3, 5, 6, 7, 9, 1618)} ==
          {1: "cancelledByUser", 2: "packageInUse", 3: "packageInUseByApplication", 5: "diskFull",
           6: "contactSupport", 7: "invalidParameter", 9: "contactSupport", 1618: "installInProgress"} and 4 in codes,
          str(codes))
    check("a machine-wide exe that elevates itself",
          (installer.get("InstallerType"), installer.get("Scope"), installer.get("ElevationRequirement")) ==
          ("exe", "machine", "elevatesSelf"))
    check("the installed-programs entry is named", installer.get("ProductCode") == "Quendral1.3" and
          installer.get("AppsAndFeaturesEntries", [{}])[0].get("ProductCode") == "Quendral1.3")
    digest = hashlib.sha256(setup.read_bytes()).hexdigest() if setup.exists() else ""
    listed = [i.get("InstallerSha256", "").lower() for i in installer.get("Installers", [])]
    check("the installer's hash is the setup file's", digest and listed == [digest], f"{listed} against {digest}")

    failures = [r for r in results if not r[1]]
    with open(report, "w", encoding="utf-8") as out:
        out.write(f'<testsuites tests="{len(results)}" failures="{len(failures)}" errors="0" disabled="0">\n')
        for name, holds, detail in results:
            out.write(f'  <testcase name={xml.sax.saxutils.quoteattr(name)} result="completed">')
            if not holds:
                out.write(f"<failure message={xml.sax.saxutils.quoteattr(detail)}/>")
            out.write("</testcase>\n")
        out.write("</testsuites>\n")
    for name, holds, detail in results:
        print(("ok      " if holds else "FAILED  ") + name + ("" if holds else f": {detail}"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
