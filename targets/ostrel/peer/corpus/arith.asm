; Arithmetic on a table of operand pairs: ADD, ADDC, SUBB in every addressing mode, DA, MUL, DIV, INC, DEC.
; peer: chip=8052 steps=45000
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	.macro	STOREPSW
	mov	a,psw
	STORE
	.endm
	; A = x, then the operation, then the result and PSW stored
	.macro	WITHX op
	mov	a,0x40
	op
	STORE
	STOREPSW
	.endm

	ljmp	start

	.org	0x0030
start:
	mov	sp,#0x60
	mov	dptr,#0x0000
	mov	r6,#0			; index of x
pair_x:
	mov	a,r6
	acall	value
	mov	0x40,a
	mov	r7,#0			; index of y
pair_y:
	mov	a,r7
	acall	value
	mov	0x41,a
	mov	r2,a
	mov	r0,#0x41
	mov	r1,#0x41
	clr	c
	WITHX	^/add a,r2/
	WITHX	^/add a,0x41/
	WITHX	^/add a,@r0/
	WITHX	^/add a,@r1/
	clr	c
	WITHX	^/addc a,r2/
	setb	c
	WITHX	^/addc a,0x41/
	setb	c
	WITHX	^/addc a,@r0/
	clr	c
	WITHX	^/addc a,@r1/
	clr	c
	WITHX	^/subb a,r2/
	setb	c
	WITHX	^/subb a,0x41/
	clr	c
	WITHX	^/subb a,@r0/
	setb	c
	WITHX	^/subb a,@r1/
	; decimal adjust after additions with and without carry in
	mov	a,0x40
	add	a,r2
	da	a
	STORE
	STOREPSW
	setb	c
	mov	a,0x40
	addc	a,r2
	da	a
	STORE
	STOREPSW
	; MUL and DIV, B = y
	mov	a,0x40
	mov	b,0x41
	mul	ab
	STORE
	mov	a,b
	STORE
	STOREPSW
	mov	a,0x40
	mov	b,0x41
	div	ab
	STORE
	mov	a,b
	STORE
	STOREPSW
	LOOP	r7,16,pair_y
	LOOP	r6,16,pair_x

	; immediates, and every working register as operand (bank 1 holds eight table values)
	mov	r7,#0
load_bank:
	mov	a,r7
	acall	value
	mov	b,a
	mov	a,r7
	add	a,#0x08
	mov	r1,a
	mov	@r1,b
	inc	r7
	cjne	r7,#8,load_bank
	mov	psw,#0x08
	mov	0x44,#0			; index of x
each_x:
	mov	a,0x44
	acall	value
	mov	0x40,a
	clr	c
	WITHX	^/add a,#0x01/
	WITHX	^/add a,#0x7F/
	WITHX	^/addc a,#0x80/
	WITHX	^/subb a,#0xFF/
	WITHX	^/subb a,#0x10/
	WITHX	^/add a,r0/
	WITHX	^/add a,r1/
	WITHX	^/add a,r2/
	WITHX	^/add a,r3/
	WITHX	^/add a,r4/
	WITHX	^/add a,r5/
	WITHX	^/add a,r6/
	WITHX	^/add a,r7/
	WITHX	^/addc a,r0/
	WITHX	^/addc a,r1/
	WITHX	^/addc a,r2/
	WITHX	^/addc a,r3/
	WITHX	^/addc a,r4/
	WITHX	^/addc a,r5/
	WITHX	^/addc a,r6/
	WITHX	^/addc a,r7/
	WITHX	^/subb a,r0/
	WITHX	^/subb a,r1/
	WITHX	^/subb a,r2/
	WITHX	^/subb a,r3/
	WITHX	^/subb a,r4/
	WITHX	^/subb a,r5/
	WITHX	^/subb a,r6/
	WITHX	^/subb a,r7/
	inc	0x44
	mov	a,0x44
	cjne	a,#16,1$
	sjmp	2$
1$:	ljmp	each_x
2$:

	; INC and DEC in every form, across 0x00, 0x7F, 0x80 and 0xFF
	mov	psw,#0x11		; bank 2 (P as A's parity)
	mov	r5,#0
steps:
	mov	a,r5
	acall	value
	mov	r0,a
	mov	r1,a
	mov	r2,a
	mov	r3,a
	mov	r4,a
	mov	r6,a
	mov	r7,a
	mov	0x42,a
	mov	0x43,a
	inc	r0
	inc	r1
	inc	r2
	inc	r3
	inc	r4
	inc	r6
	inc	r7
	dec	r0
	dec	r0
	dec	r1
	dec	r1
	dec	r2
	dec	r3
	dec	r4
	dec	r6
	dec	r7
	inc	a
	STORE
	dec	a
	dec	a
	STORE
	inc	0x42
	dec	0x43
	mov	r0,#0x42
	mov	r1,#0x43
	inc	@r0
	dec	@r1
	dec	@r0
	inc	@r1
	mov	a,0x42
	STORE
	mov	a,0x43
	STORE
	inc	r5
	dec	r5
	inc	r5
	cjne	r5,#16,steps
	inc	dptr
	mov	dptr,#0xFFFF
	inc	dptr			; DPTR wraps to 0
	clr	a
	mov	psw,#0
halt::	sjmp	halt

; the table of operands: A = the index, then A = value[index]
	VALUES
