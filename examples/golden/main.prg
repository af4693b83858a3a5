0	6400	addi r4,r0,0x0    
1	6500	addi r5,r0,0x0    
2	F007	imm  0x0070       
3	6206	addi r2,r0,0x6    
4	F007	imm  0x0070       
5	A304	lw   r3,0x4(r0)   
6	A620	lw   r6,0x0(r2)   
7	0000	nop               
8	7468	add  r4,r6        
9	750A	addc r5,r0        
10	6222	addi r2,r2,0x2    
11	5331	subi r3,r3,0x1    
12	93F9	bne  0x000C       
13	F004	imm  0x0040       
14	680E	addi r8,r0,0xE    
15	8F81	call r8           
16	F008	imm  0x0080       
17	6208	addi r2,r0,0x8    
18	F006	imm  0x0060       
19	6800	addi r8,r0,0x0    
20	8F81	call r8           
21	F008	imm  0x0080       
22	AA0A	lw   r10,0xA(r0)  
23	F008	imm  0x0080       
24	AB08	lw   r11,0x8(r0)  
25	F006	imm  0x0060       
26	620E	addi r2,r0,0xE    
27	6300	addi r3,r0,0x0    
28	E620	lu   r6,0x0(r2)   
29	0000	nop               
30	5060	subi r0,r6,0x0    
31	9203	beq  0x0046       
32	6221	addi r2,r2,0x1    
33	6331	addi r3,r3,0x1    
34	9FF9	ba   0x0038       
35	F007	imm  0x0070       
36	D303	sb   r3,0x3(r0)   
37	0001	wait              
38	9FFE	ba   0x004A       
39	6640	addi r6,r4,0x0    
40	6750	addi r7,r5,0x0    
41	7448	add  r4,r4        
42	755A	addc r5,r5        
43	7448	add  r4,r4        
44	755A	addc r5,r5        
45	7468	add  r4,r6        
46	757A	addc r5,r7        
47	8F02	ret               
48	A622	lw   r6,0x2(r2)   
49	A720	lw   r7,0x0(r2)   
50	7648	add  r6,r4        
51	775A	addc r7,r5        
52	B622	sw   r6,0x2(r2)   
53	B720	sw   r7,0x0(r2)   
54	8F02	ret               
55	7665	andn r6,r6        
56	7861	xor  r8,r6        
57	0000	nop               
58	0006	<reserved>        
59	03E8	<reserved>        
60	7FFF	<reserved>        
61	FFFF	imm  0xFFF0       
62	00FA	<reserved>        
63	8000	<reserved>        
64	000C	<reserved>        
65	004E	<reserved>        
66	0060	nop               
67	0000	nop               
68	0000	nop               
69	0000	nop               
