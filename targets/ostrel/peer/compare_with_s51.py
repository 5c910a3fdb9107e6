#!/usr/bin/env python3
"""Runs each program of the 8051 corpus step by step in Ostrel (through simhost's trace) and in
s51, an independent simulator, and compares the two runs instruction by instruction.

Both traces are produced at run time: nothing expected is stored, so a change on either side
shows up as a difference.

Compared after every instruction: PC, A, B, PSW, SP, DPTR, R0 to R7 and the instruction's
machine cycles; at the end: the whole internal RAM, the external data RAM and the bytes the
program sent through the serial port.

A corpus program is an assembly source (sdas8051) or a C source (sdcc), linked at address 0.
Its first lines may hold one settings line, `; peer: KEY=VALUE ...` (or `// peer: ...` in C):
  chip=8051|8052   the simulated chip (default 8052: 256 bytes of internal RAM)
  steps=N          the most instructions the program may take to reach `halt` (default 20000)
  align=steps      compare every instruction in step (the default)
  align=effects    for programs with interrupts or flag polls: compare the instructions that
                   change a register, in order (see "interrupt latency" and "flag polls"); the
                   two simulators may take different numbers of instructions to reach `halt`
  compare=end      for long sweeps: run both to `halt` and compare only the registers and
                   memory there
  serial=on        simulate the serial port's timing in Ostrel too (for programs that wait
                   for TI after sending); the bytes sent are compared in every program
Every program ends at the global label `halt` (a function `halt` in C), an endless loop that
it reaches with interrupts off; the comparison covers the instructions up to its first arrival
there. A program with interrupts starts each vector with a NOP (see "interrupt latency") and
jumps to a vector only through an interrupt.
"""

import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile

# What Ostrel deliberately models differently from s51, and how the comparison leaves it out.
# Nothing else may differ.
EXCLUDED = [
    ("the 'cycles' register",
     "Ostrel counts cycle classes (MUL and DIV add 3, though they take four machine cycles) in "
     "16 bits; the register is not compared, the machine cycles of each instruction are"),
    ("opcode 0xA5",
     "Ostrel stops on it with SIM_UNKNOWN_OPCODE and the message 'opcode is not recognized...'; "
     "s51 runs it; no corpus program holds it (the engine's own tests cover it)"),
    ("start address and vector redirection",
     "Ostrel starts at the lowest loaded address and puts jumps at the vectors of a program "
     "linked above 0x31; the corpus is linked at 0, where both start the same way"),
    ("option words",
     "Ostrel simulates timers, interrupts and the serial port's timing only when the host sets "
     "their option words; the comparison sets the first two, as s51 always simulates them, and "
     "serial timing for the programs that wait for TI after sending (serial=on)"),
    ("accesses outside internal RAM",
     "Ostrel ends such an instruction with a fault status and message and leaves the chip as it "
     "was; s51 reports errors of its own (a stack that wraps past 0xFF among them); the corpus "
     "stays inside internal RAM (the engine's own tests cover the faults)"),
    ("interrupt latency",
     "Ostrel latches TCON at machine-cycle boundaries and lets a timer or external request "
     "raised late in a one-cycle instruction wait one more instruction, as the chip does, while "
     "TI and RI compete at once; s51 takes any request right after the instruction that raised "
     "it and runs the routine's first instruction (a NOP by the corpus's convention) in the same "
     "step. Interrupt programs are compared by their register changes in order, an entry by the "
     "state it leads to, not by the instruction it follows; they raise requests just before a "
     "self-loop that waits for the routine, or enable several at once with a two-cycle "
     "instruction"),
    ("requests of different priorities raised together",
     "s51 enters the low-priority one and, before its first instruction, the high-priority one "
     "on top of it; Ostrel enters only the high-priority one, the chip's rule; the corpus raises "
     "requests of different priorities one at a time (nesting is compared)"),
    ("level-triggered external requests",
     "in Ostrel IE0 and IE1 follow a level-triggered pin, cleared once it is sampled high again "
     "(a flag set by the program with the pin high goes too); s51 keeps the flag until the "
     "program clears it; the corpus's level-triggered routine clears the flag itself and sets "
     "the flags by program only in edge-triggered mode"),
    ("timer runs started or stopped by two-cycle instructions",
     "Ostrel latches TR at cycle boundaries, so a two-cycle start counts only its second cycle "
     "and a two-cycle stop its first; s51 lets the change take effect for the whole "
     "instruction; the corpus starts and stops timers with SETB and CLR"),
    ("the upper three bits of TL in 13-bit mode",
     "Ostrel lets TL count as a byte, s51 keeps the bits at 0; the chip leaves them undefined; "
     "the corpus masks them off before it reads TL"),
    ("the parity flag after a write of PSW",
     "Ostrel sets P from A after every instruction, as the chip does; s51 keeps the P bit that "
     "was written into PSW (MOV, POP, bit writes) until A changes. While s51's P disagrees "
     "with its A, PSW is compared without P, and Ostrel's P must be A's parity"),
    ("serial timing",
     "Ostrel times a mode-1 frame in Timer 1 overflows, 32 to a bit (16 with SMOD) from the bit "
     "boundary after the SBUF write, with TI four overflows (two with SMOD) before the stop bit, "
     "or in Timer 2 overflows, 16 to a bit; s51 takes 16 Timer 1 overflows to a bit with SMOD "
     "clear too and ends Timer 2's frames later; the corpus compares the bytes sent and what "
     "the program does once TI rises, not how long it waited for it. Input (RI) is not "
     "compared: Ostrel receives from the host at once, with no timing"),
    ("flag polls",
     "a JB, JNB or JBC in s51 sees a flag that its own machine cycles raise (TF2 overflowing "
     "in a JNB's second cycle ends the poll); in Ostrel, as on the chip, the instruction reads "
     "the flag before its cycles run, so a poll ends one pass later; programs with polls are "
     "compared by their register changes (align=effects) and read no running count right after "
     "a poll"),
    ("T2EX edges",
     "Ostrel acts on a falling edge of T2EX (P1.1) in the machine cycle after the one that "
     "sampled it (two after a two-cycle instruction), and only while TR2 is latched, and a "
     "reload takes that cycle's count with it; s51 acts in the cycle of the write; the corpus "
     "makes edges while Timer 2 runs and compares the flags and the high bytes of a reload and "
     "of a capture, masking the low bytes off before it reads them"),
    ("machine cycles of interrupt entries",
     "s51 adds the entry's cycles to the step that enters; the cycles of such a step are not "
     "compared"),
]

