library IEEE;
use IEEE.STD_LOGIC_1164.all;
use IEEE.STD_LOGIC_unsigned.all;

entity tiny is
	port(
		clk : in STD_LOGIC;
		ena : in STD_LOGIC;
		addri : in std_logic_vector(15 downto 0);
		instr : out std_logic_vector(15 downto 0)
	);
end;

architecture prom_beh of tiny is
signal address: std_logic_vector(15 downto 0);
begin

process (clk, addri)
begin
	if clk = '1' and clk'event then
		if ena = '1' then
			address <= (addri(14 downto 0) & '0') after 1 ns;
		end if;
	end if;
end process;

process (address)
begin
	case address is
		when x"0000"=> instr <= x"F006" after 1 ns;	---imm  0x0060       
		when x"0002"=> instr <= x"6124" after 1 ns;	---addi sp,r2,0x4    
		when x"0004"=> instr <= x"93FF" after 1 ns;	---bne  0x0004       
		when x"0006"=> instr <= x"0700" after 1 ns;	---nop               
		when others=> instr <= x"0000" after 1 ns;
	end case;
end process;

end;
