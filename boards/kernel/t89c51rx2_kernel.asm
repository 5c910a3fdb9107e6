; The debug kernel for the T89C51Rx2, on both arrangements of the debug board that carry it.
CHIP = 1
        .include "debug_kernel.inc"
