#!/usr/bin/env python3
"""The monkey's reading of the simulators' logs: which lines are faults of the panel."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import monkey  # noqa: E402

# One line each as the simulator writes it, with what the monkey must make of it.
CASES = [
    ("192.0.2.1:7000", "layout 4 windows", None),
    ("192.0.2.1:7000", "search request -> answered as MV1", None),
    ("192.0.2.1:7000", "ignored 20 bytes: checksum 0x0301 does not match the bytes (0x0302)",
     "bad checksum"),
    ("192.0.2.1:7000", "ignored 12 bytes: incomplete frame: 12 of 20 bytes", "broken frame"),
    ("192.0.2.1:7000", "ignored 7 bytes: no frame start", "broken frame"),
    ("192.0.2.1:7000", "ignored 21-byte frame with command 0x40: not a multiviewer command",
     "other kind"),
    ("192.0.2.1:7000", 'ignored 5 bytes: matrix text "3All." is not a multiviewer command',
     "other kind"),
    ("192.0.2.1:7000", 'ignored text "9V1.": input 9 is not 1..8', "broken text"),
    ("192.0.2.1:7000", "ignored layout frame: code 5 is not a layout", "refused values"),
    ("192.0.2.1:7000", "status query -> sent 669 bytes (3 trailing bytes ignored)",
     "broken frame"),
    ("192.0.2.1:7000", "layout 4 windows [link byte 0 on UDP]", "wrong link byte"),
    ("192.0.2.1:7000", "layout 4 windows [device bytes 0xA5 0x01, not this device's]",
     "another device's bytes"),
]


class Classify(unittest.TestCase):
    def test_every_kind_of_line(self):
        for who, what, fault in CASES:
            with self.subTest(what=what):
                self.assertEqual(monkey.classify(who, what), fault)


class CheckLogs(unittest.TestCase):
    def run_check(self, lines):
        with tempfile.TemporaryDirectory() as folder:
            log = os.path.join(folder, "SW2.log")
            with open(log, "w") as out:
                out.write("".join(f"12:00:00.000 {line}\n" for line in lines))
            devices = os.path.join(folder, "devices.tsv")
            with open(devices, "w") as out:
                out.write("name\tkind\tnamespace\taddress\ttty\tlog\n")
                out.write(f"SW2\tswitcher\tmk-sw2\t192.0.2.12\t\t{log}\n")

            class Args:
                pass
            args = Args()
            args.devices = devices
            return monkey.check_logs(args)

    def test_a_clean_log_passes(self):
        self.assertEqual(self.run_check([
            "switcher SW2 (type 0xA5, address 0x01) on UDP 192.0.2.12:7000, broadcasts too",
            "192.0.2.1:7000 program source 3",
            "chaos the 669-byte reply goes 1200 ms late",
            "serial back: /dev/pts/4 (link /tmp/x/dev/ttyPNXMONKEY)",
        ]), 0)

    def test_the_serial_line_may_carry_another_kind_but_not_a_broken_frame(self):
        # The serial line reaches one device whatever page is shown.
        self.assertEqual(self.run_check([
            "serial ignored 21-byte frame with command 0x40: not a switcher command",
            "serial ignored KEY 1 colour frame: 1 payload bytes, expected 3 "
            "[device bytes 0xA1 0x01 on serial, another device's]",
        ]), 0)
        self.assertEqual(self.run_check([
            "serial ignored 20 bytes: checksum 0x0301 does not match the bytes (0x0302)",
        ]), 1)

    def test_a_fault_by_udp_or_a_stranger_fails(self):
        self.assertEqual(self.run_check([
            "192.0.2.1:7000 ignored 21-byte frame with command 0x40: not a switcher command",
        ]), 1)
        self.assertEqual(self.run_check(["192.0.2.77:7000 program source 3"]), 1)


if __name__ == "__main__":
    unittest.main()
