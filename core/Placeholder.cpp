void parlone_logic_placeholder() {}
