#!/usr/bin/env python3
"""The platform simulator: plays the game platform's servers for the demo and the tests.

    simulator.py --port N --log FILE [--state-dir DIR] [options]

Port 0 picks a free port. Once listening it prints "listening on PORT" to stdout.
See README.md beside this file for the endpoints, the request log and the control switches.
"""

import argparse
import os
import signal
import sys
import threading
from http.server import ThreadingHTTPServer

from delivery import is_fault_kind
from handler import Handler, RequestLog
from program import build_program, sign
from state import SIGNATURE_MODES, PlatformState

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))


class SimulatorServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, request_log, state):
        self.request_log = request_log
        self.state = state
        self.stopping = threading.Event()
        super().__init__(("127.0.0.1", port), Handler)


def fault_option(text):
    path, _, kind = text.rpartition("=")
    if not path.startswith("/") or not is_fault_kind(kind):
        raise argparse.ArgumentTypeError("expected PATH=KIND, for example /ps.gif=nolength")
    return path, kind


def parse_args(argv):
    parser = argparse.ArgumentParser(description="Glider's platform simulator")
    parser.add_argument("--port", type=int, default=8730, help="port on 127.0.0.1; 0 picks a free one")
    parser.add_argument("--log", required=True, help="request log, one JSON line per request (appended)")
    parser.add_argument("--state-dir", help="folder of the upgrade program (default: the log's)")
    parser.add_argument("--sign-tool", default=os.path.join(REPO, "build", "tools", "glider-sign"))
    parser.add_argument("--sign-key", default=os.path.join(HERE, "test-key", "seed.b64"))
    parser.add_argument("--currentversion", default="3.0.0.0")
    parser.add_argument("--upgraderange", default="")
    parser.add_argument("--signature", choices=SIGNATURE_MODES, default="good")
    parser.add_argument("--fault", type=fault_option, action="append", default=[], metavar="PATH=KIND")
    return parser.parse_args(argv)


def main(argv):
    args = parse_args(argv)
    state_dir = args.state_dir or os.path.dirname(os.path.abspath(args.log))
    os.makedirs(state_dir, exist_ok=True)
    program, program_path = build_program(state_dir)
    defaults = {
        "currentversion": args.currentversion,
        "upgraderange": args.upgraderange,
        "signature": args.signature,
        "faults": args.fault,
    }
    state = PlatformState(defaults, program, sign(args.sign_tool, args.sign_key, program_path))
    request_log = RequestLog(args.log)
    server = SimulatorServer(args.port, request_log, state)

    def stop(signum, frame):
        server.stopping.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    print("listening on %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.stopping.set()
        server.server_close()
        request_log.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
