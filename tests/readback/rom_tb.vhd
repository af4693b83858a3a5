-- Prints what a VHDL design reads from the ROM (entity prom), one hex word a line: for every
-- word number, the word after a clock with ena high, then after one more with ena low and
-- another addri, which must hold it.
library ieee;
use ieee.std_logic_1164.all, ieee.numeric_std.all, std.textio.all;

entity rom_tb is end;

architecture sim of rom_tb is
    signal clk, ena : std_logic := '0';
    signal addri, instr : std_logic_vector(15 downto 0);
begin
    rom : entity work.prom port map (clk => clk, ena => ena, addri => addri, instr => instr);
    process
        variable text : line;
    begin
        for n in 0 to 65535 loop   -- word n / 2, then the hold
            ena <= '1' when n mod 2 = 0 else '0';
            addri <= std_logic_vector(to_unsigned((n / 2 + 16384 * (n mod 2)) mod 32768, 16));
            wait for 1 ns;
            clk <= '1';
            wait for 3 ns;   -- the ROM latches the address 1 ns after the edge, answers 1 ns later
            hwrite(text, instr); writeline(output, text);
            clk <= '0';
        end loop;
        wait;
    end process;
end;
