#!/usr/bin/env python3
"""End-to-end headless cases of the Windows program under wine, each run beside the
Linux program on the same input and compared with it.

Every case gets an IS folder, a report folder and a program folder (portable mode, so
the data folder is the program folder) named in Cyrillic with a blank, and the folder
arguments end in a backslash as a calling system writes them. The List server is the
Linux reference server on 127.0.0.1. The protocols must be byte for byte the same
after masking only what must differ (the folder part of the paths, Z:\\...\\ against
/.../, and the dates), the exit codes must be the case's and agree, and so must the
log lines after the same masking and without their times.

Usage: wine_suite.py --windows-exe EXE --linux-bin DIR --source DIR
"""
import argparse
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

DEMO_NUMBER = "099-001-000123"
NEW_NUMBER = "099-002-000456"


def windows_path(path: Path) -> str:
    return "Z:" + str(path).replace("/", "\\")


class ListServer:
    def __init__(self, binary: Path, lists: Path, work: Path):
        out = work / "list-server.out"
        self.process = subprocess.Popen(
            [str(binary), "--lists", str(lists), "--port", "0"],
            stdout=open(out, "w"), stderr=subprocess.DEVNULL)
        for _ in range(200):
            if out.exists() and out.read_text().strip():
                break
            time.sleep(0.05)
        self.port = int(out.read_text().split()[0])

    def stop(self):
        self.process.terminate()
        self.process.wait()


def closed_port() -> int:
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def config_text(is_folder: str, report: str, lists: str, port: int, year: int = 0, period: int = 0) -> bytes:
    text = (
        "[Directories]\r\n"
        f"Perech={lists}\r\nIS={is_folder}\r\nReport={report}\r\n"
        "[SummListServer]\r\nName=127.0.0.1\r\n"
        f"Port={port}\r\nApp=list4\r\nConnect=1\r\nSavePassw=0\r\nGetLastList=0\r\n"
        f"[Variables]\r\nYear={year}\r\nPeriod={period}\r\nPENS=0\r\n"
        "[Options]\r\nTerritoryControl=1\r\nTerritoryControlExtendedMode=0\r\nStaff=1\r\nNameList=1\r\n"
        "Accumulate=0\r\nWithList=1\r\nDebug=1\r\nCheckPerFormat=1\r\n")
    return text.encode("cp1251")


class Side:
    """One program (Linux or Windows) with its own program folder in portable mode."""

    def __init__(self, name: str, root: Path, program: Path, data_files, windows: bool, env):
        self.name = name
        self.windows = windows
        self.env = env
        self.folder = root / f"Программа Морвель {name}"
        self.folder.mkdir(parents=True)
        self.program = self.folder / program.name
        shutil.copy2(program, self.program)
        for f in data_files:
            shutil.copy2(f, self.folder / f.name)

    def text(self, path: Path) -> str:
        return windows_path(path) if self.windows else str(path)

    def folder_arg(self, path: Path) -> str:
        return self.text(path) + ("\\" if self.windows else "/")

    def reset(self):
        for entry in self.folder.iterdir():
            if entry.is_dir():
                shutil.rmtree(entry)
            elif entry.name in ("MorvelConfig.ini", "CrossingList.txt", "RightList.txt"):
                entry.unlink()

    def run(self, args):
        command = [str(self.program)] + args
        if self.windows:
            command = [self.env["MORVEL_WINE"], str(self.program)] + args
        result = subprocess.run(command, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=300)
        return result.returncode

    def logs(self) -> str:
        folder = self.folder / "logs"
        if not folder.is_dir():
            return ""
        return "".join(p.read_bytes().decode("utf-8", "replace") for p in sorted(folder.glob("*.log")))


