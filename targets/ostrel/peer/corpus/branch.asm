; Program flow: AJMP and ACALL into all eight 256-byte pages of a 2 KB block and across a block edge, LJMP, LCALL, RET, RETI, SJMP, JMP @A+DPTR, JZ, JNZ, CJNE and DJNZ in every form.
; peer: chip=8051 steps=1000
	.area	CSEG (ABS,CODE)
	.org	0x0000
	.include	"common.inc"

	; a routine and a jump target in one 256-byte page of the block at 0x0800
	.macro	PAGE n
	.org	0x0880 + n * 0x100
call_n'n:
	inc	r7
	ret
jump_n'n:
	inc	r6
	ajmp	back_n'n
	.endm

	ljmp	start

	.org	0x0030
start:
	mov	sp,#0x50
	mov	dptr,#0
	lcall	pages
	mov	a,r7
	add	a,r6
	STORE
	; across the block edge: an AJMP at 0x07FE reaches into the next 2 KB block
	ljmp	edge
edge_back:
	; far calls, nested, and a RETI used as a return
	lcall	far_outer
	lcall	far_reti
	STORE
	; a jump table
	mov	r5,#0
table_loop:
	mov	a,r5
	rl	a
	mov	dptr,#jump_table
	jmp	@a+dptr
table_done:
	mov	dptr,#0x0010
	STORE
	inc	r5
	cjne	r5,#4,table_loop
	; relative jumps at the ends of their reach
	ljmp	reach

	.org	0x0200
compares:
	mov	r0,#0x60
	mov	r1,#0x61
	mov	0x60,#0x40
	mov	0x61,#0x41
	mov	0x62,#0x40
	mov	r4,#0
compare_loop:
	mov	a,r4
	add	a,#0x3E			; 0x3E to 0x43 around the values 0x40 and 0x41
	mov	r2,a
	mov	r3,a
	mov	r5,a
	mov	r6,a
	mov	r7,a
	mov	b,#0
	cjne	a,#0x40,1$
1$:	mov	b.0,c
	cjne	a,0x62,2$
2$:	mov	b.1,c
	cjne	@r0,#0x40,3$
3$:	mov	b.2,c
	xch	a,r4
	cjne	@r1,#0x41,4$
4$:	mov	b.3,c
	xch	a,r4
	cjne	r2,#0x40,5$
5$:	mov	b.4,c
	cjne	r3,#0x41,6$
6$:	mov	b.5,c
	cjne	r5,#0x42,7$
7$:	mov	b.6,c
	cjne	r6,#0x3F,8$
8$:	mov	b.7,c
	cjne	r7,#0x43,9$
9$:	mov	a,b
	STORE
	mov	a,r0
	mov	r0,#0x41
	cjne	r0,#0x41,10$
	mov	r1,#0x3F
	cjne	r1,#0x40,10$
10$:	mov	r0,a
	mov	r1,#0x61
	inc	r4
	cjne	r4,#6,compare_loop
	; decrement loops in every register and a direct byte
	mov	r0,#3
	mov	r1,#3
	mov	r2,#3
	mov	r3,#3
	mov	r4,#3
	mov	r5,#3
	mov	r6,#3
	mov	r7,#3
	mov	0x63,#3
d0:	djnz	r0,d0
d1:	djnz	r1,d1
d2:	djnz	r2,d2
d3:	djnz	r3,d3
d4:	djnz	r4,d4
d5:	djnz	r5,d5
d6:	djnz	r6,d6
d7:	djnz	r7,d7
dd:	djnz	0x63,dd
	mov	r7,#0			; 256 passes
	djnz	r7,.
	; JZ and JNZ, taken and not
	clr	a
	jnz	11$
	jz	11$
	nop
11$:	inc	a
	jz	12$
	jnz	12$
	nop
12$:	STORE
	ljmp	finish

	PAGE	0
	PAGE	1
	PAGE	2
	PAGE	3
	PAGE	4
	PAGE	5
	PAGE	6
	PAGE	7

	; ACALL and AJMP with each of the eight page numbers
	.org	0x0F00
pages:
	acall	call_n0
	acall	call_n1
	acall	call_n2
	acall	call_n3
	acall	call_n4
	acall	call_n5
	acall	call_n6
	acall	call_n7
	ajmp	jump_n0
back_n0:
	ajmp	jump_n1
back_n1:
	ajmp	jump_n2
back_n2:
	ajmp	jump_n3
back_n3:
	ajmp	jump_n4
back_n4:
	ajmp	jump_n5
back_n5:
	ajmp	jump_n6
back_n6:
	ajmp	jump_n7
back_n7:
	ret

	; SJMP 127 bytes forward, then 128 back
	.org	0x0400
reach:
	sjmp	reach_forward
	.db	0
reach_back:
	mov	a,#0x11
	STORE
	ljmp	compares
	.org	0x0481
reach_forward:
	sjmp	reach_back

	.org	0x0300
jump_table:
	ajmp	entry0
	ajmp	entry1
	ajmp	entry2
	ajmp	entry3
entry0:	mov	a,#0xE0
	sjmp	entry_end
entry1:	mov	a,#0xE1
	sjmp	entry_end
entry2:	mov	a,#0xE2
	sjmp	entry_end
entry3:	mov	a,#0xE3
entry_end:
	ljmp	table_done

	.org	0x07F0
edge:
	mov	a,#0x77
	sjmp	edge_jump
	.org	0x07FE
edge_jump:
	.db	0x21, 0x23		; AJMP 0x0923: the page of the next instruction, 0x0800
	.org	0x0923
beyond:
	STORE
	ljmp	edge_back

	.org	0x1000
far_outer:
	mov	a,#1
	lcall	far_inner
	add	a,#0x10
	ret
far_inner:
	add	a,#2
	acall	far_leaf
	ret
far_leaf:
	rl	a
	ret
far_reti:
	add	a,#0x20
	reti

	.org	0x1800
finish:
	clr	a
	mov	psw,#0
halt::	sjmp	halt
