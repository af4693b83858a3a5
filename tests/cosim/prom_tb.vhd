-- Testbench for a generated program ROM (entity prom). It reads the 32768 words that the
-- binary image holds, one four-digit hex word per line, then walks every word number on
-- addri: one clock edge with ena = '1' must bring that word to instr, and a second edge with
-- ena = '0' and a different addri must leave it there. Any word the ROM has no case for
-- must read as 0000, which the binary image holds beyond the program.
library IEEE;
use IEEE.STD_LOGIC_1164.all;
use IEEE.numeric_std.all;
use std.textio.all;

entity prom_tb is
    generic (words_file : string := "words.txt");
end;

architecture sim of prom_tb is
    constant WORDS : natural := 32768;
    constant PERIOD : time := 10 ns;
    constant SETUP : time := 3 ns;
    -- The ROM latches the address 1 ns after the edge and drives instr 1 ns after that.
    constant SETTLE : time := 4 ns;

    type word_array is array (0 to WORDS - 1) of std_logic_vector(15 downto 0);

    signal clk : std_logic := '0';
    signal ena : std_logic := '0';
    signal addri : std_logic_vector(15 downto 0) := (others => '0');
    signal instr : std_logic_vector(15 downto 0);
begin
    rom : entity work.prom port map (clk => clk, ena => ena, addri => addri, instr => instr);

    stimulus : process
        file source : text;
        variable status : file_open_status;
        variable text_line : line;
        variable value : std_logic_vector(15 downto 0);
        variable good : boolean;
        variable expected : word_array;
        variable loaded : natural := 0;
        variable compared : natural := 0;
        variable mismatches : natural := 0;

        -- One rising edge, then a look at instr once the ROM has settled; addri and ena
        -- were set SETUP before the edge.
        procedure clock_and_check(word_number : natural; phase : string) is
        begin
            wait for SETUP;
            clk <= '1';
            wait for SETTLE;
            if instr /= expected(word_number) then
                mismatches := mismatches + 1;
                if mismatches <= 10 then
                    report phase & " word " & integer'image(word_number)
                        & ": expected " & to_hstring(expected(word_number))
                        & ", got " & to_hstring(instr) severity error;
                end if;
            end if;
            clk <= '0';
            wait for PERIOD - SETUP - SETTLE;
        end procedure;
    begin
        file_open(status, source, words_file, read_mode);
        assert status = open_ok
            report "cannot open " & words_file severity failure;
        while not endfile(source) and loaded < WORDS loop
            readline(source, text_line);
            hread(text_line, value, good);
            assert good
                report words_file & ": bad word on line " & integer'image(loaded + 1)
                severity failure;
            expected(loaded) := value;
            loaded := loaded + 1;
        end loop;
        assert loaded = WORDS and endfile(source)
            report words_file & " does not hold exactly " & integer'image(WORDS) & " words"
            severity failure;
        file_close(source);

        for word_number in 0 to WORDS - 1 loop
            addri <= std_logic_vector(to_unsigned(word_number, 16));
            ena <= '1';
            clock_and_check(word_number, "read");
            -- With ena low the latch keeps the previous address whatever addri says.
            addri <= std_logic_vector(to_unsigned(WORDS - 1 - word_number, 16));
            ena <= '0';
            clock_and_check(word_number, "hold");
            compared := compared + 1;
        end loop;

        report "compared " & integer'image(compared) & " addresses, "
            & integer'image(mismatches) & " mismatches";
        assert mismatches = 0 report "ROM differs from the binary image" severity failure;
        wait;
    end process;
end;
