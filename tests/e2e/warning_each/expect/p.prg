0	A230	lw   r2,0x0(r3)   
1	0000	nop               
2	F117	imm  0x1170       
3	6120	addi sp,r2,0x0    
4	2C01	srai r12,r0,0x1   
5	0300	nop               
6	2345	srai r3,r4,0x5    
7	9FFF	ba   0x000E       
8	0700	nop               
9	B124	sw   sp,0x4(r2)   
