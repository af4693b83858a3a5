0	F002	imm  0x0020       
1	A202	lw   r2,0x2(r0)   
2	F003	imm  0x0030       
3	6304	addi r3,r0,0x4    
4	6404	addi r4,r0,0x4    
5	152C	srli r5,r2,0xC    
6	F002	imm  0x0020       
7	6604	addi r6,r0,0x4    
8	7658	add  r6,r5        
9	C760	lb   r7,0x0(r6)   
10	0000	nop               
11	D730	sb   r7,0x0(r3)   
12	3224	slli r2,r2,0x4    
13	6331	addi r3,r3,0x1    
14	5441	subi r4,r4,0x1    
15	93F5	bne  0x000A       
16	9FFF	ba   0x0020       
17	BEEF	sw   r14,0x1E(r14)
18	3031	slli r0,r3,0x1    
19	3233	slli r2,r3,0x3    
20	3435	slli r4,r3,0x5    
21	3637	slli r6,r3,0x7    
22	3839	slli r8,r3,0x9    
23	4142	<reserved>        
24	4344	<reserved>        
25	4546	<reserved>        
26	0000	nop               
27	0000	nop               
