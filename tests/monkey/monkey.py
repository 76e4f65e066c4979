#!/usr/bin/env python3
"""The operator monkey: random operator input to the real panel, drawn from one seed.

Run by scripts/monkey, which starts the panel (under Xvfb, in the lab), the simulators and this
driver. Each step: one action (or two in quick succession, the second landing while the first
may still wait), then a request to the panel's liveness probe, which also lists the panel's
visible windows and controls with their screen rectangles; the next action aims at those. A
probe that does not answer in time is a hang; a panel process that is gone is a crash.

  monkey.py drive --seed S --minutes M --pages SET --probe DIR --panel-pid PID
                  --devices devices.tsv --port PATH --work DIR --artifacts DIR
  monkey.py check-logs --pages SET --devices devices.tsv  (the simulators' logs)

Exit status: 0 passed, 1 a fault was found (printed with the seed and the last 50 actions).
"""
import argparse
import collections
import os
import random
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# Page class (as the probe names it) -> device kind.
PAGE_KINDS = {
    "MultiviewerPage": "multiviewer",
    "SwitcherPage": "switcher",
    "MatrixPage": "matrix",
    "QuadviewPage": "quadview",
}
# Control ids of the main window and the settings window (src/shell).
SCAN, SETTINGS, DEVICE_COMBO, CLOSE = 1005, 1006, 1007, 1002
MODE_LIST, PORT_LIST, BAUD_LIST, CONNECT, IP_FIELD, CHANGE_IP = 1103, 1014, 1015, 1011, 1036, 1032

# A wait is at most 5 s; the probe is given 6 s per action, and a scan 2 s more (the search
# waits 2 s, then the page it opens may query its device).
PROBE_DEADLINE_S = 6.0
SCAN_EXTRA_S = 2.0
# However many actions are queued, no answer in this long is a hang.
HANG_S = 30.0

TEXTS = ["1", "16", "0", "255", "256", "-1", "abc", "CAM 1", "Program", "x" * 40,
         "\u00e9\u20ac", "192.0.2.55", "999.1.1.1", "", "  ", "%s%n%x", "0x7f", "12345678901"]


class Fault(Exception):
    pass


def read_table(path):
    actions, controls, avoid = [], {}, set()
    with open(path, encoding="utf-8") as table:
        for line in table:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            if fields[0] == "action":
                actions.append((fields[1], int(fields[2])))
            elif fields[0] == "control":
                controls[fields[1]] = (int(fields[2]), fields[3])
            elif fields[0] == "avoid":
                avoid.add(int(fields[1]))
    return actions, controls, avoid


class Screen:
    """What the probe last reported: windows and controls in screen coordinates."""

    def __init__(self, text):
        self.text = text
        self.windows, self.controls = [], []
        self.focus = None  # the id of the control with the keyboard focus; None: not known
        for line in text.splitlines()[1:]:
            f = line.split("\t")
            if f[0] == "window" and len(f) >= 8:
                self.windows.append({"cls": f[1].split("::")[-1], "title": f[2],
                                     "rect": tuple(int(v) for v in f[3:7]), "modal": f[7] == "1"})
            elif f[0] == "control" and len(f) >= 7:
                control = {"id": int(f[1]), "cls": f[2].split("::")[-1],
                           "rect": tuple(int(v) for v in f[3:7]),
                           "text": f[7] if len(f) > 7 else "", "items": [], "index": -1}
                if len(f) > 8:  # a list: its index, then its entries
                    index, *items = f[8].split("|")
                    control["index"], control["items"] = int(index), items
                self.controls.append(control)
            elif f[0] == "focus" and len(f) >= 2 and f[1].isdigit():
                self.focus = int(f[1])

    def on_control(self, ids, x, y):
        """Whether the point lies on one of these controls."""
        return any(c["id"] in ids and c["rect"][0] <= x < c["rect"][0] + c["rect"][2] and
                   c["rect"][1] <= y < c["rect"][1] + c["rect"][3] for c in self.controls)

    def control(self, control_id):
        for c in self.controls:
            if c["id"] == control_id:
                return c
        return None

    def page_kind(self):
        for c in self.controls:
            if c["cls"] in PAGE_KINDS:
                return PAGE_KINDS[c["cls"]]
        return None

    def has_window(self, cls):
        return any(w["cls"] == cls for w in self.windows)