REGISTERS = ["PC", "ACC", "B", "PSW", "SP", "DPTR", "R0", "R1", "R2", "R3", "R4", "R5", "R6",
             "R7"]
VECTORS = {0x03, 0x0B, 0x13, 0x1B, 0x23, 0x2B}
NOP = 0x00
XRAM_SIZE = 0x10000
MARK_IRAM = 0x5A5A01
MARK_XRAM = 0x5A5A02


class CompareError(Exception):
    pass


def run(command, cwd, stdin_text=None, timeout=600):
    result = subprocess.run(command, cwd=cwd, input=stdin_text, capture_output=True, text=True,
                            timeout=timeout)
    return result.returncode, result.stdout, result.stderr


def read_settings(source):
    settings = {"chip": "8052", "steps": "20000", "align": "steps", "compare": "steps",
                "serial": "off"}
    with open(source) as f:
        for line in f.readlines()[:10]:
            m = re.match(r"\s*(?:;|//)\s*peer:(.*)$", line)
            if m:
                for word in m.group(1).split():
                    key, _, value = word.partition("=")
                    settings[key] = value
    if settings["chip"] not in ("8051", "8052"):
        raise CompareError("unknown chip " + settings["chip"])
    if settings["align"] not in ("steps", "effects"):
        raise CompareError("unknown alignment " + settings["align"])
    if settings["compare"] not in ("steps", "end"):
        raise CompareError("unknown comparison " + settings["compare"])
    if settings["serial"] not in ("on", "off"):
        raise CompareError("serial=on or serial=off, not " + settings["serial"])
    return settings


def build(source, work):
    """Assembles or compiles `source` in `work`; returns (hex path, halt address, code bytes)."""
    base = os.path.splitext(os.path.basename(source))[0]
    shutil.copy(source, work)
    folder = os.path.dirname(source)
    for name in os.listdir(folder):
        if name.endswith(".inc"):
            shutil.copy(os.path.join(folder, name), work)
    if source.endswith(".c"):
        rc, out, err = run(["sdcc", "-mmcs51", "--std-sdcc99", os.path.basename(source)], work)
    else:
        rc, out, err = run(["sdas8051", "-plosgff", os.path.basename(source)], work)
        if rc == 0:
            rc, out, err = run(["sdld", "-m", "-i", base + ".ihx", base + ".rel"], work)
    if rc != 0:
        raise CompareError("build failed:\n" + out + err)
    hex_path = os.path.join(work, base + ".ihx")
    with open(os.path.join(work, base + ".map")) as f:
        m = re.search(r"\b([0-9A-Fa-f]{8})\s+_?halt\b", f.read())
    if not m:
        raise CompareError("no symbol 'halt' in the map file")
    return hex_path, int(m.group(1), 16), read_hex(hex_path)


