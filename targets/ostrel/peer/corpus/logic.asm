; Logic on a table of operand pairs: ANL, ORL, XRL in every form, CLR, CPL, the rotates and SWAP.
; peer: chip=8052 steps=25000
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	.macro	WITHX op
	mov	a,0x40
	op
	STORE
	.endm
	; op on the direct byte 0x42 (which starts as x), result stored
	.macro	ONDIRECT op
	mov	0x42,0x40
	op
	mov	a,0x42
	STORE
	.endm

	ljmp	start

	.org	0x0030
start:
	mov	sp,#0x60
	mov	dptr,#0x0000
	mov	r6,#0
pair_x:
	mov	a,r6
	acall	value
	mov	0x40,a
	mov	r7,#0
pair_y:
	mov	a,r7
	acall	value
	mov	0x41,a
	mov	r2,a
	mov	r0,#0x41
	mov	r1,#0x41
	WITHX	^/anl a,r2/
	WITHX	^/anl a,0x41/
	WITHX	^/anl a,@r0/
	WITHX	^/anl a,@r1/
	WITHX	^/orl a,r2/
	WITHX	^/orl a,0x41/
	WITHX	^/orl a,@r0/
	WITHX	^/orl a,@r1/
	WITHX	^/xrl a,r2/
	WITHX	^/xrl a,0x41/
	WITHX	^/xrl a,@r0/
	WITHX	^/xrl a,@r1/
	mov	a,0x41
	ONDIRECT ^/anl 0x42,a/
	mov	a,0x41
	ONDIRECT ^/orl 0x42,a/
	mov	a,0x41
	ONDIRECT ^/xrl 0x42,a/
	LOOP	r7,16,pair_y
	LOOP	r6,16,pair_x

	; immediates, the working registers of bank 3, and the single-operand instructions
	mov	r7,#0
load_bank:
	mov	a,r7
	acall	value
	mov	b,a
	mov	a,r7
	add	a,#0x18
	mov	r1,a
	mov	@r1,b
	inc	r7
	cjne	r7,#8,load_bank
	mov	a,#0x18
	mov	psw,#0x18		; bank 3, P as A's parity
	mov	0x44,#0
each_x:
	mov	a,0x44
	acall	value
	mov	0x40,a
	WITHX	^/anl a,#0x0F/
	WITHX	^/orl a,#0x81/
	WITHX	^/xrl a,#0xFF/
	ONDIRECT ^/anl 0x42,#0xF0/
	ONDIRECT ^/orl 0x42,#0x18/
	ONDIRECT ^/xrl 0x42,#0x5A/
	WITHX	^/anl a,r0/
	WITHX	^/anl a,r1/
	WITHX	^/anl a,r2/
	WITHX	^/anl a,r3/
	WITHX	^/anl a,r4/
	WITHX	^/anl a,r5/
	WITHX	^/anl a,r6/
	WITHX	^/anl a,r7/
	WITHX	^/orl a,r0/
	WITHX	^/orl a,r1/
	WITHX	^/orl a,r2/
	WITHX	^/orl a,r3/
	WITHX	^/orl a,r4/
	WITHX	^/orl a,r5/
	WITHX	^/orl a,r6/
	WITHX	^/orl a,r7/
	WITHX	^/xrl a,r0/
	WITHX	^/xrl a,r1/
	WITHX	^/xrl a,r2/
	WITHX	^/xrl a,r3/
	WITHX	^/xrl a,r4/
	WITHX	^/xrl a,r5/
	WITHX	^/xrl a,r6/
	WITHX	^/xrl a,r7/
	WITHX	^/clr a/
	WITHX	^/cpl a/
	WITHX	^/swap a/
	WITHX	^/rl a/
	WITHX	^/rr a/
	clr	c
	WITHX	^/rlc a/
	setb	c
	WITHX	^/rlc a/
	clr	c
	WITHX	^/rrc a/
	setb	c
	WITHX	^/rrc a/
	; carry out of the rotates
	mov	a,psw
	STORE
	inc	0x44
	mov	a,0x44
	cjne	a,#16,1$
	sjmp	2$
1$:	ljmp	each_x
2$:
	; a logic write to a port goes through its latch
	mov	p1,#0xA5
	anl	p1,#0x0F
	orl	p1,a
	xrl	p1,#0x3C
	mov	a,p1
	STORE
	clr	a
	mov	psw,#0
halt::	sjmp	halt

	VALUES
