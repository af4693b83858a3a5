0	F006	imm  0x0060       
1	6124	addi sp,r2,0x4    
2	93FF	bne  0x0004       
3	0700	nop               