class Probe:
    def __init__(self, folder, panel_pid):
        self.ask_path = os.path.join(folder, "ask")
        self.answer_path = os.path.join(folder, "answer")
        self.panel_pid = panel_pid
        self.serial = 0
        self.max_latency = 0.0
        self.last_latency = 0.0

    def alive(self):
        try:
            with open(f"/proc/{self.panel_pid}/stat") as stat:
                return ") Z" not in stat.read()
        except OSError:
            return False

    def ask(self, deadline_s, quit_too=False):
        self.serial += 1
        request = f"{self.serial}{' quit' if quit_too else ''}\n"
        try:
            fd = os.open(self.ask_path, os.O_WRONLY | os.O_NONBLOCK)
        except OSError as error:
            raise Fault(f"the panel's probe is not there ({error}): the panel is gone (crash)")
        try:
            os.write(fd, request.encode())
        finally:
            os.close(fd)
        start = time.monotonic()
        while True:
            try:
                with open(self.answer_path, encoding="utf-8", errors="replace") as answer:
                    text = answer.read()
                if text.split("\n", 1)[0].split(" ")[0] == str(self.serial) and \
                        text.endswith("end\n"):
                    latency = time.monotonic() - start
                    self.max_latency = max(self.max_latency, latency)
                    self.last_latency = latency
                    return Screen(text)
            except FileNotFoundError:
                pass
            if not self.alive():
                raise Fault("the panel process is gone (crash)")
            # Waits on past the deadline, to tell a slow answer from none.
            if time.monotonic() - start > max(deadline_s, HANG_S):
                raise Fault(f"the panel did not answer the probe within "
                            f"{max(deadline_s, HANG_S):.0f} s (hang)")
            time.sleep(0.02)


