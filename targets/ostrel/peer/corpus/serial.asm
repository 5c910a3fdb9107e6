; Serial mode 1 transmission: what a program sends, polling TI and from its interrupt routine, at Timer 1's baud rate with and without SMOD and at Timer 2's.
; peer: chip=8052 steps=30000 align=effects serial=on
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	ljmp	start
	.org	0x0023
	nop
	ljmp	on_serial

	.org	0x0040
start:
	mov	sp,#0x30
	mov	tmod,#0x20		; Timer 1 reloads FFh: an overflow every machine cycle
	mov	th1,#0xFF
	mov	tl1,#0xFF
	setb	tr1
	mov	scon,#0x40		; mode 1, receiver off
	mov	dptr,#polled
	acall	send
	orl	pcon,#0x80		; SMOD: twice the rate
	mov	dptr,#doubled
	acall	send
	anl	pcon,#0x7F
	clr	tr1

	; Timer 2 as the baud-rate generator: an overflow every second machine cycle
	mov	rcap2h,#0xFF
	mov	rcap2l,#0xF4
	mov	th2,#0xFF
	mov	tl2,#0xF4
	mov	t2con,#0x34		; RCLK, TCLK, TR2
	mov	dptr,#timer2
	acall	send
	mov	t2con,#0

	; from the interrupt routine: each TI sends the next byte
	setb	tr1
	mov	dptr,#routine
	mov	r6,#0
	mov	ie,#0x90
	clr	a
	movc	a,@a+dptr
	mov	sbuf,a
1$:	cjne	r6,#0xFF,1$		; the routine sets R6 after the last byte
	mov	ie,#0
	clr	tr1
	clr	a
	mov	psw,#0
halt::	sjmp	halt

	; sends the zero-terminated text at DPTR, waiting on TI after each byte
send:
	clr	a
	movc	a,@a+dptr
	jz	2$
	mov	sbuf,a
1$:	jnb	ti,1$
	clr	ti
	inc	r2			; bytes sent
	inc	dptr
	sjmp	send
2$:	ret

on_serial:
	clr	ti
	push	acc
	inc	dptr
	clr	a
	movc	a,@a+dptr
	jz	1$
	mov	sbuf,a
	inc	r2
	sjmp	2$
1$:	mov	r6,#0xFF
2$:	pop	acc
	reti

polled:	.ascii	"Polled\r\n"
	.db	0
doubled:
	.ascii	"SMOD"
	.db	0
timer2:	.ascii	"Timer 2\r\n"
	.db	0
routine:
	.ascii	"ISR"
	.db	0x01, 0xFE, 0x22, 0x5C, 0x0A, 0
