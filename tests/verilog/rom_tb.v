// Reads every word number of a generated ROM module and compares the word it returns with the
// expected words: a file of 32768 lines, one word in hex per line, named by +words=FILE.
// The module under test is named by the macro ROM_MODULE (iverilog -DROM_MODULE=name); the
// bench knows only its ports.
//
// Each word number n takes two clock cycles. In the first, ena is high and addri carries n
// (with bit 15 set when n is odd, which the ROM must ignore); instr must still show the
// previous word until the edge and word n after it. In the second, ena is low and addri
// carries another word number; instr must keep word n.
`timescale 1ns / 1ns

module rom_tb;
    reg         clk = 1'b0;
    reg         ena = 1'b0;
    reg  [15:0] addri = 16'h0000;
    wire [15:0] instr;

    reg  [15:0] expected [0:32767];
    reg  [15:0] previous;
    reg  [8*1024:1] words_file;
    integer     n;
    integer     mismatches = 0;

    `ROM_MODULE rom (.clk(clk), .ena(ena), .addri(addri), .instr(instr));

    // One full clock cycle: the rising edge comes 5 ns after the inputs were set, and the
    // outputs are sampled 1 ns after it.
    task cycle;
        begin
            #5 clk = 1'b1;
            #1;
        end
    endtask

    task check(input integer word, input [15:0] want, input [8*20:1] when);
        begin
            if (instr !== want) begin
                mismatches = mismatches + 1;
                if (mismatches <= 20)
                    $display("word %0d, %0s: expected %h, got %h", word, when, want, instr);
            end
        end
    endtask

    initial begin
        if (!$value$plusargs("words=%s", words_file)) begin
            $display("FAIL: no +words=FILE given");
            $finish;
        end
        for (n = 0; n < 32768; n = n + 1)
            expected[n] = 16'hxxxx;
        $readmemh(words_file, expected);
        if (^expected[32767] === 1'bx) begin
            $display("FAIL: %0s does not hold 32768 words", words_file);
            $finish;
        end

        #1 check(-1, 16'h0000, "before any clock");
        previous = 16'h0000;
        for (n = 0; n < 32768; n = n + 1) begin
            #4 clk = 1'b0;
            ena = 1'b1;
            addri = n[15:0] | (n[0] ? 16'h8000 : 16'h0000);
            #1 check(n - 1, previous, "before the edge");
            cycle;
            check(n, expected[n], "read");

            #4 clk = 1'b0;
            ena = 1'b0;
            addri = ~addri;
            cycle;
            check(n, expected[n], "held, ena low");
            previous = expected[n];
        end
        $display("compared 32768 words, %0d mismatches", mismatches);
        $finish;
    end
endmodule
