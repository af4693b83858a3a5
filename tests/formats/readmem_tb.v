// Loads a memory file into a ROM of DEPTH 16-bit words (32768 unless -DDEPTH=N) with
// $readmemh, as a Verilog design does, and compares every word with the binary image, which
// stores each word low byte first. Run with +mem=FILE +bin=FILE; prints the first mismatches
// and then one summary line.
`ifndef DEPTH
`define DEPTH 32768
`endif
module readmem_tb;
    reg [15:0] rom [0:`DEPTH - 1];
    reg [15:0] expected;
    reg [8*4096-1:0] mem_path, bin_path;
    integer image, i, low, high, mismatches;

    initial begin
        if (!$value$plusargs("mem=%s", mem_path) || !$value$plusargs("bin=%s", bin_path)) begin
            $display("FAIL: run with +mem=FILE +bin=FILE");
            $finish;
        end
        $readmemh(mem_path, rom);
        image = $fopen(bin_path, "rb");
        if (image == 0) begin
            $display("FAIL: cannot open the binary image");
            $finish;
        end
        mismatches = 0;
        for (i = 0; i < `DEPTH; i = i + 1) begin
            low = $fgetc(image);
            high = $fgetc(image);
            expected = {high[7:0], low[7:0]};
            // !== also catches a word that $readmemh left undefined (x)
            if (low < 0 || high < 0 || rom[i] !== expected) begin
                if (mismatches < 10)
                    $display("word %0d: memory file %h, binary image %h", i, rom[i], expected);
                mismatches = mismatches + 1;
            end
        end
        if (`DEPTH == 32768 && $fgetc(image) != -1) begin
            $display("FAIL: the binary image holds more than 65536 bytes");
            mismatches = mismatches + 1;
        end
        $fclose(image);
        $display("compared %0d words, %0d mismatches", `DEPTH, mismatches);
        $finish;
    end
endmodule