class Monkey:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.actions, self.control_weights, self.avoid = read_table(
            os.path.join(HERE, "weights.tsv"))
        self.probe = Probe(args.probe, args.panel_pid)
        self.devices = read_devices(args.devices)
        self.recent = collections.deque(maxlen=50)
        self.count = 0
        self.log = open(os.path.join(args.artifacts, "actions.log"), "w", encoding="utf-8")
        self.shots = os.path.join(args.work, "shots")
        os.makedirs(self.shots, exist_ok=True)
        self.shot_of = collections.OrderedDict()  # action number -> screenshot file
        self.screen = None
        self.deadline_s = 0.0
        self.trace_offset = 0

    # -- input ----------------------------------------------------------------------------
    def xdo(self, *words):
        subprocess.run(["xdotool", *[str(w) for w in words]], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def point_in(self, rect, inset=2):
        x, y, w, h = rect
        return (x + self.rng.randint(min(inset, w // 2), max(min(inset, w // 2), w - 1 - inset)),
                y + self.rng.randint(min(inset, h // 2), max(min(inset, h // 2), h - 1 - inset)))

    def centre(self, rect):
        x, y, w, h = rect
        return x + w // 2, y + h // 2

    def note(self, text):
        self.count += 1
        line = f"{self.count:6d} {time.strftime('%H:%M:%S')} {text}"
        self.recent.append(line)
        self.log.write(line + "\n")
        self.log.flush()

    def click(self, x, y, button=1):
        self.xdo("mousemove", x, y, "click", button)

    # -- actions --------------------------------------------------------------------------
    def targets(self, use=None):
        found = []
        for c in self.screen.controls:
            if c["id"] in self.avoid or c["cls"] not in self.control_weights:
                continue
            weight, how = self.control_weights[c["cls"]]
            if c["rect"][2] <= 2 or c["rect"][3] <= 2 or (use and how != use):
                continue
            found.append((c, weight, how))
        return found

    def pick(self, weighted):
        total = sum(w for _, w in weighted)
        roll = self.rng.uniform(0, total)
        for item, w in weighted:
            roll -= w
            if roll <= 0:
                return item
        return weighted[-1][0]

    def known_control(self):
        found = self.targets()
        if not found:
            return self.click_anywhere()
        control, how = self.pick([((c, h), w) for c, w, h in found])
        getattr(self, "use_" + how)(control)

    def use_click(self, c):
        x, y = self.point_in(c["rect"])
        self.note(f"click {c['cls']} {c['id']} '{c['text']}' at {x},{y}")
        self.click(x, y)

    def use_list(self, c):
        x, y = self.point_in(c["rect"])
        then = self.rng.choice(["pick", "pick", "pick", "esc", "wander"])
        if then == "pick" and c["items"]:
            index = self.rng.randrange(len(c["items"]))
            self.note(f"list {c['cls']} {c['id']} at {x},{y}: entry {index} "
                      f"'{c['items'][index]}'")
            return self.pick_entry(c, x, y, index)
        self.note(f"list {c['cls']} {c['id']} '{c['text']}' at {x},{y}: {then}")
        self.click(x, y)
        if then == "esc":
            time.sleep(0.15)
            self.xdo("key", "Escape")

    def use_drag(self, c):
        x, y, w, h = c["rect"]
        vertical = h > w
        sx, sy = self.point_in(c["rect"])
        ex, ey = self.point_in(c["rect"])
        if self.rng.random() < 0.2:  # past the control's ends
            if vertical:
                ey = y - 20 if self.rng.random() < 0.5 else y + h + 20
            else:
                ex = x - 20 if self.rng.random() < 0.5 else x + w + 20
        steps = self.rng.randint(1, 25)
        self.note(f"drag {c['cls']} {c['id']} from {sx},{sy} to {ex},{ey} in {steps} steps")
        moves = ["mousemove", sx, sy, "mousedown", 1]
        for k in range(1, steps + 1):
            moves += ["mousemove", sx + (ex - sx) * k // steps, sy + (ey - sy) * k // steps,
                      "sleep", "0.01"]
        moves += ["mouseup", 1]
        self.xdo(*moves)

    def use_type(self, c):
        text = self.rng.choice(TEXTS)
        end = self.rng.choice(["Return", "Return", "Tab", "none"])
        x, y = self.point_in(c["rect"])
        self.note(f"type into {c['cls']} {c['id']} at {x},{y}: {text!r} then {end}")
        self.click(x, y)
        words = ["key", "ctrl+a", "BackSpace"]
        if text:
            words += ["type", "--delay", "5", "--", text]
        if end != "none":
            words += ["key", end]
        self.xdo(*words)

    def main_window(self):
        for w in self.screen.windows:
            if w["cls"] == "MainWindow":
                return w
        return self.screen.windows[0] if self.screen.windows else None

    def click_anywhere(self, button=1):
        windows = self.screen.windows
        if not windows:
            return self.idle()
        window = self.main_window() if self.rng.random() < 0.7 else self.rng.choice(windows)
        for _ in range(10):
            x, y = self.point_in(window["rect"], inset=0)
            # A click never lands on a control never pressed (close, minimise, Find).
            if not self.screen.on_control(self.avoid, x, y):
                break
        else:
            return self.idle()
        self.note(f"{'right-' if button == 3 else ''}click anywhere in {window['cls']} at {x},{y}")
        self.click(x, y, button)

    def right_click(self):
        self.click_anywhere(button=3)

    def drag_slider(self):
        found = self.targets("drag")
        if not found:
            return self.known_control()
        self.use_drag(self.pick([(c, w) for c, w, _ in found]))

    def type_text(self):
        found = self.targets("type")
        if not found:
            return self.known_control()
        self.use_type(self.pick([(c, w) for c, w, _ in found]))

    def key(self, name):
        # Space presses the focused button: only where the focus is known and is not on a
        # control never pressed.
        if name == "space" and (self.screen is None or self.screen.focus is None or
                                self.screen.focus in self.avoid):
            name = "Escape"
        self.note(f"key {name}")
        self.xdo("key", name)

    def key_esc(self):
        self.key("Escape")

    def key_tab(self):
        self.key(self.rng.choice(["Tab", "Tab", "shift+Tab"]))

    def key_enter(self):
        self.key("Return")

    def key_arrows(self):
        self.key(self.rng.choice(["Up", "Down", "Left", "Right", "space", "Page_Down"]))

    def press(self, control_id, what):
        c = self.screen.control(control_id)
        if c is None:
            return False
        x, y = self.centre(c["rect"])
        self.note(f"{what} at {x},{y}")
        self.click(x, y)
        return True

    def scan(self):
        if not self.press(SCAN, "scan"):
            self.key_esc()

    def choose_device(self):
        combo = self.screen.control(DEVICE_COMBO)
        if combo is None:
            return self.key_esc()
        entries = combo["items"]
        if not entries:
            return self.scan()
        names = [d["name"] for d in self.devices if d["kind"] == self.args.pages]
        wanted = [i for i, e in enumerate(entries) if e.split("_")[0] in names]
        pool = wanted if wanted and self.rng.random() < 0.8 else list(range(len(entries)))
        index = self.rng.choice(pool)
        x, y = self.centre(combo["rect"])
        self.note(f"choose device {index} '{entries[index]}' in the list at {x},{y}")
        self.pick_entry(combo, x, y, index)

    def pick_entry(self, combo, x, y, index):
        """Opens the list and walks to the entry with the keys, from its current one."""
        self.click(x, y)
        time.sleep(0.3)
        moves = index - max(combo["index"], 0)
        keys = ["Down"] * moves if moves > 0 else ["Up"] * -moves
        self.xdo("key", *keys, "Return")

    def open_settings(self):
        if self.screen.control(MODE_LIST) is not None:
            return True
        if not self.press(SETTINGS, "open the settings window"):
            return False
        self.screen = self.probe.ask(PROBE_DEADLINE_S)
        return self.screen.control(MODE_LIST) is not None

    def settings(self):
        if not self.open_settings():
            return self.key_esc()
        choice = self.rng.choice(["lan", "lan", "lan", "serial", "port", "baud", "ip", "close",
                                  "close"])
        if choice in ("lan", "serial"):
            c = self.screen.control(MODE_LIST)
            x, y = self.centre(c["rect"])
            self.note(f"settings: mode list at {x},{y} -> {choice}")
            self.pick_entry(c, x, y, 0 if choice == "lan" else 1)
        elif choice == "port":
            c = self.screen.control(PORT_LIST)
            if c is None or self.args.port not in c["items"]:
                return self.key_esc()
            x, y = self.centre(c["rect"])
            self.note(f"settings: port list at {x},{y} -> {self.args.port}")
            self.pick_entry(c, x, y, c["items"].index(self.args.port))
        elif choice == "baud":
            c = self.screen.control(BAUD_LIST)
            if c is None:
                return self.key_esc()
            steps = self.rng.randint(0, 6)
            x, y = self.centre(c["rect"])
            self.note(f"settings: baud list at {x},{y}, {steps} up")
            self.click(x, y)
            time.sleep(0.15)
            self.xdo("key", *(["Up"] * steps), "Return")
        elif choice == "ip":
            c = self.screen.control(CHANGE_IP)
            if c is None:
                return self.key_esc()
            self.press(CHANGE_IP, "settings: change IP")
        else:
            self.key_esc()

    def connect(self):
        if not self.open_settings():
            return self.key_esc()
        if not self.press(CONNECT, "settings: Connect/Disconnect"):
            self.key_esc()

    def idle(self):
        seconds = round(self.rng.uniform(0.3, 3.0), 1)
        self.note(f"idle {seconds} s")
        time.sleep(seconds)

    def burst(self):
        first = self.pick([(n, w) for n, w in self.actions if n not in ("burst", "idle")])
        second = self.pick([(n, w) for n, w in self.actions
                            if n not in ("burst", "idle", "settings", "connect")])
        self.note(f"burst: {first} then {second} without waiting")
        getattr(self, first)()
        self.screen.focus = None  # the first action may have moved it
        self.deadline_s += PROBE_DEADLINE_S
        time.sleep(self.rng.uniform(0.0, 0.3))
        getattr(self, second)()

    # -- the run --------------------------------------------------------------------------
    def shoot(self):
        path = os.path.join(self.shots, f"{self.count % 10}.miff")
        subprocess.run(["import", "-silent", "-window", "root", path], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        self.shot_of[self.count] = path
        while len(self.shot_of) > 10:
            self.shot_of.popitem(last=False)

    def new_traces(self):
        """The panel's traces written since the last call."""
        try:
            with open(os.path.join(self.args.artifacts, "panel.log"), "rb") as log:
                log.seek(self.trace_offset)
                text = log.read()
                self.trace_offset += len(text)
                return text.decode("utf-8", "replace")
        except OSError:
            return ""

    def dismiss_boxes(self):
        # An "Err" box waits for the operator; mostly the monkey answers it at once.
        if any(w["title"] == "Err" for w in self.screen.windows) and self.rng.random() < 0.7:
            button = self.rng.choice(["Return", "Escape"])
            self.key(button)
            return True
        return False

    def step(self):
        self.deadline_s = PROBE_DEADLINE_S
        if not self.dismiss_boxes():
            kind = self.screen.page_kind()
            combo = self.screen.control(DEVICE_COMBO)
            entries = combo["items"] if combo else []
            listed = any("_" in e for e in entries)  # "NAME_ADDRESS" after a LAN search
            names = [d["name"] for d in self.devices if d["kind"] == self.args.pages]
            wanted = any(e.split("_")[0] in names for e in entries)
            if self.count == 0 or (not listed and self.rng.random() < 0.05):
                weighted = [("scan", 1)]
            elif wanted and kind != self.args.pages and self.rng.random() < 0.5:
                weighted = [("choose_device", 1)]
            else:
                weighted = self.actions
            getattr(self, self.pick(weighted))()
        self.screen = self.probe.ask(self.deadline_s)
        # A search waits 2 s and then opens a page, which may query its device: however the
        # scan was pressed (by the scan action, a known control, a stray click), each search in
        # the panel's traces since the last step allows 2 s more.
        searches = self.new_traces().count(" search \n")
        allowed = self.deadline_s + SCAN_EXTRA_S * searches
        if self.probe.last_latency > allowed:
            raise Fault(f"the panel answered only after {self.probe.last_latency:.1f} s "
                        f"(allowed {allowed:.1f} s for this step, {searches} search(es)): "
                        f"a wait too long")
        if self.probe.last_latency > 2.0:
            self.note(f"(the probe answered after {self.probe.last_latency:.2f} s)")
            self.count -= 1
        self.shoot()
        with open(os.path.join(self.args.artifacts, "last-screen.txt"), "w") as out:
            out.write(self.screen.text)

    def finish(self):
        """Ends the panel as the operator does: boxes and popups away, then the close button."""
        for _ in range(3):
            self.xdo("key", "Escape")
            time.sleep(0.2)
        self.screen = self.probe.ask(PROBE_DEADLINE_S * 2)
        close = self.screen.control(CLOSE)
        if close is not None and not any(w["modal"] for w in self.screen.windows):
            x, y = self.centre(close["rect"])
            self.note(f"close the panel at {x},{y}")
            self.click(x, y)
        else:
            self.note("close the panel through the probe (a modal window is open)")
            try:
                self.probe.ask(HANG_S, quit_too=True)
            except Fault:
                pass

    def run(self):
        print(f"monkey: seed {self.args.seed}, pages {self.args.pages}, "
              f"{self.args.minutes} min", flush=True)
        end = time.monotonic() + self.args.minutes * 60
        try:
            self.screen = self.probe.ask(HANG_S)
            while time.monotonic() < end:
                self.step()
                if self.count % 200 == 0:
                    print(f"monkey: {self.count} actions, longest probe answer "
                          f"{self.probe.max_latency:.2f} s", flush=True)
            self.finish()
        except Fault as fault:
            self.fail(str(fault))
            if self.probe.alive():  # slow, not gone: end it cleanly all the same
                try:
                    self.finish()
                except Fault:
                    pass
            return 1
        except Exception as error:  # the driver's own fault: still end the panel cleanly
            self.fail(f"the monkey itself failed: {error!r}")
            try:
                self.finish()
            except Exception:
                pass
            raise
        print(f"monkey: done: {self.count} actions, longest probe answer "
              f"{self.probe.max_latency:.2f} s", flush=True)
        return 0

    def fail(self, why):
        print(f"monkey: FAULT: {why}", file=sys.stderr)
        print(f"monkey: seed {self.args.seed}, pages {self.args.pages}; the last "
              f"{len(self.recent)} actions:", file=sys.stderr)
        for line in self.recent:
            print("  " + line, file=sys.stderr)
        for number, path in self.shot_of.items():
            target = os.path.join(self.args.artifacts, f"action-{number:06d}.png")
            subprocess.run(["convert", path, target], check=False)
        print(f"monkey: screenshots of the last {len(self.shot_of)} actions in "
              f"{self.args.artifacts}", file=sys.stderr)
        with open(os.path.join(self.args.artifacts, "fault.txt"), "w") as out:
            out.write(why + "\n")


def read_devices(path):
    devices = []
    with open(path, encoding="utf-8") as table:
        header = table.readline().rstrip("\n").split("\t")
        for line in table:
            devices.append(dict(zip(header, line.rstrip("\n").split("\t"))))
    return devices


# -- the simulators' logs -----------------------------------------------------------------
PANEL = "192.0.2.1"
LINE = re.compile(r"^\d\d:\d\d:\d\d\.\d\d\d (\S+) (.*)$")


def classify(who, what):
    """The fault a simulator's log line shows, or None; 'other kind' is returned as such."""
    if "checksum" in what and what.startswith("ignored"):
        return "bad checksum"
    if re.search(r"not a [a-z-]+ command", what):
        return "other kind"
    if what.startswith("ignored") and " bytes: " in what:
        return "broken frame"
    if what.startswith("ignored text"):
        return "broken text"
    if what.startswith("ignored"):
        return "refused values"
    if "trailing bytes ignored" in what:
        return "broken frame"
    if "[link byte" in what:
        return "wrong link byte"
    if "[device bytes" in what:
        return "another device's bytes"
    return None


def check_logs(args):
    faults, other_on_serial, received = [], 0, 0
    for device in read_devices(args.devices):
        with open(device["log"], encoding="utf-8", errors="replace") as log:
            for number, line in enumerate(log, 1):
                m = LINE.match(line.rstrip("\n"))
                if not m:
                    continue
                who, what = m.groups()
                from_panel = who.startswith(PANEL + ":")
                on_serial = who == "serial"
                if not from_panel and not on_serial:
                    if re.match(r"^\d+\.\d+\.\d+\.\d+:\d+$", who):
                        faults.append(f"{device['name']} line {number}: from {who}, "
                                      f"not the panel: {what}")
                    continue
                if on_serial and not what.startswith("ignored") and "[" not in what:
                    received += 1
                    continue
                received += 1
                fault = classify(who, what)
                if fault is None:
                    continue
                if on_serial and (fault == "other kind" or "on serial, another device's" in what):
                    # The serial line goes to one device whatever page is shown.
                    other_on_serial += 1
                    continue
                faults.append(f"{device['name']} line {number} ({fault}): {who} {what}")
    print(f"monkey: the simulators logged {received} units from the panel; "
          f"{other_on_serial} on the serial line were for another kind (the page's device "
          f"differs from the serial line's)")
    for fault in faults[:40]:
        print("monkey: SIMULATOR LOG: " + fault, file=sys.stderr)
    return 1 if faults else 0


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    drive = sub.add_parser("drive")
    drive.add_argument("--seed", type=int, required=True)
    drive.add_argument("--minutes", type=float, required=True)
    drive.add_argument("--pages", required=True)
    drive.add_argument("--probe", required=True)
    drive.add_argument("--panel-pid", type=int, required=True)
    drive.add_argument("--devices", required=True)
    drive.add_argument("--port", required=True)
    drive.add_argument("--work", required=True)
    drive.add_argument("--artifacts", required=True)
    logs = sub.add_parser("check-logs")
    logs.add_argument("--devices", required=True)
    args = parser.parse_args()
    if args.command == "drive":
        return Monkey(args).run()
    return check_logs(args)


if __name__ == "__main__":
    sys.exit(main())
