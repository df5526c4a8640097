#!/usr/bin/env python3
"""check-msi-tables.py MSI: the rules of Windows Installer's validation that
matter for this package, read from its tables (msiinfo export), since the
ICE suite itself does not run here:
- every component has a key path of its own, and holds one file at most,
  that file being its key path (the component rules; ICE08 for the GUIDs);
- every shortcut is non-advertised and alone in a component that holds no
  file, whose key path is a value under HKCU of its own, and that removes
  the shortcut's folder when the package creates it, and names no file of
  another component (ICE38, ICE43, ICE57, ICE64, ICE69);
- the Upgrade rows remove every installed version whose first three fields
  are at most this one's (the fourth included, which Windows Installer does
  not compare) and refuse every higher one, the old product removed before
  anything new is installed;
- nothing installs under the user's profile: no file, folder or component
  key path in a profile folder, and no registry value, but the shortcuts
  and their key paths."""
import re
import subprocess
import sys

# Windows Installer's folder properties that lie in a user's profile (for a
# per-machine package, some resolve to the all-users profile instead).
PROFILE = {"AppDataFolder", "LocalAppDataFolder", "PersonalFolder", "DesktopFolder", "ProgramMenuFolder",
           "StartMenuFolder", "StartupFolder", "FavoritesFolder", "SendToFolder", "TemplateFolder",
           "MyPicturesFolder", "NetHoodFolder", "PrintHoodFolder", "RecentFolder", "AdminToolsFolder"}
REGISTRY_KEY_PATH, HKCU = 4, "1"
ONLY_DETECT, MIN_INCLUSIVE, MAX_INCLUSIVE = 2, 0x100, 0x200
READ = {"Component", "File", "Registry", "Shortcut", "Directory", "RemoveFile", "CreateFolder", "Property",
        "Upgrade", "LaunchCondition", "InstallExecuteSequence"}


def tables(msi):
    """{table: [row as {column: value or None}]} for the tables read here; not
    the tables of streams (Icon, Binary), which msiinfo would write out."""
    def run(*args):
        return subprocess.run(["msiinfo", *args], capture_output=True, text=True, check=True).stdout
    found = {}
    for name in set(run("tables", msi).split()) & READ:
        lines = run("export", msi, name).replace("\r\n", "\n").split("\n")
        columns = lines[0].split("\t")
        found[name] = [{c: v or None for c, v in zip(columns, line.split("\t"))} for line in lines[3:] if line]
    return found


def version(text):
    return tuple(int(field) for field in (text or "0").split(".")[:3])


def upgrade_action(rows, installed):
    """The Upgrade row's property that finds INSTALLED, for each matching row."""
    found = []
    for row in rows:
        attributes = int(row["Attributes"])
        low, high = row["VersionMin"], row["VersionMax"]
        above = low is None or installed > version(low) or (attributes & MIN_INCLUSIVE and installed == version(low))
        below = high is None or installed < version(high) or (attributes & MAX_INCLUSIVE and installed == version(high))
        if above and below:
            found.append((row["ActionProperty"], bool(attributes & ONLY_DETECT)))
    return found


