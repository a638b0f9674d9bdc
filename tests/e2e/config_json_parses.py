#!/usr/bin/env python3
"""zephtab-config's `show --json` and `get NAME --json`, read by Python's own
JSON parser: with nothing stored, and with stored values whose meanings are of
every kind; `get` gives the same object as the field of `show`.

Usage: config_json_parses.py ZEPHTAB-CONFIG.EXE RUNNER...
(RUNNER: the command that runs a Windows program, e.g. winerun.py ... run --)
"""
import json
import subprocess
import sys

SETTINGS_KEY = r"HKCU\Software\Varnok\Toolvex\Zephtab"


def main():
    config, runner = sys.argv[1], sys.argv[2:]

    def run(*arguments):
        return subprocess.run(runner + list(arguments), stdout=subprocess.PIPE, check=True).stdout

    def parsed(*arguments):
        text = run(config, *arguments).decode("utf-8")
        try:
            return json.loads(text)
        except ValueError as error:
            sys.exit(f"zephtab-config {' '.join(arguments)}: not JSON ({error}):\n{text}")

    def check_fields(show, defaults, names):
        places = [(f["in"], f["byte"]) for f in show["fields"]]
        expected = [("Options", byte) for byte in range(11)] + \
            [("MoreOptions", byte) for byte in range(1, 8)]
        if show["defaults"] is not defaults or show["moreDefaults"] is not defaults \
                or places != expected:
            sys.exit(f"show --json: unexpected document: {show}")
        for field in show["fields"]:
            if field["name"] in names:
                got = parsed("get", field["name"], "--json")
                if got != dict(field, defaults=defaults):
                    sys.exit(f"get {field['name']} --json: {got}, but show has {field}")

    try:
        subprocess.run(runner + ["reg", "delete", SETTINGS_KEY, "/f"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        absent = parsed("show", "--json")
        if absent["version"] is not None:
            sys.exit(f"show --json with nothing stored: {absent}")
        check_fields(absent, True, {"switcherAlpha", "openOn"})
        run(config, "set", "switcherAlpha=40", "screenPosition=9", "showToolbar=on",
            "openOn=foreground", "listWindows=5", "--no-reload")
        stored = parsed("show", "--json")
        check_fields(stored, False, {f["name"] for f in stored["fields"]})
    finally:
        subprocess.run(runner + ["reg", "delete", SETTINGS_KEY, "/f"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    print("show --json and get --json parse, with and without a stored record")


if __name__ == "__main__":
    main()
