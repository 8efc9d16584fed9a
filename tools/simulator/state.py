"""What the simulated platform currently offers: the version file, the upgrade program and faults."""

import base64
import json
import threading

from delivery import Fault, is_fault_kind

SIGNATURE_MODES = ("good", "bad", "none")
VERSION_KEYS = ("currentversion", "upgraderange", "signature")


class ControlError(Exception):
    pass


def bad_signature(good):
    """A well-formed signature that does not match: the good one with a flipped bit, or zeros."""
    raw = bytearray(base64.b64decode(good)) if good else bytearray(64)
    if good:
        raw[0] ^= 0x01
    return base64.b64encode(bytes(raw)).decode()


class PlatformState:
    def __init__(self, defaults, program, good_signature):
        self._lock = threading.Lock()
        self._defaults = dict(defaults)
        self.program = program
        self.good_signature = good_signature
        self._settings = {}
        self._faults = {}
        self.reset()

    def reset(self):
        with self._lock:
            self._settings = {k: self._defaults[k] for k in ("currentversion", "upgraderange", "signature")}
            self._settings["omit"] = []
            self._faults = {}
        for path, kind in self._defaults.get("faults", ()):
            self.set_fault(path, Fault(kind), None)

    def set_fault(self, path, fault, times):
        with self._lock:
            if fault.kind == "ok":
                self._faults.pop(path, None)
            else:
                self._faults[path] = [fault, times]

    def take_fault(self, path):
        """The fault to apply to this request of `path`, counting down one with a limited number of uses."""
        with self._lock:
            entry = self._faults.get(path)
            if not entry:
                return None
            fault, times = entry
            if times is not None:
                entry[1] = times - 1
                if entry[1] <= 0:
                    del self._faults[path]
            return fault

    def apply(self, params):
        """Applies one control request (a dict of text values); raises ControlError when it makes no sense."""
        if params.get("reset"):
            self.reset()
        updates = {}
        for key in ("currentversion", "upgraderange"):
            if key in params:
                updates[key] = params[key]
        if "signature" in params:
            if params["signature"] not in SIGNATURE_MODES:
                raise ControlError("signature must be one of " + ", ".join(SIGNATURE_MODES))
            updates["signature"] = params["signature"]
        if "omit" in params:
            omit = [k for k in params["omit"].split(",") if k]
            unknown = [k for k in omit if k not in VERSION_KEYS]
            if unknown:
                raise ControlError("cannot omit " + ", ".join(unknown))
            updates["omit"] = omit
        fault = None
        if "fault" in params:
            fault = self._parse_fault(params)
        with self._lock:
            self._settings.update(updates)
        if fault:
            self.set_fault(*fault)

    @staticmethod
    def _parse_fault(params):
        path, kind = params["fault"], params.get("kind", "")
        if not path.startswith("/") or not (kind == "ok" or is_fault_kind(kind)):
            raise ControlError("fault needs a path starting with / and a kind (ok, a status or a fault kind)")
        try:
            sent = int(params["sent"]) if "sent" in params else None
            max_seconds = float(params.get("max", "30"))
            times = int(params["times"]) if "times" in params else None
        except ValueError:
            raise ControlError("sent, max and times must be numbers")
        if times is not None and times < 1:
            raise ControlError("times must be 1 or more")
        return path, Fault(kind, sent, max_seconds), times

    def signature_text(self):
        mode = self._settings["signature"]
        if mode == "good":
            return self.good_signature
        if mode == "bad":
            return bad_signature(self.good_signature)
        return None

    def version_file(self):
        """The version file: an INI file with CRLF line ends, as a Windows server would hold it."""
        with self._lock:
            values = {
                "currentversion": self._settings["currentversion"],
                "upgraderange": self._settings["upgraderange"],
                "signature": self.signature_text(),
            }
            omit = set(self._settings["omit"])
        lines = ["[version]"]
        lines += ["%s=%s" % (k, values[k]) for k in VERSION_KEYS if k not in omit and values[k] is not None]
        return ("\r\n".join(lines) + "\r\n").encode("utf-8")

    def describe(self):
        with self._lock:
            return json.dumps(
                {
                    "currentversion": self._settings["currentversion"],
                    "upgraderange": self._settings["upgraderange"],
                    "signature": self._settings["signature"],
                    "omit": self._settings["omit"],
                    "signed": self.good_signature is not None,
                    "faults": {p: dict(f.describe(), times=t) for p, (f, t) in self._faults.items()},
                },
                ensure_ascii=False,
                sort_keys=True,
            )
