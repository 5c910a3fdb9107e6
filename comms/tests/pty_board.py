#!/usr/bin/env python3
"""Far end of a pseudo-terminal for the Windows serial tests under wine.

Creates a pseudo-terminal, makes it COM<n> of the wine prefix (a dosdevices link), runs the test
command with FWT_PTY_COM=<n> in its environment and answers on the terminal like a small board:
every byte comes back as it came, except ENQ (0x05), which is answered with "B<baud>\\n", the
rate the terminal is set to. Exits with the test's exit code.
"""
import argparse
import os
import pty
import select
import subprocess
import sys
import termios
import threading

ENQ = 0x05
RATES = {getattr(termios, "B%d" % r): r for r in (
    300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400)}


def serve(master, stop):
    while not stop.is_set():
        ready, _, _ = select.select([master], [], [], 0.05)
        if not ready:
            continue
        try:
            data = os.read(master, 4096)
        except OSError:
            continue  # no one has the terminal open at the moment
        reply = bytearray()
        for byte in data:
            if byte == ENQ:
                speed = termios.tcgetattr(master)[5]
                reply += b"B%d\n" % RATES.get(speed, 0)
            else:
                reply.append(byte)
        os.write(master, bytes(reply))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--com", type=int, required=True)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command

    master, slave = pty.openpty()
    # The far end reads raw bytes: no echo, no line editing, no CR/LF translation.
    attrs = termios.tcgetattr(master)
    attrs[0] = attrs[1] = attrs[3] = 0
    termios.tcsetattr(master, termios.TCSANOW, attrs)
    link = os.path.join(args.prefix, "dosdevices", "com%d" % args.com)
    os.makedirs(os.path.dirname(link), exist_ok=True)
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.ttyname(slave), link)

    stop = threading.Event()
    server = threading.Thread(target=serve, args=(master, stop), daemon=True)
    server.start()
    env = dict(os.environ, FWT_PTY_COM=str(args.com))
    try:
        code = subprocess.call(command, env=env)
    finally:
        stop.set()
        server.join()
        os.remove(link)
        os.close(slave)
        os.close(master)
    return code


if __name__ == "__main__":
    sys.exit(main())
