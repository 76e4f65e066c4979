#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/ (run from anywhere).

Each seed is a literal frame or text that the program or the simulator meets on the wire; the
fuzzers grow their own corpora from them in a scratch copy, so only these stay committed.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def frame(device_type, device_address, link, command, payload=b""):
    """A command frame: A5 6C, length, device bytes, link byte, nine zeros, command, payload,
    16-bit sum, AE."""
    n = 20 + len(payload)
    body = bytes([0xA5, 0x6C]) + struct.pack("<H", n)
    body += bytes([device_type, device_address, link]) + bytes(9) + bytes([command]) + payload
    return body + struct.pack("<H", sum(body) & 0xFFFF) + bytes([0xAE])


def discovery_request(link):
    return frame(0x81, 0xFF, link, 0xFF)


def discovery_reply(name, device_type=0xA1, link=1):
    # Byte 17 is not read; the model name starts at byte 18 and ends before a '-'-pair.
    return frame(device_type, 0x01, link, 0xFF, b"\x00" + name)


def status_reply(device_type=0xA1, link=1):
    """A 669-byte multiviewer status reply: sixteen windows, 1080i50, labels and meters on."""
    payload = bytearray(669 - 20)  # frame bytes 17 .. 665

    def put(offset, data):
        payload[offset - 17:offset - 17 + len(data)] = data

    put(18, bytes([16, 1, 1, 1, 3, 1]))  # layout, resolution, UMD, audio, source, reso enable
    for window in range(16):
        label = ("CAM %d" % (window + 1)).encode("utf-16-le")
        put(24 + 33 * window, bytes([len(label)]) + label)
    put(552, bytes(range(1, 17)))  # window sources
    put(600, bytes([1, 0]))  # border, lock
    put(602, bytes((window + c) % 16 for c in range(4) for window in range(16)))  # colours
    return frame(device_type, 0x01, link, 0x32, bytes(payload))


def quadview_status_reply(show_mode=0, pip_children=(1, 2), loop_state=0, output_format=10):
    """The 261-byte status reply of the simulated quad-view processor QV4 (type 60)."""
    payload = bytearray(261 - 20)  # frame bytes 17 .. 257

    def put(offset, data):
        payload[offset - 17:offset - 17 + len(data)] = data

    put(20, bytes([output_format]))
    put(22, bytes([show_mode]))
    put(30, b"QV4")  # zero-terminated text
    for line in range(4):
        label = b"CH %d" % (line + 1)
        put(47 + 40 * line + 7, bytes([len(label)]) + label)  # length at record byte 7
    put(255, bytes(pip_children) + bytes([loop_state]))
    return frame(0x60, 0x01, 1, 0x90, bytes(payload))


def quadview_signal_reply(statuses=(1, 1, 1, 1)):
    """The 29-byte signal reply: per channel its status, then an unused byte."""
    payload = bytearray(29 - 20)
    for channel, status in enumerate(statuses):
        payload[18 + 2 * channel - 17] = status
    return frame(0x60, 0x01, 1, 0xAA, bytes(payload))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    request_lan, request_serial = discovery_request(1), discovery_request(0)
    reply_abc = discovery_reply(b"ABC-1-")
    status = status_reply()

    write("reply_parser", "discovery-reply-abc", discovery_reply(b"ABC-1-", link=0))
    write("reply_parser", "discovery-request-serial", request_serial)
    write("reply_parser", "status-reply", status_reply(link=0))
    write("reply_parser", "status-reply-quadview", status_reply(device_type=0x60, link=0))
    write("reply_parser", "stray-a5-then-reply", b"\xA5" + discovery_reply(b"MX-1-", link=0))
    write("reply_parser", "partial-then-reply", request_serial[:10] + reply_abc)

    write("lan_discovery", "discovery-request-lan", request_lan)
    write("lan_discovery", "discovery-reply-abc", reply_abc)
    write("lan_discovery", "discovery-reply-ql2293", discovery_reply(b"QL2293 -1-"))
    write("lan_discovery", "discovery-reply-two-names", discovery_reply(b"AB-C-D-"))

    write("status_decoder", "status-reply", status)
    write("status_decoder", "status-reply-short", status[:300])

    quad_status = quadview_status_reply()
    write("quadview_status", "status-reply", quad_status)
    write("quadview_status", "status-reply-pip", quadview_status_reply(9, (1, 1), 1, 4))
    write("quadview_status", "status-reply-cut-before-mode", quad_status[:22])
    write("quadview_status", "status-reply-cut-before-children", quad_status[:255])
    write("quadview_status", "status-reply-cut-in-text", quad_status[:32])
    quad_signal = quadview_signal_reply()
    write("quadview_signal", "signal-reply", quad_signal)
    write("quadview_signal", "signal-reply-mixed", quadview_signal_reply((1, 0, 2, 1)))
    write("quadview_signal", "signal-reply-cut", quad_signal[:21])

    write("devsim_units", "discovery-request-lan", request_lan)
    write("devsim_units", "discovery-request-serial", request_serial)
    write("devsim_units", "status-query", frame(0xA1, 0x01, 1, 0x32))
    write("devsim_units", "layout-four", frame(0xA1, 0x01, 1, 0x33, b"\x04"))
    write("devsim_units", "matrix-all-to-three", b"3All.")
    write("devsim_units", "matrix-all-through", b"All#.")
    write("devsim_units", "matrix-one-to-two-three", b"1V2,3.")


if __name__ == "__main__":
    main()
