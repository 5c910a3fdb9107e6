; The debug kernel for the AT89S53 (or AT89S8252) on the debug board with the PIC.
CHIP = 3
        .include "debug_kernel.inc"