def read_hex(path):
    code = {}
    with open(path) as f:
        for line in f:
            line = line.strip()
            if not line.startswith(":"):
                continue
            data = bytes.fromhex(line[1:])
            count, address, kind = data[0], (data[1] << 8) | data[2], data[3]
            if kind == 0:
                for i in range(count):
                    code[address + i] = data[4 + i]
    return code


# --- Ostrel, through simhost ---

def ostrel_script(hex_path, chip, steps, halt, serial):
    """Traces `steps` instructions, or with `halt` runs to it and lists the registers."""
    lines = ["plugin Ostrel", "create %s ExtMem=Separate" % chip, "option timers 1",
             "option interrupts 1", "option serial %d" % (1 if serial else 0),
             "load %s" % hex_path, "reset"]
    if halt is None:
        lines.append("trace %d %s cycles" % (steps, " ".join(REGISTERS)))
    else:
        lines += ["bp add 0x%04X" % halt, "run -1", "regs"]
    lines += ["read 2 0 %d" % (128 if chip == "8051" else 256), "read 3 0 %d" % XRAM_SIZE]
    return "\n".join(lines) + "\n"


def unescape(text):
    """The bytes of a text that simhost printed with its escapes."""
    out, i = bytearray(), 0
    simple = {"r": 13, "n": 10, "t": 9, '"': 34, "\\": 92}
    while i < len(text):
        if text[i] == "\\" and text[i + 1] == "x":
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        elif text[i] == "\\":
            out.append(simple[text[i + 1]])
            i += 2
        else:
            out.append(ord(text[i]))
            i += 1
    return bytes(out)


def run_ostrel(simhost, work, hex_path, chip, steps=None, halt=None, serial=False):
    """The trace, the memory at the end and the bytes sent on channel 0."""
    script = os.path.join(work, "ostrel.sim")
    with open(script, "w") as f:
        f.write(ostrel_script(hex_path, chip, steps, halt, serial))
    rc, out, err = run([simhost, script], work)
    trace, memory, space, final, sent = [], {2: {}, 3: {}}, None, {}, bytearray()
    for line in out.splitlines():
        if line.startswith('serial 0: "') and line.endswith('"'):
            sent += unescape(line[len('serial 0: "'):-1])
            continue
        words = line.split()
        if len(words) == 3 and words[0] in REGISTERS and words[1] == "=":
            final[words[0]] = int(words[2], 16)
        elif line[4:8] == " PC=":
            words = line.split()
            trace.append((int(words[0], 16),
                          {k: int(v, 16) for k, _, v in (w.partition("=") for w in words[1:])}))
        elif line.startswith("> read "):
            space = int(line.split()[2])
        elif space is not None and ": " in line and line[0] in "0123456789ABCDEF":
            address, _, data = line.partition(": ")
            for i, byte in enumerate(data.split()):
                memory[space][int(address, 16) + i] = int(byte, 16)
        elif line.startswith("status ") and not line.startswith("status 0 "):
            raise CompareError("Ostrel: " + line)
        elif line.startswith("error:") or line.startswith("message 0: FATAL"):
            raise CompareError("Ostrel: " + line)
    if rc != 0:
        raise CompareError("simhost failed (%d):\n%s%s" % (rc, out[-2000:], err))
    if halt is not None:
        trace = [(None, final)]
    return trace, memory, bytes(sent)


# --- s51 ---

