; Timer 2 of the 8052: counting over straight code, auto-reload across overflows, polls on TF2, reloads and captures by T2EX edges, capture mode's own overflow, and its interrupt from TF2 and from EXF2.
; peer: chip=8052 steps=4000 align=effects
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	ljmp	start
	.org	0x002B
	nop
	ljmp	on_timer2

	.org	0x0040
start:
	mov	sp,#0x30
	mov	dptr,#0x0100
	; counts over straight code, across two- and four-cycle instructions (started and
	; stopped by one-cycle instructions, as for Timers 0 and 1)
	setb	tr2
	nop
	mov	b,#3
	mul	ab
	clr	tr2
	mov	a,tl2
	STORE
	mov	a,th2
	STORE
	; auto-reload across two overflows, without polls: FFFCh up, reloading FFF8h
	mov	rcap2h,#0xFF
	mov	rcap2l,#0xF8
	mov	th2,#0xFF
	mov	tl2,#0xFC
	setb	tr2
	nop
	nop
	nop
	nop
	nop
	nop
	mov	b,#1
	div	ab
	clr	tr2
	mov	a,tl2
	STORE
	mov	a,th2
	STORE
	mov	a,t2con
	STORE
	mov	t2con,#0

	; polling: three overflows, each caught by a poll of TF2
	mov	rcap2h,#0xFF
	mov	rcap2l,#0xC0
	mov	th2,#0xFF
	mov	tl2,#0xF0
	mov	r2,#3
	setb	tr2
1$:	jnb	tf2,1$
	clr	tf2
	djnz	r2,1$
	clr	tr2
	MARK	0x21

	; a falling edge on T2EX (P1.1) with EXEN2 reloads and raises EXF2; a rising one, or
	; one without EXEN2, does nothing (the cycle in which the edge acts is left out: the low
	; byte reloaded or captured then is masked off before it is read)
	mov	t2con,#0x08		; EXEN2, auto-reload
	mov	rcap2h,#0x40
	mov	rcap2l,#0x00
	mov	th2,#0x12
	mov	tl2,#0x00
	setb	tr2
	nop
	clr	p1.1
	nop
	nop
	setb	p1.1
	nop
	nop
	clr	tr2
	mov	a,th2
	STORE
	anl	tl2,#0xF0
	mov	a,tl2
	STORE
	mov	a,t2con
	STORE
	mov	t2con,#0x00		; no EXEN2
	mov	th2,#0x12
	mov	tl2,#0x00
	setb	tr2
	clr	p1.1
	nop
	nop
	setb	p1.1
	clr	tr2
	mov	a,th2
	STORE
	mov	a,t2con
	STORE

	; capture: the edge copies the count into RCAP2 and the timer runs on
	mov	t2con,#0x09		; EXEN2, capture
	mov	rcap2h,#0
	mov	rcap2l,#0
	mov	th2,#0x12
	mov	tl2,#0x80
	setb	tr2
	nop
	clr	p1.1
	nop
	nop
	setb	p1.1
	clr	tr2
	mov	a,rcap2h
	STORE
	anl	rcap2l,#0xF0
	mov	a,rcap2l
	STORE
	mov	a,th2
	STORE
	mov	a,tl2
	STORE
	mov	a,t2con
	STORE
	; capture mode's overflow wraps to 0 and raises TF2, without a reload
	mov	t2con,#0x01
	mov	rcap2h,#0x55
	mov	rcap2l,#0xAA
	mov	th2,#0xFF
	mov	tl2,#0xFE
	setb	tr2
	nop
	nop
	nop
	clr	tr2
	mov	a,tl2
	STORE
	mov	a,th2
	STORE
	mov	a,rcap2l
	STORE
	mov	a,t2con
	STORE

	; the interrupt, from TF2 (three overflows) and then from EXF2 alone; the routine
	; clears both flags, which entering it does not
	mov	t2con,#0
	mov	rcap2h,#0xFF
	mov	rcap2l,#0x00
	mov	th2,#0xFF
	mov	tl2,#0xF0
	mov	r6,#0
	mov	ie,#0xA0
	setb	tr2
2$:	cjne	r6,#3,2$
	clr	tr2
	mov	t2con,#0x08		; EXEN2
	setb	c			; the wait changes no register: it waits for the routine
	setb	tr2
	clr	p1.1
3$:	cjne	r6,#4,3$
	clr	tr2
	setb	p1.1
	mov	ie,#0
	mov	t2con,#0
	clr	a
	mov	psw,#0
halt::	sjmp	halt

on_timer2:
	push	acc
	push	psw
	mov	a,t2con
	anl	a,#0xC0			; TF2 and EXF2: why the routine runs
	STORE
	anl	t2con,#0x3F
	inc	r6
	pop	psw
	pop	acc
	reti
