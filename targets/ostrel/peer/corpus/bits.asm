; Bit instructions on the bit area of RAM, on registers' bits and on a port: carry logic, bit moves, CLR, SETB, CPL, JB, JNB, JBC, JC, JNC.
; peer: chip=8051 steps=5000
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	; every carry operation with one bit, results collected in R7 through the carry
	.macro	BITOPS bit
	mov	c,bit
	rlc	a
	anl	c,bit
	rlc	a
	setb	c
	anl	c,bit
	rlc	a
	anl	c,/bit
	rlc	a
	clr	c
	orl	c,bit
	rlc	a
	orl	c,/bit
	rlc	a
	cpl	c
	mov	bit,c
	cpl	bit
	jb	bit,.+5
	cpl	bit
	jnb	bit,.+5
	setb	bit
	jbc	bit,.+5
	clr	bit
	mov	c,bit
	rlc	a
	.endm

	ljmp	start

	.org	0x0030
start:
	mov	sp,#0x60
	mov	dptr,#0
	mov	r6,#0
next_pattern:
	mov	a,r6
	mov	dptr,#patterns
	movc	a,@a+dptr
	mov	dptr,#0
	mov	r0,#0x20
fill:	mov	@r0,a
	rl	a
	inc	r0
	cjne	r0,#0x30,fill
	mov	b,a
	BITOPS	0x00
	BITOPS	0x07
	BITOPS	0x19
	BITOPS	0x3E
	BITOPS	0x41
	BITOPS	0x7F
	BITOPS	B.0
	BITOPS	B.5
	BITOPS	F0
	BITOPS	0xD1			; PSW.1
	mov	r7,a
	STORE
	mov	r0,#0x20
dump:	mov	a,@r0
	STORE
	inc	r0
	cjne	r0,#0x30,dump
	mov	a,r7
	BITOPS	ACC.7
	BITOPS	ACC.0
	STORE
	; bits of a port are read from the latch by the changing instructions
	mov	p1,b
	BITOPS	P1.3
	mov	a,p1
	STORE
	cpl	P1.6
	clr	P1.0
	setb	P1.7
	mov	c,P1.1
	mov	P1.2,c
	jbc	P1.7,1$
1$:	mov	a,p1
	STORE
	; JC and JNC, taken and not
	clr	c
	jc	2$
	jnc	2$
	nop
2$:	setb	c
	jnc	3$
	jc	3$
	nop
3$:	cpl	c
	mov	a,psw
	anl	a,#0x80
	STORE
	inc	r6
	cjne	r6,#8,4$
	sjmp	5$
4$:	ljmp	next_pattern
5$:
	clr	a
	mov	psw,#0
halt::	sjmp	halt

patterns:
	.db	0x00, 0xFF, 0x01, 0x80, 0x55, 0xAA, 0x3C, 0xE7
