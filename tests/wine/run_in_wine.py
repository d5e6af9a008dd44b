#!/usr/bin/python3
"""Runs one Windows program in a fresh Wine session and exits with its code.

  run_in_wine.py [--timeout S] [--fixtures DIR] [--template DIR]
                 [--probe EXE] EXE [ARGS...]

The program runs from its own folder with the session's display; its output
goes to ours. The probe window (default: probe.exe beside EXE) is started
first, so that EXE is not the first program of a fresh wineserver.
--fixtures passes QS_FIXTURES_DIR, the Windows path of DIR, in the program's
environment.
"""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qswine import WineSession, log, z_path  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--timeout", type=float, default=300)
    parser.add_argument("--fixtures")
    parser.add_argument("--template")
    parser.add_argument("--probe")
    parser.add_argument("exe")
    parser.add_argument("args", nargs=argparse.REMAINDER)
    options = parser.parse_args()

    exe = os.path.abspath(options.exe)
    if not os.path.isfile(exe):
        print(f"no such program: {exe}", file=sys.stderr)
        return 2
    env = {}
    if options.fixtures:
        env["QS_FIXTURES_DIR"] = z_path(options.fixtures)
    name = os.path.basename(exe)
    probe = options.probe or os.path.join(os.path.dirname(exe), "probe.exe")
    if not os.path.isfile(probe):
        print(f"no probe at {probe}; {name} runs as the first Wine program", file=sys.stderr)
        probe = None
    try:
        # Leaving the session by the exception saves its screen and logs.
        with WineSession(exe=None, template=options.template, probe=probe,
                         with_probe=probe is not None,
                         name=os.path.splitext(name)[0]) as session:
            process = subprocess.Popen(["wine", exe, *options.args],
                                       env={**session.env, **env}, cwd=os.path.dirname(exe),
                                       stdin=subprocess.DEVNULL)
            try:
                code = process.wait(timeout=options.timeout)
            except subprocess.TimeoutExpired:
                raise TimeoutError(f"{name} did not end within {options.timeout:g} s") from None
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()
    except TimeoutError as error:
        print(error, file=sys.stderr)
        return 124
    log(f"{name} ended with {code}")
    return code


if __name__ == "__main__":
    sys.exit(main())
