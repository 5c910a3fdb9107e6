; Timers 0 and 1 in their four modes (Timer 1's third standing still), counting machine cycles, overflowing into interrupts and into flags that the program polls, with the gate on INT0.
; peer: chip=8052 steps=2500 align=effects
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	ljmp	start
	.org	0x000B
	nop
	ljmp	on_timer0
	.org	0x001B
	nop
	ljmp	on_timer1

	.org	0x0040
start:
	mov	sp,#0x30
	mov	dptr,#0x0100
	; counts over straight code, across two- and four-cycle instructions, in each mode (a
	; timer is started and stopped by one-cycle instructions: the two simulators let a
	; two-cycle start or stop take effect in different cycles)
	mov	tmod,#0x11		; both 16 bits
	setb	tr0
	nop
	nop
	clr	tr0
	mov	a,tl0			; 3
	STORE
	setb	tr0
	mov	b,#3
	mul	ab
	clr	tr0
	mov	a,tl0
	STORE
	mov	tl0,#0
	setb	tr0
	setb	tr1
	nop
	mov	dptr,#0x1234
	movx	a,@dptr
	clr	tr0
	clr	tr1
	mov	dptr,#0x0100
	mov	a,tl0
	STORE
	mov	a,tl1
	STORE
	mov	tmod,#0x22		; both 8 bits with reload, overflowing on the way
	mov	th0,#0xFE
	mov	tl0,#0xFC
	mov	th1,#0xFD
	mov	tl1,#0xFF
	setb	tr1
	setb	tr0
	nop
	nop
	div	ab
	nop
	clr	tr0
	clr	tr1
	mov	a,tl0
	STORE
	mov	a,tl1
	STORE
	mov	a,tcon
	STORE
	mov	tcon,#0
	mov	tmod,#0x00		; 13 bits: only the low five bits of TL count
	mov	th0,#0x00
	mov	tl0,#0x1C
	setb	tr0
	nop
	nop
	nop
	nop
	nop
	clr	tr0
	anl	tl0,#0x1F		; the upper three bits are the simulator's own
	mov	a,tl0
	STORE
	mov	a,th0
	STORE
	mov	tmod,#0x03		; split: TL0 with TR0, TH0 with TR1
	mov	tl0,#0xFE
	mov	th0,#0x10
	setb	tr0
	setb	tr1
	nop
	mov	b,#1
	clr	tr0
	nop
	clr	tr1
	mov	a,tl0
	STORE
	mov	a,th0
	STORE
	mov	a,tcon
	STORE
	mov	tcon,#0
	mov	tmod,#0x08		; gate: counting only while INT0 is high
	mov	tl0,#0
	mov	th0,#0
	setb	tr0
	nop
	clr	p3.2
	nop
	nop
	setb	p3.2
	nop
	clr	tr0
	mov	a,tl0
	STORE
	mov	tmod,#0
	mov	tl0,#0
	mov	th0,#0
	mov	tl1,#0
	mov	th1,#0

	; polling: each mode runs until its flag rises, the program idling on the flag
	mov	tmod,#0x00		; 13 bits
	mov	th0,#0xFF
	mov	tl0,#0x10
	setb	tr0
1$:	jnb	tf0,1$
	clr	tr0
	clr	tf0
	MARK	0x10
	mov	tmod,#0x01		; 16 bits
	mov	th0,#0xFF
	mov	tl0,#0x80
	setb	tr0
2$:	jnb	tf0,2$
	clr	tr0
	clr	tf0
	MARK	0x11
	mov	tmod,#0x02		; 8 bits with reload: three overflows
	mov	th0,#0xC0
	mov	tl0,#0xF0
	setb	tr0
	mov	r2,#3
3$:	jnb	tf0,3$
	clr	tf0
	djnz	r2,3$
	clr	tr0
	MARK	0x12
	mov	tmod,#0x03		; split: TL0 under TR0 sets TF0, TH0 under TR1 sets TF1
	mov	tl0,#0xF0
	mov	th0,#0x80
	setb	tr0
4$:	jnb	tf0,4$
	clr	tf0
	setb	tr1
5$:	jnb	tf1,5$
	clr	tr1
	clr	tr0
	clr	tf1
	MARK	0x13
	; Timer 1 in its three counting modes
	mov	tmod,#0x10
	mov	th1,#0xFF
	mov	tl1,#0x40
	setb	tr1
6$:	jnb	tf1,6$
	clr	tf1
	mov	tmod,#0x00
	mov	th1,#0xFF
	mov	tl1,#0x1A
7$:	jnb	tf1,7$
	clr	tf1
	mov	tmod,#0x20
	mov	th1,#0xF8
	mov	tl1,#0xF8
	mov	r2,#4
8$:	jnb	tf1,8$
	clr	tf1
	djnz	r2,8$
	clr	tr1
	MARK	0x14
	; Timer 1 in mode 3 stands: no count, no flag
	mov	tmod,#0x30
	mov	tl1,#0x12
	mov	th1,#0x34
	setb	tr1
	nop
	mov	b,#2
	clr	tr1
	mov	a,tl1
	STORE
	mov	a,th1
	STORE
	anl	tcon,#0xF0		; the timer flags (IE0 still follows the level left on INT0)
	mov	a,tcon
	STORE
	; the gate: Timer 0 runs only while INT0 is high
	mov	tmod,#0x09		; gate, 16 bits
	mov	th0,#0xFF
	mov	tl0,#0xC0
	clr	p3.2
	setb	tr0
	mov	r3,#40			; the timer stands while the pin is low
9$:	djnz	r3,9$
	jb	tf0,10$
	setb	p3.2
10$:	jnb	tf0,10$
	clr	tr0
	clr	tf0
	MARK	0x15

	; interrupts from overflows, while the program idles
	mov	tmod,#0x21		; Timer 0 16 bits, Timer 1 8 bits with reload
	mov	th0,#0xFE
	mov	tl0,#0x00
	mov	th1,#0x9C		; every 100 machine cycles
	mov	tl1,#0x9C
	mov	r6,#0			; Timer 0 routines
	mov	r7,#0			; Timer 1 routines
	mov	ie,#0x8A
	setb	tr0
11$:	cjne	r6,#4,11$
	clr	tr0
	setb	tr1
12$:	cjne	r7,#6,12$
	clr	tr1
	; Timer 1 at high priority interrupts the Timer 0 routine, which waits for it
	mov	ip,#0x08
	mov	r5,#1
	mov	th0,#0xFF
	mov	tl0,#0xF0
	mov	th1,#0xE0
	mov	tl1,#0xE0
	setb	tr0
13$:	cjne	r6,#5,13$
	clr	tr0
	clr	tr1
	mov	ie,#0
	clr	a
	mov	psw,#0
halt::	sjmp	halt

on_timer0:
	push	acc
	push	psw
	mov	th0,#0xFE
	mov	tl0,#0x00
	inc	r6
	mov	a,r6
	add	a,#0x30
	movx	@dptr,a
	inc	dptr
	cjne	r5,#1,1$
	clr	0x02
	setb	tr1			; and wait for a Timer 1 overflow inside this routine
2$:	jnb	0x02,2$
1$:	pop	psw
	pop	acc
	reti

on_timer1:
	push	acc
	push	psw
	inc	r7
	setb	0x02
	mov	a,r7
	add	a,#0x50
	movx	@dptr,a
	inc	dptr
	pop	psw
	pop	acc
	reti
