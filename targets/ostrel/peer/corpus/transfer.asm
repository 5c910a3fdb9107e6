; Data moves: MOV in every form, MOVC, MOVX with @DPTR and with @Ri under P2, PUSH, POP, XCH, XCHD.
; peer: chip=8052 steps=3500
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	ljmp	start

	.org	0x0030
start:
	mov	sp,#0xC0		; the stack in the upper 128 bytes
	mov	dptr,#0x0100
	mov	0x30,#0			; the value index
next_value:
	mov	a,0x30
	mov	dptr,#values
	movc	a,@a+dptr
	mov	0x31,a			; x
	cpl	a
	mov	b,a			; ~x
	; immediate and register forms, bank 0 and bank 2
	mov	a,#0x5A
	mov	r0,#0x80
	mov	r1,#0xFF
	mov	r2,#0x02
	mov	r3,#0x03
	mov	r4,#0x04
	mov	r5,#0x05
	mov	r6,#0x06
	mov	r7,#0x07
	mov	@r0,#0x11
	mov	@r1,#0x22
	mov	a,0x31
	mov	r2,a
	mov	r3,a
	mov	r4,a
	mov	r5,a
	mov	r6,a
	mov	r7,a
	mov	0x32,a
	mov	@r0,a
	mov	@r1,b
	mov	a,@r0
	add	a,@r1
	mov	0x33,a
	mov	a,r2
	add	a,r7
	mov	r0,a
	mov	a,r0
	mov	r1,a
	mov	a,r1
	mov	a,r3
	mov	a,r4
	mov	a,r5
	mov	a,r6
	mov	a,r7
	mov	r0,#0x80
	mov	r1,#0xFF
	mov	0x34,r0
	mov	0x35,r1
	mov	0x36,r2
	mov	0x37,r3
	mov	0x38,r4
	mov	0x39,r5
	mov	0x3A,r6
	mov	0x3B,r7
	mov	0x3C,@r0
	mov	0x3D,@r1
	mov	0x3E,0x31
	mov	0x3F,b
	mov	@r0,0x3F
	mov	@r1,0x31
	mov	r2,0x3E
	mov	r3,0x3D
	mov	r4,0x3C
	mov	r5,0x3B
	mov	r6,0x3A
	mov	r7,0x39
	mov	r0,0x35
	mov	r1,0x34
	mov	a,0x33
	mov	0x40,a
	mov	a,r0
	mov	a,@r1
	; the same in bank 2
	mov	a,#0x10
	mov	psw,#0x11
	mov	r0,0x31
	mov	r1,b
	mov	r2,#0x22
	mov	r7,0x30
	mov	a,r0
	xrl	a,r1
	mov	r6,a
	mov	psw,#0x00
	mov	a,0x16			; bank 2's R6 from outside
	STORE
	; exchanges
	mov	a,0x31
	mov	r2,#0xA5
	xch	a,r2
	xch	a,r3
	xch	a,r4
	xch	a,r5
	xch	a,r6
	xch	a,r7
	mov	r0,#0x90
	mov	r1,#0x91
	mov	@r0,#0x3C
	mov	@r1,#0xC3
	xch	a,@r0
	xch	a,@r1
	xch	a,0x32
	xch	a,r0
	xch	a,r1
	mov	r0,#0x90
	mov	r1,#0x91
	xchd	a,@r0
	xchd	a,@r1
	STORE
	mov	a,@r0
	STORE
	mov	a,@r1
	STORE
	; the stack
	push	acc
	push	b
	push	psw
	push	0x31
	push	dpl
	push	dph
	push	0x90
	pop	0x41
	pop	0x42
	pop	0x43
	pop	0x44
	pop	0x45
	pop	b
	pop	acc
	mov	a,0x41
	add	a,0x45
	STORE
	; external RAM through @Ri: P2 selects the page
	mov	p2,#0x02
	mov	r0,0x31
	mov	a,b
	movx	@r0,a
	mov	r1,#0x7F
	movx	@r1,a
	inc	p2
	movx	@r1,a
	dec	p2
	clr	a
	movx	a,@r0
	STORE
	movx	a,@r1
	STORE
	; program memory at A + PC and A + DPTR
	mov	a,0x30
	acall	square
	STORE
	mov	a,0x30
	mov	dptr,#values
	movc	a,@a+dptr
	mov	dptr,#0x0100
	mov	a,0x30
	add	a,dpl
	mov	dpl,a
	movx	a,@dptr
	mov	dptr,#0x0200
	mov	a,0x30
	mov	dpl,a
	mov	a,b
	movx	@dptr,a
	inc	0x30
	mov	a,0x30
	cjne	a,#16,1$
	sjmp	2$
1$:	ljmp	next_value
2$:
	; the stack pointer itself on the stack, and the stack at the top of RAM
	push	sp
	pop	0x46
	push	0x46
	pop	sp
	mov	r1,#0x47
	mov	a,sp
	mov	@r1,a
	mov	sp,#0xFC		; the top of RAM
	push	0x46
	push	0x47
	push	0x31
	pop	acc
	pop	b
	pop	0x48
	mov	sp,#0xC0
	; DPTR loads reach every byte of the external space
	mov	dptr,#0xFFFF
	mov	a,#0xEE
	movx	@dptr,a
	mov	dptr,#0x8000
	movx	@dptr,a
	movx	a,@dptr
	clr	a
	mov	psw,#0
	mov	dptr,#0
halt::	sjmp	halt

square:
	inc	a
	movc	a,@a+pc
	ret
	.db	0, 1, 4, 9, 16, 25, 36, 49, 64, 81, 100, 121, 144, 169, 196, 225

values:
	.db	0x00, 0x01, 0x09, 0x0F, 0x10, 0x3C, 0x55, 0x7F
	.db	0x80, 0x81, 0x99, 0x9A, 0xAA, 0xC3, 0xFE, 0xFF