def run_s51(work, hex_path, chip, steps=None, halt=None):
    """Steps `steps` instructions, or with `halt` runs to it; the registers after each step
    (after the run), the memory at the end and the bytes sent."""
    commands = ["fill iram 0 0xff 0", "fill xram 0 0xffff 0"]
    if halt is None:
        commands += ["step"] * steps
    else:
        commands += ["break 0x%04x" % halt, "run"]
    # One byte a line: s51 starts a new line at every label it has found in the code.
    commands += ["expression %d" % MARK_IRAM, "dump iram 0 0xff 1",
                 "expression %d" % MARK_XRAM, "dump xram 0 0xffff 1", "quit"]
    cpu = "51" if chip == "8051" else "52"
    sent_path = os.path.join(work, "s51-serial.out")
    rc, out, err = run(["s51", "-b", "-t", cpu, "-S", "out=" + sent_path,
                        os.path.basename(hex_path)], work, "\n".join(commands) + "\n")
    if rc != 0:
        raise CompareError("s51 failed (%d): %s" % (rc, err))
    sent = b""
    if os.path.exists(sent_path):
        with open(sent_path, "rb") as f:
            sent = f.read()
    trace, state, memory, section = [], None, {2: {}, 3: {}}, None
    lines = out.splitlines()
    for i, line in enumerate(lines):
        if section is not None:
            if line.strip() == str(MARK_XRAM):
                section = 3
            elif line.startswith("0x"):
                words = line.split()
                memory[section][int(words[0], 16)] = int(words[1], 16)
            continue
        if line.startswith("Stop at "):
            m = re.match(r"^Stop at 0x([0-9a-f]+): \((?:109\) stepped (\d+) ticks|104\) Breakpo)",
                         line)
            if not m:
                raise CompareError("s51 stopped on its own: " + line)
            state = {"PC": int(m.group(1), 16), "ticks": int(m.group(2) or 0)}
            trace.append(state)
        elif line.startswith("Erroneous instruction"):
            raise CompareError("s51 stopped on its own: " + line)
        elif state is None:
            continue
        elif line.startswith("     R0 R1"):
            for n, value in enumerate(lines[i + 1].split()):
                state["R%d" % n] = int(value, 16)
        elif line.startswith("@R0 "):
            words = line.split()
            state["ACC"] = int(words[words.index("ACC=") + 1], 16)
            state["B"] = int(words[words.index("B=") + 1], 16)
        elif line.startswith("@R1 "):
            words = line.split()
            state["PSW"] = int(words[words.index("PSW=") + 1], 16)
        elif line.startswith("SP 0x"):
            state["SP"] = int(line.split()[1], 16)
        elif line.startswith("   DPTR= "):
            state["DPTR"] = int(line.split()[1], 16)
        elif line.strip() == str(MARK_IRAM):
            section, state = 2, None
    return trace, memory, sent


# --- comparison ---

def ostrel_steps(trace, code):
    """Ostrel's steps in s51's form: an interrupt entry is folded into the routine's first
    instruction, a NOP by convention, which s51 runs in the step that enters."""
    steps, previous_cycles = [], 0
    i = 0
    while i < len(trace):
        address, after = trace[i]
        cycles = machine_cycles(after["cycles"] - previous_cycles)
        entered = (after["PC"] in VECTORS and code.get(after["PC"]) == NOP and
                   i + 1 < len(trace) and trace[i + 1][0] == after["PC"])
        if entered:
            i += 1
            after = trace[i][1]
        steps.append(Step(address, after, cycles, entered))
        previous_cycles = after["cycles"]
        i += 1
    return steps


def machine_cycles(cycle_classes):
    classes = cycle_classes & 0xFFFF
    return 4 if classes == 3 else classes


