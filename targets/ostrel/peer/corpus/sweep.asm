; Every operand pair of ADD, ADDC, SUBB, MUL and DIV, and DA with every carry combination, folded into per-operand signatures in external RAM.
; peer: chip=8052 compare=end
	.area	CSEG (ABS,CODE)
	.org	0x0000

	; For each first operand x (R2): the sum of the results over every second operand y (R3)
	; in R5/R6 and a rotating XOR of the flags in R7, stored at `base` + 3x.
	.macro	SWEEP base,op,?each_x,?each_y
	mov	dptr,#base
	mov	r2,#0
each_x:
	mov	r3,#0
	mov	r5,#0
	mov	r6,#0
	mov	r7,#0
each_y:
	op
	mov	0x30,psw
	mov	0x31,b
	add	a,r5
	mov	r5,a
	clr	a
	addc	a,r6
	mov	r6,a
	mov	a,r7
	rl	a
	xrl	a,0x30
	xrl	a,0x31
	mov	r7,a
	djnz	r3,each_y
	mov	a,r5
	movx	@dptr,a
	inc	dptr
	mov	a,r6
	movx	@dptr,a
	inc	dptr
	mov	a,r7
	movx	@dptr,a
	inc	dptr
	djnz	r2,each_x
	.endm

	; the operations: A and the flags from x (R2) and y (R3)
	.macro	OP_ADD
	mov	a,r2
	add	a,r3
	.endm
	.macro	OP_ADDC0
	clr	c
	mov	a,r2
	addc	a,r3
	.endm
	.macro	OP_ADDC1
	setb	c
	mov	a,r2
	addc	a,r3
	.endm
	.macro	OP_SUBB0
	clr	c
	mov	a,r2
	subb	a,r3
	.endm
	.macro	OP_SUBB1
	setb	c
	mov	a,r2
	subb	a,r3
	.endm
	.macro	OP_MUL
	mov	a,r2
	mov	b,r3
	mul	ab
	.endm
	.macro	OP_DIV
	mov	a,r2
	mov	b,r3
	div	ab
	.endm

	ljmp	start

	.org	0x0030
start:
	mov	sp,#0x60
	mov	b,#0
	SWEEP	0x0000, OP_ADD
	SWEEP	0x0300, OP_ADDC0
	SWEEP	0x0600, OP_ADDC1
	SWEEP	0x0900, OP_SUBB0
	SWEEP	0x0C00, OP_SUBB1
	SWEEP	0x0F00, OP_MUL
	SWEEP	0x1200, OP_DIV
	; DA on every A with each combination of AC and CY
	mov	dptr,#0x1800
	mov	r2,#0
da_each:
	mov	r4,#0
da_flags:
	mov	a,r4
	rr	a
	rr	a			; 0x00, 0x40, 0x80, 0xC0
	mov	0x32,a
	mov	a,r2
	mov	psw,0x32
	da	a
	movx	@dptr,a
	inc	dptr
	mov	a,psw
	movx	@dptr,a
	inc	dptr
	inc	r4
	cjne	r4,#4,da_flags
	djnz	r2,da_each
	clr	a
	mov	psw,#0
halt::	sjmp	halt