def mask(text: str, side: Side, root: Path) -> str:
    if side.windows:
        text = text.replace(windows_path(root), "<ROOT>")
        # What follows the root is the same folders with the other separator.
        text = re.sub(r"<ROOT>[^\s\"<>]*", lambda m: m.group(0).replace("\\", "/"), text)
    else:
        text = text.replace(str(root), "<ROOT>")
    text = text.replace(side.folder.name, "<PROGRAM>")
    # Each run unpacks into a folder of its own, named by its process.
    text = re.sub(r"run-\d+-[0-9a-f]+", "run-<RUN>", text)
    text = re.sub(r"\b\d{2}\.\d{2}\.\d{4}\b", "<DATE>", text)
    text = re.sub(r"\b\d{2}[:.]\d{2}[:.]\d{2}([:.]\d+)?\b", "<TIME>", text)
    return text


def log_lines(text: str):
    # Times and the process's own names (its log and trace files) must differ.
    lines = []
    for line in text.splitlines():
        line = re.sub(r"\d{4}-\d{2}-\d{2}[ T_]\d{2}[-:.]\d{2}[-:.]\d{2}([-:.]\d+)?", "<STAMP>", line)
        line = re.sub(r"\b\d{8,}\b", "<N>", line)
        lines.append(line)
    return lines


def protocol_of(report: Path):
    found = sorted(report.glob("*.html"))
    return found[0] if found else None


