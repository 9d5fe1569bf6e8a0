#!/usr/bin/env python3
"""Checks that every library the build links is installed by the scripts' package list.

A fresh machine gets only what scripts/common.sh installs and what those packages depend on
(apt runs with --no-install-recommends), plus Debian's required base. A library that the build
links but that only some other package on this machine brought in breaks the README's commands
there. This reads every link line of a build folder, finds the file the linker would take for each
library, asks dpkg which package owns it, and fails when that package is not in the closure of
the package list's dependencies.

Usage: check_link_packages.py BUILD_DIR
"""
import os
import re
import subprocess
import sys
from pathlib import Path

SCRIPTS = Path(__file__).resolve().parents[2] / "scripts"
DEFAULT_LIBRARY_DIRS = ["/usr/local/lib", "/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu",
                        "/usr/lib", "/lib"]


def package_list():
    out = subprocess.run(["bash", "-c", 'source "$1"; printf "%s\\n" "${TESSALY_PACKAGES[@]}"',
                          "-", str(SCRIPTS / "common.sh")],
                         check=True, capture_output=True, text=True).stdout
    return out.split()


def installed_packages():
    """Name -> (dependency groups, is part of the required base); and virtual name -> providers."""
    fmt = "${Package}\\t${Status}\\t${Priority}\\t${Essential}\\t${Pre-Depends}\\t${Depends}\\t${Provides}\\n"
    out = subprocess.run(["dpkg-query", "-W", "-f=" + fmt], check=True, capture_output=True,
                         text=True).stdout
    packages, providers = {}, {}
    for line in out.splitlines():
        name, status, priority, essential, pre, deps, provides = line.split("\t")
        if not status.endswith(" installed"):
            continue
        groups = [[re.split(r"[\s(:]", alt.strip())[0] for alt in group.split("|")]
                  for group in (pre + "," + deps).split(",") if group.strip()]
        packages[name] = (groups, priority == "required" or essential == "yes")
        for virtual in provides.split(","):
            if virtual.strip():
                providers.setdefault(re.split(r"[\s(]", virtual.strip())[0], []).append(name)
    return packages, providers


def closure(roots, packages, providers):
    """The packages apt installs for roots: each dependency group by its first installed choice."""
    seen, todo = set(), list(roots) + [p for p, (_, base) in packages.items() if base]
    while todo:
        name = todo.pop()
        candidates = [name] if name in packages else providers.get(name, [])
        for candidate in candidates[:1]:
            if candidate in seen:
                continue
            seen.add(candidate)
            for group in packages[candidate][0]:
                choice = next((alt for alt in group if alt in packages or alt in providers), None)
                if choice:
                    todo.append(choice)
    return seen


def linked_libraries(build_dir):
    """(what the link line says, file the linker takes) for each library outside the build."""
    build_dir = Path(build_dir).resolve()
    found = {}
    for link in build_dir.rglob("link.txt"):
        tokens = link.read_text().split()
        dirs = [t[2:] for t in tokens if t.startswith("-L")] + DEFAULT_LIBRARY_DIRS
        for token in tokens:
            if token.startswith("-l") and len(token) > 2:
                found[token] = resolve(token[2:], dirs)
            elif token.startswith("/") and re.search(r"\.(so(\.[\d.]+)?|a)$", token) \
                    and not Path(token).resolve().is_relative_to(build_dir):
                found[token] = token
    return found


def resolve(name, dirs):
    for folder in dirs:
        for candidate in (f"{folder}/lib{name}.so", f"{folder}/lib{name}.a"):
            if os.path.exists(candidate):
                return candidate
    return None


def owner(path):
    # On a merged /usr, dpkg may know a file under /lib or under /usr/lib.
    alternatives = {path, re.sub(r"^/usr/lib/", "/lib/", path), re.sub(r"^/lib/", "/usr/lib/", path)}
    for candidate in alternatives:
        result = subprocess.run(["dpkg-query", "-S", candidate], capture_output=True, text=True)
        if result.returncode == 0:
            return result.stdout.split(":")[0].split(",")[0].strip()
    return None


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    packages, providers = installed_packages()
    wanted = package_list()
    installed = closure(wanted, packages, providers)
    problems = []
    for token, path in sorted(linked_libraries(sys.argv[1]).items()):
        package = owner(path) if path else None
        if package is None:
            problems.append(f"{token}: no installed package holds {path or 'it'}")
        elif package not in installed:
            problems.append(f"{token}: {path} is in {package}, which the package list does not "
                            "install (add it, or link without it)")
    for problem in problems:
        print(problem)
    print(f"{len(problems)} libraries linked but not installed by scripts/common.sh")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
