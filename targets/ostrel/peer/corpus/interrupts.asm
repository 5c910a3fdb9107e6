; Interrupts raised by the program itself: every source, both trigger kinds of the external inputs, priorities, nesting, and the polling order among sources of one priority.
; peer: chip=8052 steps=1000 align=effects
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	; raise, then wait in a self-loop until the routine has run
	.macro	RAISE op,?wait
	clr	0x00
	op
wait:	jnb	0x00,wait
	.endm

	; Every vector starts with a NOP (see the comparison driver); each routine leaves its mark
	; in external RAM, and bit 0x00 tells the waiting program that a routine ran.
	ljmp	start
	.org	0x0003
	nop
	ljmp	on_ext0
	.org	0x000B
	nop
	ljmp	on_timer0
	.org	0x0013
	nop
	ljmp	on_ext1
	.org	0x001B
	nop
	ljmp	on_timer1
	.org	0x0023
	nop
	ljmp	on_serial

	.org	0x0040
start:
	mov	sp,#0x30
	mov	dptr,#0
	mov	ie,#0x9F		; EA and every 8051 source
	; each source alone, raised by software (the external inputs edge-triggered: a level-
	; triggered request follows its pin)
	setb	it0
	setb	it1
	RAISE	^/setb tf0/
	RAISE	^/setb tf1/
	RAISE	^/setb ie0/
	RAISE	^/setb ie1/
	RAISE	^/setb ti/
	RAISE	^/setb ri/
	; the external inputs from their pins: falling edges, then a low level
	RAISE	^/clr p3.2/
	setb	p3.2
	RAISE	^/clr p3.3/
	setb	p3.3
	clr	it0
	RAISE	^/clr p3.2/		; the routine lets the pin go high again
	setb	it0
	; several requests at once, one priority: polled as external 0, Timer 0, external 1,
	; Timer 1, serial
	clr	ea
	setb	ti
	setb	tf1
	setb	ie1
	setb	tf0
	setb	ie0
	mov	r6,#0
	mov	ie,#0x9F		; two cycles: the latched requests compete at once
all:	cjne	r6,#5,all
	; nesting: the low-priority serial routine raises Timer 1 (high) and waits for it
	mov	ip,#0x08
	mov	r5,#1
	RAISE	^/setb ti/
	mov	r5,#0
	; a routine of the same priority is not nested: Timer 0 (low) from the serial routine waits
	mov	ip,#0
	mov	r5,#2
	RAISE	^/setb ti/
	clr	ea
	clr	a
	mov	psw,#0
halt::	sjmp	halt

on_ext0:
	MARK	0xE0
	setb	p3.2			; a level-triggered request ends when the pin goes high...
	clr	ie0			; ...and with the flag cleared (s51 keeps it)
	sjmp	done
on_timer0:
	MARK	0x70
	sjmp	done
on_ext1:
	MARK	0xE1
	sjmp	done
on_timer1:
	MARK	0x71
	sjmp	done
on_serial:
	MARK	0x5E
	clr	ti
	clr	ri
	cjne	r5,#1,1$
	clr	0x01
	setb	tf1			; high priority: taken inside this routine
2$:	jnb	0x01,2$
1$:	cjne	r5,#2,done
	setb	tf0			; same priority: waits for the RETI
	sjmp	done
done:
	setb	0x00
	setb	0x01
	inc	r6
	reti