class Case:
    def __init__(self, name, expected, prepare):
        self.name = name
        self.expected = expected
        self.prepare = prepare


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--windows-exe", required=True, type=Path)
    parser.add_argument("--linux-bin", required=True, type=Path)
    parser.add_argument("--source", required=True, type=Path)
    parser.add_argument("--wine-prefix", required=True, type=Path)
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()

    source = args.source
    data_files = [source / "data" / "perech-vlmr.xsd", source / "data" / "perech-vlmr-additional.xml"]
    work = Path(tempfile.mkdtemp(prefix="morvel-wine-"))
    root = work / "Проверка Морвель"
    root.mkdir()

    env = dict(os.environ)
    env.update({"WINEPREFIX": str(args.wine_prefix), "WINEDEBUG": "-all", "LANG": "ru_RU.UTF-8",
                "LC_ALL": "ru_RU.UTF-8", "WINEDLLOVERRIDES": "mscoree,mshtml=", "MORVEL_HTTP_TIMEOUT": "20"})
    env.pop("DISPLAY", None)
    env["MORVEL_WINE"] = shutil.which("wine") or shutil.which("wine64")
    sides = [Side("Linux", root, args.linux_bin / "morvel", data_files, False, env),
             Side("Windows", root, args.windows_exe, data_files, True, env)]

    demo_is = source / "demo" / "is"
    demo_lists = source / "demo" / "lists"
    empty_lists = work / "empty-lists"
    empty_lists.mkdir()
    servers = {"demo": ListServer(args.linux_bin / "morvel-list-server", demo_lists, work),
               "empty": ListServer(args.linux_bin / "morvel-list-server", empty_lists, work)}
    generated = work / "generated"
    (generated / "is").mkdir(parents=True)
    (generated / "lists").mkdir(parents=True)
    common = ["--form", "szv-stazh", "--edition", "newest", "--persons", "20", "--periods", "2",
              "--regnum", "099-003-000789", "--year", "2019", "--seed", "11"]
    gen = str(args.linux_bin / "morvel-gen")
    subprocess.run([gen, "pack"] + common + ["--out", str(generated / "is" /
                   "PFR-700-Y-2019-ORG-099-003-000789-DCK-00001-DPT-000000-DCK-00000.xml")], check=True)
    subprocess.run([gen, "list"] + common + ["--out", str(generated / "lists" / "perech-099-003-000789-2019.xml")],
                   check=True)
    servers["clean"] = ListServer(args.linux_bin / "morvel-list-server", generated / "lists", work)

    def copy_demo(is_folder):
        for f in demo_is.glob("*.xml"):
            shutil.copy2(f, is_folder / f.name)

    def zipped_demo(is_folder):
        with zipfile.ZipFile(is_folder / "Пачки за 2019 год.zip", "w", zipfile.ZIP_DEFLATED) as z:
            for f in demo_is.glob("*.xml"):
                z.write(f, f.name)

    def copy_clean(is_folder):
        for f in (generated / "is").glob("*.xml"):
            shutil.copy2(f, is_folder / f.name)

    # name, expected exit code, what goes into the IS folder, which server, extra files, the words
    cases = [
        ("ошибки и корректирующая пачка", 30, copy_demo, "demo", {}, "folders"),
        ("без ошибок", 0, copy_clean, "clean", {}, "folders"),
        ("нет файлов", 10, lambda f: None, "demo", {}, "number"),
        ("сервер недоступен", 21, copy_demo, None, {}, "folders"),
        ("перечень не найден", 23, copy_demo, "empty", {}, "folders"),
        ("архив ZIP", 30, zipped_demo, "demo", {}, "number"),
        # The packs carry the old number; a run for the new one finds none of them
        # today (10): the search compares a pack's number with the run's own.
        ("список перерегистрации", 10, copy_demo, "demo",
         {"CrossingList.txt": f"{DEMO_NUMBER}/{NEW_NUMBER}/2020/1\r\n".encode("cp1251")}, "new number"),
    ]

    failures = 0
    print(f"{'case':34} {'expected':>8} {'Linux':>6} {'Windows':>8}  protocol")
    for name, expected, fill, server, extra, form in cases:
        case_root = root / name
        is_folder = case_root / "Входящие ИС"
        report = case_root / "Отчёты за год"
        is_folder.mkdir(parents=True)
        report.mkdir()
        fill(is_folder)
        port = servers[server].port if server else closed_port()
        codes, protocols, logs = [], [], []
        for side in sides:
            side.reset()
            for f in report.glob("*"):
                f.unlink()
            (side.folder / "MorvelConfig.ini").write_bytes(
                config_text(side.text(is_folder), side.text(report), side.text(demo_lists), port,
                            *((2019, 4) if form == "new number" else (0, 0))))
            for file_name, content in extra.items():
                (side.folder / file_name).write_bytes(content)
            # The number form takes both folders from the configuration file.
            words = {"folders": ["bpi", side.folder_arg(is_folder), side.folder_arg(report), "p"],
                     "number": ["/bpi", DEMO_NUMBER, "p"],
                     "new number": ["/bpi", NEW_NUMBER, "p"]}[form]
            codes.append(side.run(words))
            protocol = protocol_of(report)
            protocols.append(mask(protocol.read_bytes().decode("cp1251"), side, root) if protocol else None)
            logs.append(log_lines(mask(side.logs(), side, root)))
        verdict = []
        if protocols[0] is None or protocols[1] is None:
            verdict.append("no protocol (Linux %s, Windows %s)" % (protocols[0] is not None, protocols[1] is not None))
        elif protocols[0] == protocols[1]:
            verdict.append("identical to the Linux protocol")
        else:
            a, b = protocols[0].splitlines(), protocols[1].splitlines()
            first = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
            verdict.append("differs from line %d: %r / %r" % (first + 1, a[first] if first < len(a) else "",
                                                             b[first] if first < len(b) else ""))
        if logs[0] != logs[1]:
            diff = [(x, y) for x, y in zip(logs[0], logs[1]) if x != y][:1]
            verdict.append("logs differ (%d / %d lines) %r" % (len(logs[0]), len(logs[1]), diff))
        ok = codes[0] == expected and codes[1] == expected and verdict == ["identical to the Linux protocol"]
        failures += 0 if ok else 1
        print(f"{name:34} {expected:>8} {codes[0]:>6} {codes[1]:>8}  {'; '.join(verdict)}")
    for s in servers.values():
        s.stop()
    passed = len(cases) - failures
    print(f"{passed} passed, {failures} failed")
    if not args.keep:
        shutil.rmtree(work, ignore_errors=True)
    else:
        print(f"kept: {work}")
    return 0 if failures == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