def check(t):
    problems = []
    components = {row["Component"]: row for row in t.get("Component", [])}
    files = t.get("File", [])
    registry = {row["Registry"]: row for row in t.get("Registry", [])}
    shortcuts = t.get("Shortcut", [])
    parents = {row["Directory"]: row["Directory_Parent"] for row in t.get("Directory", [])}

    def in_profile(directory):
        while directory:
            if directory in PROFILE:
                return True
            directory = parents.get(directory)
        return False

    # ---- Components: a key path each, one file at most, never shared.
    guids = [row["ComponentId"] for row in components.values()]
    if len(set(guids)) != len(guids) or None in guids:
        problems.append(f"component GUIDs missing or shared: {guids}")
    key_paths = [row["KeyPath"] for row in components.values()]
    for name, row in components.items():
        held = [f["File"] for f in files if f["Component_"] == name]
        if row["KeyPath"] is None:
            problems.append(f"component {name} has no key path")
        elif key_paths.count(row["KeyPath"]) > 1:
            problems.append(f"component {name} shares its key path {row['KeyPath']}")
        if len(held) > 1:
            problems.append(f"component {name} holds {len(held)} files: {held}")
        if held and row["KeyPath"] != held[0]:
            problems.append(f"component {name}'s key path is not its file {held[0]}")

    # ---- Shortcuts: each alone in a component keyed to a value under HKCU.
    for shortcut in shortcuts:
        name, component = shortcut["Shortcut"], components.get(shortcut["Component_"], {})
        key = registry.get(component.get("KeyPath"), {})
        if not shortcut["Target"].startswith("["):
            problems.append(f"shortcut {name} is advertised")
        for named in re.findall(r"\[#([^\]]+)\]", shortcut["Target"] + (shortcut["Arguments"] or "")):
            if all(f["File"] != named or f["Component_"] != shortcut["Component_"] for f in files):
                problems.append(f"shortcut {name} names file {named} of another component")
        if [s["Component_"] for s in shortcuts].count(shortcut["Component_"]) > 1:
            problems.append(f"shortcut {name} shares its component")
        if any(f["Component_"] == shortcut["Component_"] for f in files):
            problems.append(f"shortcut {name}'s component holds a file")
        if not int(component.get("Attributes") or 0) & REGISTRY_KEY_PATH or key.get("Root") != HKCU or \
                key.get("Component_") != shortcut["Component_"]:
            problems.append(f"shortcut {name}'s component has no key path of its own under HKCU")
        folder = shortcut["Directory_"]
        if folder not in PROFILE and in_profile(folder) and not any(
                r["DirProperty"] == folder and r["FileName"] is None and r["Component_"] == shortcut["Component_"]
                for r in t.get("RemoveFile", [])):
            problems.append(f"shortcut {name}'s folder {folder} is not removed")

    # ---- Nothing under the user's profile but the shortcuts and their key paths.
    shortcut_components = {s["Component_"] for s in shortcuts}
    for name, row in components.items():
        if name not in shortcut_components and in_profile(row["Directory_"]):
            problems.append(f"component {name} installs to the user's profile ({row['Directory_']})")
    for row in t.get("CreateFolder", []):
        if in_profile(row["Directory_"]):
            problems.append(f"folder {row['Directory_']} is created in the user's profile")
    for name, row in registry.items():
        if components.get(row["Component_"], {}).get("KeyPath") != name or row["Component_"] not in shortcut_components:
            problems.append(f"registry value {row['Key']}\\{row['Name']} is not a shortcut's key path")

    # ---- Upgrades: three fields compared; lower or equal replaced, higher refuses.
    properties = {row["Property"]: row["Value"] for row in t.get("Property", [])}
    ours = version(properties.get("ProductVersion"))
    rows = [r for r in t.get("Upgrade", []) if r["UpgradeCode"] == properties.get("UpgradeCode")]
    blocked = {row["Condition"] for row in t.get("LaunchCondition", [])}
    secure = (properties.get("SecureCustomProperties") or "").split(";")
    for installed, outcome in [((0, 0, 0), "removed"), (ours, "removed"),
                               ((ours[0], ours[1], ours[2] + 1), "refused"), ((ours[0] + 1, 0, 0), "refused")]:
        found = upgrade_action(rows, installed)
        removed = [p for p, detect in found if not detect and p in secure]
        refused = [p for p, detect in found if detect and f"NOT {p}" in blocked and p in secure]
        if len(found) != 1 or (removed if outcome == "removed" else refused) == []:
            shown = ".".join(map(str, installed)) + (".x" if installed == ours else "")
            problems.append(f"installed {shown} is not {outcome} by this package: {found}")
    sequence = {row["Action"]: int(row["Sequence"]) for row in t.get("InstallExecuteSequence", [])}
    order = [sequence.get(a, -1) for a in ("FindRelatedProducts", "LaunchConditions", "InstallValidate",
                                           "RemoveExistingProducts", "InstallInitialize")]
    if -1 in order or order != sorted(order):
        problems.append(f"the old product is not found first and removed before the new one installs: {order}")
    return problems


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check-msi-tables.py MSI")
    problems = check(tables(sys.argv[1]))
    for problem in problems:
        print(f"FAIL: check-msi-tables: {sys.argv[1]}: {problem}", file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
