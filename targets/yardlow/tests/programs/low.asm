; A program placed where the debug kernel lives: the board debugger refuses to load it.
        .area   CODE (ABS)
        .org    0x0700
start:  sjmp    start
