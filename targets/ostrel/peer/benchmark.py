#!/usr/bin/env python3
"""Measures how fast Ostrel simulates: the committed long run goes through Ostrel (in simhost)
and through s51 on this machine, and each is given in simulated machine cycles per second of
the host's processor, with the ratio of the two.

Not a test: the numbers depend on the machine and on the build (use an optimised build of
simhost and Ostrel). Timers and interrupts are simulated on both sides.
"""

import argparse
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAM = os.path.join(HERE, "benchmark", "long_run.asm")
CYCLE_COUNT = 0x30  # the program's Timer 0 overflows (2 bytes), then its TL0 and TH0


def build(work):
    shutil.copy(PROGRAM, work)
    subprocess.run(["sdas8051", "-plosgff", "long_run.asm"], cwd=work, check=True,
                   capture_output=True)
    subprocess.run(["sdld", "-m", "-i", "long_run.ihx", "long_run.rel"], cwd=work, check=True,
                   capture_output=True)
    with open(os.path.join(work, "long_run.map")) as f:
        halt = int(re.search(r"\b([0-9A-Fa-f]{8})\s+halt\b", f.read()).group(1), 16)
    return os.path.join(work, "long_run.ihx"), halt


def counted_cycles(counter):
    """The machine cycles the program counted with Timer 0."""
    overflows = counter[0] | counter[1] << 8
    return overflows * 65536 + (counter[2] | counter[3] << 8)


def timed(command, cwd, stdin_text=None):
    """Runs `command`; the processor seconds it took (user and system), and its output. Processor
    time rather than elapsed time, so that other work on the machine counts less."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    result = subprocess.run(command, cwd=cwd, input=stdin_text, capture_output=True, text=True,
                            check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    seconds = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return seconds, result.stdout


def run_ostrel(simhost, work, hex_path, halt):
    script = os.path.join(work, "bench.sim")
    with open(script, "w") as f:
        f.write("plugin Ostrel\ncreate 8052 ExtMem=Separate\noption timers 1\n"
                "option interrupts 1\nload %s\nreset\nbp add 0x%04X\nrun -1\nread 2 0x%X 6\n"
                % (hex_path, halt, CYCLE_COUNT))
    seconds, out = timed([simhost, script], work)
    if "status 0 OK pc=%04X" % halt not in out:
        raise RuntimeError("Ostrel did not reach the end of the program:\n" + out)
    line = re.search(r"^%04X: ((?:[0-9A-F]{2} ?){6})$" % CYCLE_COUNT, out, re.M).group(1)
    counter = [int(b, 16) for b in line.split()]
    return seconds, counted_cycles(counter[:4])


def run_s51(work, hex_path, halt):
    commands = "break 0x%04x\nrun\ndump iram 0x%x 0x%x 1\nquit\n" % (halt, CYCLE_COUNT,
                                                                     CYCLE_COUNT + 3)
    seconds, out = timed(["s51", "-b", "-t", "52", os.path.basename(hex_path)], work, commands)
    ticks = int(re.search(r"Simulated (\d+) ticks", out).group(1))
    counter = [int(m, 16) for m in re.findall(r"^0x3[0-3]\s+([0-9a-f]{2})", out, re.M)]
    return seconds, ticks // 12, counted_cycles(counter)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--simhost", required=True, help="simhost of an optimised build")
    parser.add_argument("--repeat", type=int, default=3, help="runs of each; the fastest counts")
    args = parser.parse_args()
    for tool in ("s51", "sdas8051", "sdld"):
        if shutil.which(tool) is None:
            print("%s is not installed" % tool)
            return 77
    work = tempfile.mkdtemp(prefix="ostrel-bench.")
    try:
        hex_path, halt = build(work)
        simhost = os.path.abspath(args.simhost)
        ostrel = min(run_ostrel(simhost, work, hex_path, halt) for _ in range(args.repeat))
        s51 = min(run_s51(work, hex_path, halt) for _ in range(args.repeat))
    finally:
        shutil.rmtree(work, ignore_errors=True)

    ostrel_rate = ostrel[1] / ostrel[0]
    s51_rate = s51[1] / s51[0]
    print("%-8s %14s %12s %18s" % ("", "machine cycles", "CPU seconds", "cycles per second"))
    print("%-8s %14d %12.3f %18.0f" % ("Ostrel", ostrel[1], ostrel[0], ostrel_rate))
    print("%-8s %14d %12.3f %18.0f" % ("s51", s51[1], s51[0], s51_rate))
    print("Ostrel is %.1f times as fast as s51 (the program counted %d machine cycles in "
          "Ostrel, %d in s51)" % (ostrel_rate / s51_rate, ostrel[1], s51[2]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
