#!/usr/bin/env python3
"""prochnar-calc on damaged and hostile form files.

Each case writes a file, runs the command on it with bounded memory and time,
and checks the exit status and that bad input prints nothing on standard
output and one line on standard error.

    python3 tests/cli/hostile_files.py --calc build/cli/prochnar-calc
"""

import argparse
import os
import resource
import subprocess
import sys
import tempfile

MEMORY_LIMIT = 512 * 1024 * 1024  # address space of the command, bytes
TIME_LIMIT = 20                   # seconds per run

# Step 1 filled in completely: 3 / 1,5 · 100 = 200.
GOOD = ("txtMn=1\ntxtMp=1\ntxtMv=1\ntxtLp=20\ntxtl=65\ntxtG=1\ntxtGg=1\nText9=5\nText10=5\n"
        "txtLpp=3\ntxtIy=1,5\ntxtH=1,2\ntxtB=0,8\ntxtIyy=2\n")


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))


def run(calc, data, args=(), via_stdin=False, limit=True):
    with tempfile.NamedTemporaryFile(suffix=".form", delete=False) as f:
        f.write(data)
        path = f.name
    try:
        argv = [calc, *args] + ([] if via_stdin else [path])
        with open(path, "rb") as stdin:
            p = subprocess.run(argv, stdin=stdin if via_stdin else subprocess.DEVNULL,
                               capture_output=True, timeout=TIME_LIMIT,
                               preexec_fn=limit_memory if limit else None)
        return p.returncode, p.stdout, p.stderr
    finally:
        os.unlink(path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--calc", required=True)
    # AddressSanitizer reserves more address space than any sane limit.
    ap.add_argument("--no-memory-limit", action="store_true")
    options = ap.parse_args()
    calc = options.calc
    failures = []

    def expect(name, data, status, args=(), via_stdin=False, check_out=None):
        rc, out, err = run(calc, data, args, via_stdin, not options.no_memory_limit)
        problems = []
        if rc != status:
            problems.append("exit status %d, expected %d" % (rc, status))
        if status == 2:
            if out:
                problems.append("bad input printed %d bytes on standard output" % len(out))
            if err.count(b"\n") != 1:
                problems.append("expected one line on standard error, got %r" % err[:200])
        elif check_out and not check_out(out):
            problems.append("unexpected output: %r" % out[:300])
        if problems:
            failures.append("%s: %s" % (name, "; ".join(problems)))

    step1 = ["--press", "Command2"]
    lines_of = lambda out: out.decode("utf-8").splitlines()

    expect("binary", bytes(range(256)) * 64, 2)
    expect("non-UTF-8 (windows-1251)", "txtMn=Ж\n".encode("cp1251"), 2)
    expect("UTF-16", "txtMn=1\n".encode("utf-16"), 2)
    expect("truncated UTF-8 at the end", b"txtMn=1\ntxtMp=\xd0", 2)
    expect("line without =", b"txtMn=1\ntxtMp\n", 2)
    expect("NUL in a name", b"txt\x00Mn=1\n", 2)
    expect("enormous (20 MiB)", b"# " + b"x" * (20 * 1024 * 1024) + b"\n", 2)
    expect("enormous on standard input", b"# " + b"x" * (20 * 1024 * 1024) + b"\n", 2, via_stdin=True)
    expect("truncated (no final newline)", GOOD.encode().rstrip(b"\n"), 0, step1,
           check_out=lambda out: "lblJ=200" in lines_of(out))
    expect("CRLF", GOOD.replace("\n", "\r\n").encode(), 0, step1,
           check_out=lambda out: "lblJ=200" in lines_of(out) and b"\r" not in out)
    expect("BOM", b"\xef\xbb\xbf" + GOOD.encode(), 0, step1,
           check_out=lambda out: "lblJ=200" in lines_of(out))
    expect("empty file", b"", 0, ["--press", "Command6"],
           check_out=lambda out: "txtl1=0" in lines_of(out))
    expect("a field of 5 MB", GOOD.encode() + b"txtLpp=" + b"7" * (5 * 1024 * 1024) + b"\n", 1, step1,
           check_out=lambda out: len(out) > 5 * 1024 * 1024)
    expect("a million comment lines", b"#\n" * 1_000_000 + GOOD.encode(), 0, step1,
           check_out=lambda out: "lblJ=200" in lines_of(out))

    # A directory and a missing file.
    rc = subprocess.run([calc, tempfile.gettempdir()], capture_output=True, timeout=TIME_LIMIT)
    if rc.returncode != 2 or rc.stdout:
        failures.append("directory: exit %d, %d bytes on standard output" % (rc.returncode, len(rc.stdout)))
    rc = subprocess.run([calc, "/nonexistent/form"], capture_output=True, timeout=TIME_LIMIT)
    if rc.returncode != 2 or rc.stdout:
        failures.append("missing file: exit %d" % rc.returncode)

    for f in failures:
        print("FAIL", f)
    print("hostile files: %d cases failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
