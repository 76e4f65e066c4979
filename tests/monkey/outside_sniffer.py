#!/usr/bin/env python3
"""Records every packet the panel's namespace sends that is not for the lab.

Run inside the panel's namespace by scripts/monkey: outside_sniffer.py OUTPUT. It watches every
interface (a packet socket for all protocols) and writes one line per outgoing packet whose
destination is neither the lab (192.0.2.0/24), the limited broadcast nor the loopback. The
output file exists, empty, once the socket is open. Ends on SIGTERM.
"""
import ipaddress
import signal
import socket
import struct
import sys

ETH_P_ALL = 0x0003
LAB = ipaddress.ip_network("192.0.2.0/24")
LOOPBACK = ipaddress.ip_network("127.0.0.0/8")
BROADCAST = ipaddress.ip_address("255.255.255.255")


def main():
    sniffer = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.htons(ETH_P_ALL))
    out = open(sys.argv[1], "w", encoding="utf-8")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    while True:
        data, (interface, _, packet_type, _, _) = sniffer.recvfrom(65536)
        if packet_type != socket.PACKET_OUTGOING or len(data) < 14:
            continue
        ethertype = struct.unpack("!H", data[12:14])[0]
        if ethertype == 0x0806:  # ARP, inside the lab's links
            continue
        if ethertype == 0x0800 and len(data) >= 34:
            source = ipaddress.ip_address(data[26:30])
            target = ipaddress.ip_address(data[30:34])
            if target in LAB or target in LOOPBACK or target == BROADCAST:
                continue
            out.write(f"{interface}: IPv4 protocol {data[23]} {source} -> {target}, "
                      f"{len(data)} bytes\n")
        else:
            out.write(f"{interface}: ethertype 0x{ethertype:04x}, {len(data)} bytes\n")
        out.flush()


if __name__ == "__main__":
    main()
