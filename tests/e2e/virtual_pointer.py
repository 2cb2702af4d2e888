#!/usr/bin/python3
# A pointer for a seat without one: a virtual pointer (zwlr_virtual_pointer_v1) that stays while
# this runs, so that clients get a wl_pointer and sway's "seat seat0 cursor" commands reach them.
# Prints "ready" once the compositor has it.
import os, socket, struct, sys

sock = socket.socket(socket.AF_UNIX)
sock.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))

def send(obj, opcode, payload=b""):
    sock.sendall(struct.pack("=II", obj, (8 + len(payload)) << 16 | opcode) + payload)

def string(text):
    data = text.encode() + b"\0"
    return struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)

send(1, 1, struct.pack("=I", 2))  # wl_display.get_registry -> 2
send(1, 0, struct.pack("=I", 3))  # wl_display.sync -> 3
buffer, manager = b"", None
while True:
    buffer += sock.recv(4096)
    done = False
    while len(buffer) >= 8:
        obj, word = struct.unpack_from("=II", buffer)
        size = word >> 16
        if len(buffer) < size:
            break
        body, buffer = buffer[8:size], buffer[size:]
        if obj == 2 and word & 0xFFFF == 0:  # wl_registry.global
            name, length = struct.unpack_from("=II", body)
            interface = body[8:8 + length - 1].decode()
            if interface == "zwlr_virtual_pointer_manager_v1":
                manager = name
        done = done or obj == 3
    if done:
        break
if manager is None:
    sys.exit("the compositor offers no zwlr_virtual_pointer_manager_v1")
send(2, 0, struct.pack("=I", manager) + string("zwlr_virtual_pointer_manager_v1")
     + struct.pack("=II", 1, 4))  # bind -> 4
send(4, 0, struct.pack("=II", 0, 5))  # create_virtual_pointer(no seat) -> 5
print("ready", flush=True)
while sock.recv(4096):
    pass
