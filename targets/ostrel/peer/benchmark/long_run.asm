; The benchmark's long run: nested loops over external RAM (fill, checksum, copy) under two timer interrupts, counting its own machine cycles with Timer 0.
	.area	CSEG (ABS,CODE)
	.org	0x0000
	ljmp	start
	.org	0x000B
	ljmp	on_timer0
	.org	0x001B
	ljmp	on_timer1

	.org	0x0040
start:
	mov	sp,#0x60
	mov	0x30,#0			; Timer 0 overflows, 16 bits
	mov	0x31,#0
	mov	0x32,#0			; Timer 1 routines, 16 bits
	mov	0x33,#0
	mov	tmod,#0x21		; Timer 0 16 bits, Timer 1 8 bits with reload
	mov	th1,#0x00		; every 256 machine cycles
	mov	tl1,#0x00
	mov	th0,#0
	mov	tl0,#0
	mov	ie,#0x8A
	setb	tr1
	setb	tr0

	mov	r7,#200		; passes
pass:
	; fill 4 KB with a pattern that depends on the pass
	mov	dptr,#0x1000
	mov	r6,#16
	mov	a,r7
fill_page:
	mov	r5,#0
fill:
	movx	@dptr,a
	inc	dptr
	add	a,#0x3B
	djnz	r5,fill
	djnz	r6,fill_page
	; sum the block, 16 bits in R3:R2, and fold in products
	mov	dptr,#0x1000
	mov	r6,#16
	mov	r2,#0
	mov	r3,#0
sum_page:
	mov	r5,#0
sum:
	movx	a,@dptr
	inc	dptr
	mov	b,a
	mul	ab
	xrl	a,b
	add	a,r2
	mov	r2,a
	clr	a
	addc	a,r3
	mov	r3,a
	djnz	r5,sum
	djnz	r6,sum_page
	; copy the block through internal RAM, 64 bytes at a time
	mov	dptr,#0x1000
	mov	r6,#64
copy_chunk:
	mov	r0,#0x80
	mov	r5,#64
copy_in:
	movx	a,@dptr
	mov	@r0,a
	inc	r0
	inc	dptr
	djnz	r5,copy_in
	mov	r0,#0x80
	mov	r5,#64
	mov	a,dph
	add	a,#0x40
	mov	dph,a
	mov	a,dpl
	clr	c
	subb	a,#64
	mov	dpl,a
	jnc	copy_out
	dec	dph
copy_out:
	mov	a,@r0
	movx	@dptr,a
	inc	r0
	inc	dptr
	djnz	r5,copy_out
	mov	a,dph
	clr	c
	subb	a,#0x40
	mov	dph,a
	djnz	r6,copy_chunk
	; keep the sums of the last 32 passes
	mov	a,r7
	anl	a,#0x1F
	rl	a
	add	a,#0x40
	mov	r1,a
	mov	@r1,0x02
	inc	r1
	mov	@r1,0x03
	djnz	r7,pass_again
	sjmp	finished
pass_again:
	ljmp	pass

finished:
	clr	tr0
	clr	tr1
	mov	ie,#0
	mov	0x34,tl0		; the machine cycles: overflows * 65536 + TH0:TL0
	mov	0x35,th0
halt::	sjmp	halt

on_timer0:
	inc	0x30
	push	psw
	mov	a,0x30
	jnz	1$
	inc	0x31
1$:	pop	psw
	reti

on_timer1:
	push	acc
	push	psw
	inc	0x32
	mov	a,0x32
	jnz	1$
	inc	0x33
1$:	pop	psw
	pop	acc
	reti
