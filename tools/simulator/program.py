"""The upgrade program the simulator serves, and its signature made with the test key."""

import os
import shlex
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAM_NAME = "Vemovelk.exe"
RECORD_NAME = "upgrade-runs.jsonl"


def build_program(state_dir):
    """Writes the upgrade program into `state_dir`, recording into a file there; returns its bytes."""
    with open(os.path.join(HERE, "upgrade_program.sh"), encoding="utf-8") as f:
        template = f.read()
    record = os.path.join(os.path.abspath(state_dir), RECORD_NAME)
    data = template.replace("@RECORD@", shlex.quote(record)).encode("utf-8")
    path = os.path.join(state_dir, PROGRAM_NAME)
    with open(path, "wb") as f:
        f.write(data)
    os.chmod(path, 0o755)
    return data, path


def sign(tool, seed, path):
    """The base64 signature of the file at `path`, or None (said on stderr) when it cannot be made."""
    if not tool or not os.access(tool, os.X_OK):
        print("simulator: no signing tool at %s; the version file has no signature" % tool, file=sys.stderr)
        return None
    result = subprocess.run([tool, seed, path], capture_output=True, text=True)
    if result.returncode != 0:
        print("simulator: %s failed: %s" % (tool, result.stderr.strip()), file=sys.stderr)
        return None
    return result.stdout.strip()
