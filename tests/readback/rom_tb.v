// Prints what a Verilog design reads, one hex word a line: the DEPTH words (-DDEPTH=N) of the
// $readmemh file (+mem=FILE), the ROM's word before any clock, then for every STRIDE-th word
// number n (+stride=N) the word after a clock with ena high and addri n (bit 15 set for odd n,
// which the ROM ignores), and after one more with ena low and another addri, which holds it.
module rom_tb;
    reg clk = 0, ena = 0;
    reg [15:0] addri = 0, mem [0:`DEPTH - 1];
    reg [8*1024:1] file;
    wire [15:0] instr;
    integer n, stride;
    `ROM rom (.clk(clk), .ena(ena), .addri(addri), .instr(instr));
    initial if ($value$plusargs("mem=%s", file) && $value$plusargs("stride=%d", stride)) begin
        $readmemh(file, mem);
        for (n = 0; n < `DEPTH; n = n + 1) $display("%h", mem[n]);
        $display("%h", instr);
        for (n = 0; n < 32768; n = n + stride) begin
            {ena, addri} = {1'b1, n[0], n[14:0]};
            #1 clk = 1;
            #1 $display("%h", instr);
            {clk, ena, addri} = {2'b0, ~addri};
            #1 clk = 1;
            #1 $display("%h", instr);
            clk = 0;
        end
    end
endmodule