def s51_steps(trace, code):
    steps, address, sp = [], 0, 0x07
    for state in trace:
        pc = state["PC"]
        entered = (pc - 1 in VECTORS and code.get(pc - 1) == NOP and
                   state["SP"] == (sp + 2) & 0xFF)
        steps.append(Step(address, state, state["ticks"] // 12, entered))
        address, sp = pc, state["SP"]
    return steps


class Step:
    def __init__(self, address, after, cycles, entered):
        self.address, self.after, self.cycles, self.entered = address, after, cycles, entered

    def describe(self):
        return "%04X " % self.address + " ".join(
            "%s=%0*X" % (r, 4 if r in ("PC", "DPTR") else 2, self.after[r]) for r in REGISTERS)


def effective(steps):
    """The steps that changed a compared register besides PC, and every interrupt entry."""
    kept, before = [], {r: 0 for r in REGISTERS}
    before["SP"] = 0x07
    for step in steps:
        if step.entered or any(step.after[r] != before[r] for r in REGISTERS if r != "PC"):
            kept.append(step)
        before = step.after
    return kept


def parity(value):
    return bin(value).count("1") & 1


def difference(ours, theirs, compare_address, compare_cycles):
    differing = [r for r in REGISTERS if r != "PSW" and ours.after.get(r) != theirs.after.get(r)]
    mine, peer = ours.after["PSW"], theirs.after["PSW"]
    if peer & 1 != parity(theirs.after["ACC"]):
        # s51 keeps a P bit written into PSW until A changes; Ostrel's is A's parity.
        mine, peer = mine & 0xFE, peer & 0xFE
        if ours.after["PSW"] & 1 != parity(ours.after["ACC"]):
            differing.append("P")
    if mine != peer:
        differing.append("PSW")
    if compare_address and ours.address != theirs.address:
        differing.insert(0, "address")
    if (compare_cycles and not ours.entered and not theirs.entered and
            ours.cycles != theirs.cycles):
        differing.append("machine cycles (%d against %d)" % (ours.cycles, theirs.cycles))
    return differing


def report(name, n, what, differing, ours, theirs, context):
    lines = ["  Ostrel " + s.describe() for s in context]
    return CompareError("%s: %s %d differs in %s\n%s\n  Ostrel %s\n  s51    %s" %
                        (name, what, n + 1, ", ".join(differing), "\n".join(lines),
                         ours.describe(), theirs.describe()))


def compare_in_step(name, ours, theirs):
    """Every instruction, one by one: address, registers after it and machine cycles."""
    for n, (a, b) in enumerate(zip(ours, theirs)):
        differing = difference(a, b, True, True)
        if differing:
            raise report(name, n, "instruction", differing, a, b, ours[max(0, n - 3):n])
    if len(ours) != len(theirs):
        raise CompareError("%s: %d instructions in Ostrel, %d in s51" %
                           (name, len(ours), len(theirs)))


def compare_effects(name, ours, theirs):
    """For programs whose interrupts are raised by their own instructions: the two simulators
    enter at different instructions, so the instructions that change a register are compared
    in order (interrupt entries by the state they lead to), and the machine cycles of each
    instruction address once."""
    mine, peer = effective(ours), effective(theirs)
    for n, (a, b) in enumerate(zip(mine, peer)):
        differing = difference(a, b, not a.entered and not b.entered, False)
        if differing:
            raise report(name, n, "register change", differing, a, b, mine[max(0, n - 3):n])
    if len(mine) != len(peer):
        raise CompareError("%s: %d register changes in Ostrel, %d in s51" %
                           (name, len(mine), len(peer)))
    cycles = {}
    for step in ours:
        if not step.entered:
            cycles.setdefault(step.address, step.cycles)
    for step in theirs:
        if not step.entered and cycles.get(step.address, step.cycles) != step.cycles:
            raise CompareError("%s: the instruction at %04X takes %d machine cycles in Ostrel, "
                               "%d in s51" % (name, step.address, cycles[step.address],
                                              step.cycles))
    if ours[-1].after["PC"] != theirs[-1].after["PC"]:
        raise CompareError("%s: ends at %04X in Ostrel, %04X in s51" %
                           (name, ours[-1].after["PC"], theirs[-1].after["PC"]))


def compare_memory(name, ours, theirs, ram_size):
    for space, size, label in ((2, ram_size, "internal RAM"), (3, XRAM_SIZE, "external RAM")):
        differing = [a for a in range(size)
                     if ours[space].get(a) != theirs[space].get(a)]
        if differing:
            shown = ", ".join("%04X: %s/%s" % (a, fmt(ours[space].get(a)),
                                                fmt(theirs[space].get(a)))
                              for a in differing[:12])
            raise CompareError("%s: %s differs at %d addresses (Ostrel/s51): %s" %
                               (name, label, len(differing), shown))


def fmt(value):
    return "--" if value is None else "%02X" % value


def compare_sent(name, ours, theirs):
    if ours != theirs:
        raise CompareError("%s: the bytes sent differ\n  Ostrel %r\n  s51    %r" %
                           (name, ours, theirs))


def until_halt(trace, halt):
    """s51's steps up to its first arrival at `halt`."""
    for n, state in enumerate(trace):
        if state["PC"] == halt:
            return trace[:n + 1]
    raise CompareError("s51 does not reach halt (0x%04X) within %d instructions" %
                       (halt, len(trace)))


def compare_program(source, simhost, work_root):
    name = os.path.basename(source)
    work = tempfile.mkdtemp(prefix=os.path.splitext(name)[0] + ".", dir=work_root)
    settings = read_settings(source)
    chip, limit = settings["chip"], int(settings["steps"])
    serial = settings["serial"] == "on"
    hex_path, halt, code = build(source, work)

    if settings["compare"] == "end":
        ostrel, ostrel_memory, ostrel_sent = run_ostrel(simhost, work, hex_path, chip,
                                                        halt=halt, serial=serial)
        s51, s51_memory, s51_sent = run_s51(work, hex_path, chip, halt=halt)
        if len(s51) != 1:
            raise CompareError("%s: s51 did not stop at halt" % name)
        ours, theirs = Step(halt, ostrel[0][1], None, False), Step(halt, s51[0], None, False)
        differing = difference(ours, theirs, False, False)
        if differing:
            raise report(name, 0, "end state", differing, ours, theirs, [])
        compare_memory(name, ostrel_memory, s51_memory, 128 if chip == "8051" else 256)
        compare_sent(name, ostrel_sent, s51_sent)
        shutil.rmtree(work, ignore_errors=True)
        return "%s: same at the end" % name, set()

    # Ostrel's trace tells how many instructions lead to `halt`; in step, s51 then runs exactly
    # as many, else as many as it needs itself. The loop at `halt` runs with interrupts off, so
    # the memory read after the whole trace is the memory at the arrival.
    ostrel, ostrel_memory, ostrel_sent = run_ostrel(simhost, work, hex_path, chip, limit,
                                                    serial=serial)
    arrival = next((n for n, (address, _) in enumerate(ostrel) if address == halt), None)
    if arrival is None:
        raise CompareError("%s: does not reach halt (0x%04X) within %d instructions" %
                           (name, halt, limit))
    ostrel = ostrel[:arrival]
    if settings["align"] == "effects":
        s51, s51_memory, s51_sent = run_s51(work, hex_path, chip, limit)
        s51 = until_halt(s51, halt)
        compare_effects(name, ostrel_steps(ostrel, code), s51_steps(s51, code))
    else:
        s51, s51_memory, s51_sent = run_s51(work, hex_path, chip, arrival)
        compare_in_step(name, ostrel_steps(ostrel, code), s51_steps(s51, code))
    compare_memory(name, ostrel_memory, s51_memory, 128 if chip == "8051" else 256)
    compare_sent(name, ostrel_sent, s51_sent)
    shutil.rmtree(work, ignore_errors=True)
    executed = {code.get(address, 0) for address, _ in ostrel}
    summary = "%s: %d instructions, same" % (name, arrival)
    if ostrel_sent:
        summary += ", %d bytes sent" % len(ostrel_sent)
    return summary, executed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--simhost", required=True, help="the simhost program")
    parser.add_argument("--work", help="folder for the builds and traces (default: temporary)")
    parser.add_argument("--list-excluded", action="store_true",
                        help="print what the comparison leaves out, and why")
    parser.add_argument("--every-opcode", action="store_true",
                        help="also fail when the programs leave an opcode unexecuted")
    parser.add_argument("programs", nargs="*", help="corpus sources (.asm, .c)")
    args = parser.parse_args()

    if args.list_excluded:
        for item, reason in EXCLUDED:
            print("%s: %s" % (item, reason))
        return 0
    for tool in ("s51", "sdas8051", "sdld", "sdcc"):
        if shutil.which(tool) is None:
            print("skipped: %s is not installed" % tool)
            return 77
    print("Left out of the comparison (--list-excluded tells why): " +
          "; ".join(item for item, _ in EXCLUDED))
    work_root = args.work or tempfile.mkdtemp(prefix="ostrel-peer.")
    os.makedirs(work_root, exist_ok=True)
    simhost = os.path.abspath(args.simhost)

    failures, executed = 0, set()
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        futures = {pool.submit(compare_program, os.path.abspath(p), simhost, work_root): p
                   for p in args.programs}
        for future in concurrent.futures.as_completed(futures):
            name = os.path.basename(futures[future])
            try:
                summary, opcodes = future.result()
                executed |= opcodes
                print(summary)
            except (CompareError, subprocess.TimeoutExpired) as e:
                failures += 1
                text = str(e)
                print("FAIL " + (text if text.startswith(name) else "%s: %s" % (name, text)))
    if args.every_opcode and failures == 0:
        missing = sorted(set(range(256)) - {0xA5} - executed)
        if missing:
            failures += 1
            print("FAIL no program executes the opcodes " +
                  " ".join("%02X" % op for op in missing))
    if not args.work:
        shutil.rmtree(work_root, ignore_errors=True)
    print("%d failures in %d programs" % (failures, len(args.programs)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
