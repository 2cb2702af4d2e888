#!/usr/bin/env python3
# A foreign HID device (vendor 1234, product 5678) on /dev/uhid with one vendor collection
# and an 8-byte feature report; it lives until standard input closes.
import os, struct, sys

DESCRIPTOR = bytes([0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
                    0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0])
UHID_CREATE2, UHID_DESTROY, BUS_USB = 11, 1, 3

fd = os.open("/dev/uhid", os.O_RDWR)
event = struct.pack("<I128s64s64sHHIIII4096s", UHID_CREATE2, b"Foreign HID", b"foreign/input0",
                    b"foreign", len(DESCRIPTOR), BUS_USB, 0x1234, 0x5678, 1, 0, DESCRIPTOR)
os.write(fd, event)
print("plugged", flush=True)
sys.stdin.read()
os.write(fd, struct.pack("<I", UHID_DESTROY) + bytes(4376 - 4))
